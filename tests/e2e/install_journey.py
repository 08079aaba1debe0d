#!/usr/bin/env python3
"""The program in its own folder, with the README's commands, under a
temporary HOME: make run (install, start); edit the kind list; save a month with the installed
program; touch a source file and install again; make clean; make uninstall.
The edited list, the month and the settings must come through every step
byte for byte. Then the same install into a folder named by KOZENICA_HOME.

    install_journey.py --source . --build build --out build/e2e-out

The build folder must hold a built program: every make call names it as
BUILD, so nothing is built twice, and make clean gets throwaway build folders
of its own. Exit status 0 on success, 1 on a failed step, 77 when a needed
tool is missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Journey, JourneyFailed, kzn_file, kzn_lines  # noqa: E402
from journeys import CARRIED, close_program, menu, wait_for_file, year_month_dialog  # noqa: E402

NAME = "install_and_keep_data"
TOOLS = ("make", "Xvfb", "xvfb-run", "xdotool", "import", "xwininfo", "xprop", "desktop-file-validate")
# The kind list as a user's text editor saves it: UTF-8, LF line ends.
EDITED_KINDS = "0\n繰越・その他\n1\n食費\n30\nペット\n".encode("utf-8")


class InstalledProgram(Journey):
    """A journey with the installed program in its own folder, not a copy."""

    def __init__(self, folder, out_root):
        self.folder = folder
        super().__init__("program", None, None, out_root, window_manager="openbox")

    def install(self):
        os.rmdir(self.dir)  # the scratch folder a journey makes; this program has its own
        self.dir = self.folder


def read(path):
    with open(path, "rb") as f:
        return f.read()


def desktop_values(path):
    values = {}
    for line in read(path).decode("utf-8").splitlines():
        if "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            values[key] = value
    return values


class Session:
    def __init__(self, source, build, out):
        self.source, self.build, self.out = source, build, out
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        self.tmp = tempfile.mkdtemp(prefix="kozenica-install-")
        self.home = os.path.join(self.tmp, "home")
        os.makedirs(self.home)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("KOZENICA_HOME", "XDG_DATA_HOME", "MAKEFLAGS", "MFLAGS", "MAKELEVEL",
                                 "DISPLAY", "WAYLAND_DISPLAY")}
        self.env["HOME"] = self.home
        self.share = os.path.join(self.home, ".local", "share")
        self.entry = os.path.join(self.share, "applications", "kozenica.desktop")
        self.icon = os.path.join(self.share, "icons", "hicolor", "scalable", "apps", "kozenica.svg")
        self.calls = 0

    def make(self, *args, fails=False, **env):
        """Runs make in the source folder, with its output kept in the out folder."""
        self.calls += 1
        log = self.log = os.path.join(self.out, f"make-{self.calls}-{args[0]}.log")
        started = time.monotonic()
        with open(log, "w") as f:
            r = subprocess.run(["make", "-C", self.source, "--no-print-directory", *args],
                               env=dict(self.env, **env), stdout=f, stderr=subprocess.STDOUT)
        print(f"make {' '.join(args)}: {time.monotonic() - started:.1f} s")
        if (r.returncode != 0) != fails:
            raise JourneyFailed(f"make {' '.join(args)} exited {r.returncode}; see {log}")

    def check_installed(self, folder):
        exe = os.path.join(folder, "kozenica")
        expect(read(exe) == read(os.path.join(self.build, "kozenica")), "the executable is not the built one")
        expect(os.access(exe, os.X_OK), "the installed program cannot be run")
        expect(read(os.path.join(folder, "manual.txt")) == read(os.path.join(self.source, "data", "manual.txt")),
               "manual.txt is not the shipped manual")
        expect(read(self.icon) == read(os.path.join(self.source, "data", "desktop", "kozenica.svg")),
               "the icon is not installed")
        check = subprocess.run(["desktop-file-validate", self.entry], capture_output=True, text=True)
        expect(check.returncode == 0 and not check.stdout.strip(),
               f"desktop-file-validate: {check.stdout}{check.stderr}")
        values = desktop_values(self.entry)
        wanted = {"Type": "Application", "Name": "Kozenica", "Name[ja]": "家計簿", "Icon": "kozenica",
                  "Categories": "Office;Finance;", "Exec": f'"{exe}"'}
        for key, value in wanted.items():
            expect(values.get(key) == value, f"desktop entry {key}={values.get(key)!r}, expected {value!r}")
        expect(values.get("Comment"), "the desktop entry has no comment")

    def close(self):
        shutil.rmtree(self.tmp, ignore_errors=True)


def expect(condition, message):
    if not condition:
        raise JourneyFailed(message)


def step(name):
    print(f"-- {name}")


def save_a_month(folder, out):
    """Starts the installed program, types one line and saves it as 2030/1."""
    j = InstalledProgram(folder, out)
    try:
        main = j.start()
        j.focus(main)
        j.key(*["Return"] * 7)  # through the carried-forward line to a new line 2, shop column
        j.key("ctrl+a")
        j.type("ペット店")
        j.key("Return")
        j.type("猫の餌")
        j.key("Return")
        j.type("30")
        j.key("Return", "Return")
        j.type("1500")
        j.key("Return")
        j.shot("line typed")
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2030, 1, "kzn")
        data = wait_for_file(j, "2030_1.kzn")
        j.shot("saved")
        close_program(j, main)
    except JourneyFailed:
        j.shot("failure")
        raise
    finally:
        j.close(keep_dir=True)
    expected = kzn_file([CARRIED, (1, "ペット店", "猫の餌", 30, 0, 1500, "")])
    expect(kzn_lines(data) == kzn_lines(expected), f"the month holds {kzn_lines(data)}")


def journey(s):
    folder = os.path.join(s.home, "Kozenica")
    household = ("kindlist.dat", "corresp.dat", "2030_1.kzn", "kozenic.int")

    step("make run: install, then start the installed program (under Xvfb, no display here)")
    shot = os.path.join(s.build, "kozenica-screenshot.png")
    started = time.time()
    s.make("run", f"BUILD={s.build}")
    s.check_installed(folder)
    with open(s.log) as f:
        expect(f"run-program: starting {folder}/kozenica\n" in f.read(), "make run did not start the installed program")
    expect(os.path.exists(shot) and os.path.getmtime(shot) >= started - 1, "make run took no screenshot")
    for name in ("kindlist.dat", "corresp.dat"):
        expect(read(os.path.join(folder, name)) == read(os.path.join(s.source, "data", name)),
               f"{name} is not the shipped list")

    step("edit the kind list, save a month with the installed program")
    with open(os.path.join(folder, "kindlist.dat"), "wb") as f:
        f.write(EDITED_KINDS)
    save_a_month(folder, s.out)
    kept = {name: read(os.path.join(folder, name)) for name in household}
    expect(kept["kindlist.dat"] == EDITED_KINDS, "the program changed the kind list")
    expect(len(kept["kozenic.int"]) == 88, "the settings were not saved in the program's folder")

    def unchanged(after):
        for name, data in kept.items():
            path = os.path.join(folder, name)
            expect(os.path.exists(path) and read(path) == data, f"{name} changed {after}")

    step("touch a source file and a shipped list, make install again")
    with open(os.path.join(folder, "manual.txt"), "wb") as f:
        f.write(b"an older manual\r\n")
    touched = [os.path.join(s.source, p) for p in ("app/main.cpp", "data/kindlist.dat", "data/corresp.dat")]
    times = [os.stat(p) for p in touched]
    try:
        for p in touched:
            os.utime(p)
        s.make("install", f"BUILD={s.build}")
    finally:
        for p, st in zip(touched, times):
            os.utime(p, ns=(st.st_atime_ns, st.st_mtime_ns))
    unchanged("when the program was installed again")
    s.check_installed(folder)  # the manual is refreshed

    step("make clean")
    throwaway = [os.path.join(s.tmp, "builds", b) for b in ("build", "build-asan", "build-fuzz")]
    for b in throwaway:
        os.makedirs(b)
        with open(os.path.join(b, "CMakeCache.txt"), "w") as f:
            f.write("# a build folder\n")
    folders = (f"BUILD={throwaway[0]}", f"ASAN_BUILD={throwaway[1]}", f"FUZZ_BUILD={throwaway[2]}")
    # A build folder where an earlier version saved a month is not removed.
    earlier_month = os.path.join(throwaway[0], "2024_5.kzn")
    with open(earlier_month, "wb") as f:
        f.write(kept["2030_1.kzn"])
    s.make("clean", *folders, fails=True)
    expect(read(earlier_month) == kept["2030_1.kzn"], "make clean removed a month saved in a build folder")
    expect(not os.path.exists(throwaway[1]), "make clean kept a build folder without months")
    os.remove(earlier_month)
    s.make("clean", *folders)
    expect(not any(os.path.exists(b) for b in throwaway), "make clean left a build folder")
    unchanged("with make clean")

    step("make uninstall")
    s.make("uninstall")
    for path in (os.path.join(folder, "kozenica"), os.path.join(folder, "manual.txt"), s.entry, s.icon):
        expect(not os.path.exists(path), f"{path} is still there after make uninstall")
    unchanged("with make uninstall")

    step("KOZENICA_HOME names another folder")
    other = os.path.join(s.tmp, "山田", "家計簿 2030")
    s.make("install", f"BUILD={s.build}", KOZENICA_HOME=other)
    s.check_installed(other)
    expect(read(os.path.join(other, "kindlist.dat")) == read(os.path.join(s.source, "data", "kindlist.dat")),
           "the new folder did not get the shipped kind list")
    unchanged("by an install into another folder")
    s.make("uninstall", KOZENICA_HOME=other)
    expect(sorted(os.listdir(other)) == ["corresp.dat", "kindlist.dat"],
           f"after uninstall the folder holds {sorted(os.listdir(other))}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print(f"e2e {NAME}: missing {' '.join(missing)} (scripts/install-deps installs them)")
        return 77
    out = os.path.join(os.path.abspath(args.out), NAME)
    s = Session(os.path.abspath(args.source), os.path.abspath(args.build), out)
    try:
        journey(s)
        print(f"e2e {NAME}: passed; screenshots and make logs in {out}")
        return 0
    except JourneyFailed as e:
        print(f"e2e {NAME}: {e}")
        print(f"e2e {NAME}: temporary home {s.home} kept")
        s.tmp = None
        return 1
    finally:
        if s.tmp:
            s.close()


if __name__ == "__main__":
    sys.exit(main())
