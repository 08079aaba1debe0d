#!/usr/bin/env python3
"""The install into the program's own folder, under a temporary HOME.

    install.py cases --source .        scripts/install-program on a stand-in program: the table below
    install.py journey --source . --build build --out build/e2e-out

A refused command must change no file; every desktop entry written must pass desktop-file-validate
and start the folder's program. The journey runs the README's commands with the real build; the
edited kind list and a month saved by the installed program come through every step byte for byte.
Exit status 0 on success, 1 on a failure, 77 when a needed tool is missing.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failed, expect, kzn, missing  # noqa: E402

ENTRY = "~/.local/share/applications/kozenica.desktop"
ICON = "~/.local/share/icons/hicolor/scalable/apps/kozenica.svg"
PROGRAM = b"#!/bin/sh\n# a stand-in that carries the month files' header: kozenic file\n"
MINE = {"~/Documents/manual.txt": b"notes\n", "~/Documents/kozenica": b"x\n"}
AT = lambda folder: {"KOZENICA_HOME": folder}  # noqa: E731
CASES = {
    "fresh install, then uninstall keeps the household's files": [
        ("install", {}, 0), ("entry", "~/Kozenica"),
        ("write", {"~/Kozenica/2030_1.kzn": b"m", "~/Kozenica/kozenic.int": b"s", "~/Kozenica/versions/1": b"v"}),
        ("uninstall", {}, 0), ("gone", ENTRY, ICON, "~/Kozenica/kozenica", "~/Kozenica/manual.txt",
                               "~/Kozenica/installed.sha256"),
        ("there", "~/Kozenica/kindlist.dat", "~/Kozenica/corresp.dat",
                   "~/Kozenica/2030_1.kzn", "~/Kozenica/versions/1")],
    "a folder holding a user's manual.txt and kozenica": [
        ("write", MINE), ("install", AT("~/Documents"), 1), ("uninstall", AT("~/Documents"), 1)],
    "uninstall naming a folder without an install": [
        ("install", AT("~/b"), 0), ("uninstall", AT("~/a"), 1), ("entry", "~/b"), ("there", ICON)],
    "a later install elsewhere owns the menu entry": [
        ("install", AT("~/b"), 0), ("install", AT("~/a"), 0), ("uninstall", AT("~/b"), 0), ("entry", "~/a"),
        ("there", ICON), ("gone", "~/b/kozenica"), ("uninstall", AT("~/a"), 0), ("gone", ENTRY, ICON)],
    "a manual changed after the install": [
        ("install", {}, 0), ("write", {"~/Kozenica/manual.txt": b"my notes"}), ("install", {}, 1),
        ("uninstall", {}, 0), ("same", {"~/Kozenica/manual.txt": b"my notes"}),
        ("gone", "~/Kozenica/kozenica", ENTRY), ("there", "~/Kozenica/installed.sha256")],
    "a folder installed before the list was kept": [
        ("write", {"~/Kozenica/kozenica": PROGRAM + b"old", "~/Kozenica/manual.txt": b"old"}), ("uninstall", {}, 1),
        ("install", {}, 0),
        ("entry", "~/Kozenica"), ("uninstall", {}, 0), ("gone", "~/Kozenica/kozenica", "~/Kozenica/manual.txt")],
    "% in the folder's name": [
        ("install", AT("~/100%家計簿"), 0), ("entry", "~/100%家計簿"), ("install", AT("~/%f"), 0), ("entry", "~/%f")],
    "quotes, $, `, \\ and spaces in the folder's name": [
        ("install", AT('~/a "b" $c `d` \\e \'f\''), 0), ("entry", '~/a "b" $c `d` \\e \'f\''),
        ("uninstall", AT('~/a "b" $c `d` \\e \'f\''), 0), ("gone", ENTRY)],
    "HOME unset": [("install", {"HOME": None}, 1), ("uninstall", {"HOME": None}, 1)],
    "HOME empty": [("install", {"HOME": ""}, 1), ("gone", "/Kozenica")],
    "a folder beginning with -": [("install", AT("-k"), 1), ("install", AT("--help"), 1), ("uninstall", AT("-k"), 1)],
}


def exec_path(entry):
    """The program an entry starts: its Exec value unescaped as a string, then as one quoted argument."""
    expect(os.path.exists(entry), "no desktop entry")
    with open(entry, encoding="utf-8") as f:
        value = re.search(r"^Exec=(.*)$", f.read(), re.M).group(1)
    value = re.sub(r"\\(.)", lambda m: {"s": " ", "n": "\n", "t": "\t", "r": "\r"}.get(m[1], m[1]), value)
    expect(value[0] == value[-1] == '"' and "%" not in value.replace("%%", ""), f"Exec={value}")
    return re.sub(r'\\(["`$\\])', r"\1", value[1:-1]).replace("%%", "%")


def snapshot(root):
    files = {}
    for folder, _, names in os.walk(root):
        for n in names:
            with open(os.path.join(folder, n), "rb") as f:
                files[os.path.join(folder, n)] = f.read()
    return files


def run_case(source, steps):
    tmp = tempfile.mkdtemp(prefix="kozenica-install-case-")
    try:
        home, build = os.path.join(tmp, "home"), os.path.join(tmp, "build")
        os.makedirs(home)
        os.makedirs(build)
        with open(os.path.join(build, "kozenica"), "wb") as f:
            f.write(PROGRAM)
        os.chmod(os.path.join(build, "kozenica"), 0o755)
        at = lambda p: home + p[1:] if p.startswith("~") else p  # noqa: E731
        for action, *args in steps:
            if action in ("install", "uninstall"):
                env = {"PATH": os.environ["PATH"], "HOME": home}
                env.update({k: at(v) for k, v in args[0].items() if v is not None})
                env.pop("HOME") if args[0].get("HOME", "") is None else None
                before = snapshot(tmp)
                r = subprocess.run(["bash", os.path.join(source, "scripts", "install-program"),
                                    build if action == "install" else "--uninstall"],
                                   env=env, cwd=tmp, capture_output=True, text=True)
                said = (r.stdout + r.stderr).strip()
                expect((r.returncode != 0) == bool(args[1]), f"{action} {args[0]} exited {r.returncode}: {said}")
                expect(not args[1] or snapshot(tmp) == before, f"refused {action} {args[0]} changed files: {said}")
                expect(not args[1] or re.search("^install-program: ", said, re.M), f"refused {action} unclearly: {said}")
                if action == "install" and not args[1]:
                    check = subprocess.run(["desktop-file-validate", at(ENTRY)], capture_output=True, text=True,
                                           errors="replace")
                    expect(check.returncode == 0 and not check.stdout.strip(), f"desktop-file-validate: {check.stdout}")
            elif action == "write":
                for p, data in args[0].items():
                    os.makedirs(os.path.dirname(at(p)), exist_ok=True)
                    with open(at(p), "wb") as f:
                        f.write(data)
            elif action == "entry":
                want = os.path.join(at(args[0]), "kozenica")
                expect(exec_path(at(ENTRY)) == want, f"the entry starts {exec_path(at(ENTRY))!r}, not {want!r}")
            elif action == "same":
                for p, data in args[0].items():
                    with open(at(p), "rb") as f:
                        expect(f.read() == data, f"{p} changed")
            else:
                for p in args:
                    expect(os.path.lexists(at(p)) == (action == "there"), f"{p}: {action} expected")
    finally:
        shutil.rmtree(tmp)


def cases(source):
    failed = 0
    for name, steps in CASES.items():
        try:
            run_case(source, steps)
            print(f"ok    {name}")
        except Failed as e:
            failed += 1
            print(f"FAIL  {name}: {e}")
    return 1 if failed else 0


def journey(source, build, out):
    from journeys import CARRIED, J, Journey  # noqa: E402
    tmp = tempfile.mkdtemp(prefix="kozenica-install-")
    home = os.path.join(tmp, "home")
    folder, other = os.path.join(home, "Kozenica"), os.path.join(tmp, "山田", "家計簿 2030")
    env = {k: v for k, v in os.environ.items() if not re.match(r"KOZENICA_HOME|XDG_DATA|MAKE|MFLAGS|DISPLAY|WAY", k)}
    env["HOME"] = home
    os.makedirs(home)
    read = lambda p: open(p, "rb").read()  # noqa: E731

    def make(*args, fails=False, **extra):
        r = subprocess.run(["make", "-C", source, "--no-print-directory", *args], env=dict(env, **extra),
                           capture_output=True, text=True)
        print(f"make {' '.join(args)}: exit {r.returncode}")
        expect((r.returncode != 0) == fails, f"make {' '.join(args)} exited {r.returncode}: {r.stdout}{r.stderr}")
        return r.stdout

    def installed(at):
        expect(read(f"{at}/kozenica") == read(f"{build}/kozenica"), "the installed program is not the built one")
        expect(read(f"{at}/manual.txt") == read(f"{source}/data/manual.txt"), "manual.txt is not the shipped one")
        expect(exec_path(home + ENTRY[1:]) == f"{at}/kozenica", "the desktop entry starts another program")

    kinds = "0\n繰越・その他\n1\n食費\n30\nペット\n".encode()  # as a user's text editor saves it
    try:
        expect(f"starting {folder}/kozenica\n" in make("run", f"BUILD={build}"), "make run started nothing")
        installed(folder)
        with open(f"{folder}/kindlist.dat", "wb") as f:
            f.write(kinds)
        month = kzn(CARRIED, (1, "ペット店", "猫の餌", 30, 0, 1500, ""))
        j = Journey("installed", J([("start",), ("keys", "Return*7 ctrl+a"), ("cells", "ペット店", "猫の餌", 30, "", 1500),
                                    ("save_as", 2030, 1, "kzn"), ("file", "2030_1.kzn", month), ("exit",)]),
                    None, None, out, folder=folder)
        try:
            j.run()
        finally:
            j.close()
            shutil.rmtree(j.root, ignore_errors=True)
        kept = {n: read(f"{folder}/{n}") for n in ("kindlist.dat", "corresp.dat", "2030_1.kzn", "kozenic.int")}
        expect(kept["kindlist.dat"] == kinds and len(kept["kozenic.int"]) == 88, "the lists or settings changed")
        unchanged = lambda when: expect({n: read(f"{folder}/{n}") for n in kept} == kept, f"changed {when}")  # noqa
        make("install", f"BUILD={build}")
        unchanged("by installing again")
        installed(folder)
        builds = [f"{tmp}/builds/{b}" for b in ("build", "build-asan", "build-fuzz")]
        for b in builds:
            os.makedirs(b)
        with open(f"{builds[0]}/2024_5.kzn", "wb") as f:  # a month an earlier version saved in its build folder
            f.write(month)
        names = (f"BUILD={builds[0]}", f"ASAN_BUILD={builds[1]}", f"FUZZ_BUILD={builds[2]}")
        make("clean", *names, fails=True)
        expect(read(f"{builds[0]}/2024_5.kzn") == month and not os.path.exists(builds[1]), "make clean")
        os.remove(f"{builds[0]}/2024_5.kzn")
        make("clean", *names)
        expect(not os.path.exists(builds[0]), "make clean left a build folder")
        make("uninstall")
        expect(not any(os.path.exists(p) for p in (f"{folder}/kozenica", f"{folder}/manual.txt", home + ENTRY[1:])),
               "make uninstall left the program")
        unchanged("by make uninstall")
        make("install", f"BUILD={build}", KOZENICA_HOME=other)
        installed(other)
        make("uninstall", KOZENICA_HOME=other)
        expect(sorted(os.listdir(other)) == ["corresp.dat", "kindlist.dat"], f"left {os.listdir(other)}")
        shutil.rmtree(tmp)
        return 0
    except Failed as e:
        print(f"e2e install_and_keep_data: {e}; temporary home {home} kept")
        return 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("what", choices=("cases", "journey"))
    for arg in ("--source", "--build", "--out"):
        parser.add_argument(arg)
    args = parser.parse_args()
    lack = [t for t in ("desktop-file-validate", "sha256sum", "make", "xvfb-run") if not shutil.which(t)]
    lack += missing() if args.what == "journey" else []
    if lack:
        print(f"install: missing {' '.join(lack)} (scripts/install-deps installs them)")
        return 77
    source = os.path.abspath(args.source)
    if args.what == "cases":
        return cases(source)
    return journey(source, os.path.abspath(args.build), os.path.abspath(args.out))


if __name__ == "__main__":
    sys.exit(main())
