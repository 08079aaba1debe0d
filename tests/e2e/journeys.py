#!/usr/bin/env python3
"""End-to-end journeys: the built program on a real X server with openbox,
driven through its menus, dialogs and grid, checked by the bytes it writes.

    journeys.py --exe build/kozenica --data data --out build/e2e-out JOURNEY [--keep]

Exit status 0 on success; 1 on a failed step, named with its last screenshot
and the program's folder (kept); 77 when a tool is missing.

A journey is one entry of JOURNEYS: J(steps, files=..., folder=..., ime=...,
by_keys=...): files written into the program's folder before it starts, that
folder below a subfolder, the program under "ibus" or "fcitx5" with Mozc,
menu keys sent only once the main window holds the keyboard. A step is a tuple
naming a method of Journey with its arguments, or a function of the journey.
To add a journey, add an entry; CTest has it as e2e_NAME at the next build:

    "open_and_change": J([("start",), ("open", 2024, 5, "kzn"), ("keys", "Return*11 ctrl+a"),
                          ("cells", 2480), ("menu", "fs"),
                          ("file", "2024_5.kzn", kzn(CARRIED, (3, "店", "本", 11, 0, 2480, ""))), ("exit",)],
                         files={"2024_5.kzn": kzn(CARRIED, (3, "店", "本", 11, 0, 1500, ""))}),

Steps most used: start, keys ("Return*7 ctrl+a"), text, cells (each typed,
then Return), menu ("fa": alt+f, then a), open/save_as (the year/month
dialog), period, box (a message box answered by keys), file (a file's bytes;
KZN by what its records hold), settings, outer, caption, no_window, exit.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from collections import namedtuple

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failed, InputMethod, Screen, csv, expect, ints, kzn, masked, missing, poll, settings  # noqa: E402

CARRIED = (1, "", "繰越", 0, 0, 0, "")
DEFAULTS = [10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 40, 80, 160, 300, 40, 70, 50, 50, 400, 400]
AQUA, YELLOW, LIME, BLUE, WHITE = (0, 255, 255), (255, 255, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)
J = namedtuple("J", "steps files folder ime by_keys", defaults=({}, None, None, False))


class Journey:
    def __init__(self, name, plan, exe, data, out, folder=None):
        self.name, self.plan, self.shots, self.last_shot, self.programs, self.named = name, plan, 0, None, [], {}
        self.out = os.path.join(out, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.root = tempfile.mkdtemp(prefix=f"kozenica-e2e-{name}-")
        self.dir = folder or os.path.join(self.root, plan.folder or "")
        if not folder:  # a copy of the built program with the shipped lists beside it
            os.makedirs(self.dir, exist_ok=True)
            shutil.copy2(exe, self.path("kozenica"))
            for f in ("kindlist.dat", "corresp.dat", "manual.txt"):
                shutil.copy2(os.path.join(data, f), self.path(f))
        for name_, data_ in plan.files.items():
            self.write(name_, data_)
        self.screen = Screen()
        self.ime = plan.ime and InputMethod(plan.ime, self.screen.name, self.out)
        if self.ime:
            self.ime.give(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def run(self):
        for n, step in enumerate(self.plan.steps, 1):
            try:
                step(self) if callable(step) else getattr(self, step[0])(*step[1:])
            except (Failed, AssertionError) as e:
                raise Failed(f"step {n} {step if not callable(step) else step.__name__}: {e}") from None

    def close(self):
        for p in self.programs:
            p.kill()
            p.wait()
        if self.ime:
            self.ime.close()
        self.screen.close()

    # ---- windows ----

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.screen.env, capture_output=True, text=True)

    def find(self, pattern):
        return [w for w, name in self.screen.windows() if re.search(pattern, name)]

    def window(self, pattern, exclude=()):
        """The newest window whose caption matches, once shown and painted."""
        def found():
            expect(self.program.poll() is None, f"the program ended (exit {self.program.returncode})")
            return [w for w in self.find(pattern) if w not in exclude]
        try:
            wid = poll(f"a window {pattern}", found)[-1]
        except Failed as e:
            raise Failed(f"{e}; shown: {[n for _, n in self.screen.windows()]}") from None
        time.sleep(0.3)
        return wid

    def caption_of(self, wid):
        return dict(self.screen.windows()).get(wid)

    def outer_of(self, wid):
        (x, y, w, h), (left, right, top, bottom) = self.screen.geometry(wid)
        return (w + left + right, h + top + bottom), (x - left, y - top)

    def focus(self, wid):
        self.xdo("windowactivate", "--sync", wid)
        self.xdo("windowfocus", "--sync", wid)
        time.sleep(0.2)

    def gone(self, wid):
        poll(f"window {wid} closed", lambda: wid not in dict(self.screen.windows()))

    def click_at(self, x, y):
        self.xdo("mousemove", "--sync", x, y, "click", 1)
        time.sleep(0.2)

    def click(self, wid, x, y):
        """A click at client coordinates of a window."""
        (left, top, _, _), _ = self.screen.geometry(wid)
        self.click_at(left + x, top + y)

    # ---- steps ----

    def start(self, name="main"):
        command = self.ime.program(self.path("kozenica")) if self.ime else [self.path("kozenica")]
        log = open(os.path.join(self.out, f"{name}.log"), "ab")
        self.programs.append(subprocess.Popen(command, cwd="/", env=self.screen.env, stdout=log,
                                              stderr=subprocess.STDOUT))
        self.program = self.named[name] = self.programs[-1]
        setattr(self, name, self.window("^Kozenica$", exclude=[self.main] if name != "main" else []))
        if name == "main":
            self.focus(self.main)
        if self.ime:
            self.ime.engine_running()

    def keys(self, names, window=None):
        """Keys as xdotool names them, "Return*7" for seven."""
        for k in names.split():
            name, _, times = k.partition("*")
            for _ in range(int(times or 1)):
                self.xdo("key", "--clearmodifiers", "--delay", 60, name)
                time.sleep(0.08)

    def text(self, text):
        """Types text; characters beyond ASCII through keycodes bound first."""
        if self.screen.bind([c for c in text if ord(c) > 0x7E]):
            time.sleep(0.3)  # the program rereads the keyboard map
        for run in re.findall(r"[\x20-\x7e]+|[^\x20-\x7e]", text):
            if ord(run[0]) <= 0x7E:
                self.xdo("type", "--delay", 40, run)
            else:
                self.xdo("key", "--delay", 40, "U%04X" % ord(run))
        time.sleep(0.2)

    def cells(self, *values):
        for v in values:
            if v != "":
                self.text(str(v))
            self.keys("Return")

    def menu(self, letters, window="main"):
        wid = getattr(self, window)
        if self.plan.by_keys:
            active = lambda: self.screen.root.get_full_property(self.screen.atom("_NET_ACTIVE_WINDOW"), 0)
            poll("the main window holding the keyboard", lambda: active().value[0] == wid, 5)
        else:
            self.focus(wid)
        self.keys(f"alt+{letters[0]}")
        time.sleep(0.3)
        self.keys(letters[1])

    def dialog(self, caption, year, month, fmt):
        """The year/month dialog: the year box and the format by the mouse,
        the month list and OK by keys (tab order: year, format, month, OK)."""
        d = self.window(caption)
        self.focus(d)
        self.click(d, 54, 75)
        self.keys("ctrl+a")
        self.text(str(year))
        self.click(d, 60 if fmt == "kzn" else 138, 126)  # the format group: KZN its left half
        self.keys(f"Tab Home Down*{month - 1}" if month > 1 else "Tab Home")
        self.shot_window(caption, "year month dialog")
        self.keys("Tab space")
        self.gone(d)

    def open(self, year, month, fmt, window="main"):
        self.menu("fo", window)
        self.dialog("^読み込み$", year, month, fmt)

    def save_as(self, year, month, fmt, window="main"):
        self.menu("fa", window)
        self.dialog("^ ?保　存$", year, month, fmt)

    def save_as_by_keys(self, year, month):
        """Save as with the keyboard alone: the year over the proposed one, the
        format group (Left to KZN), the month list, OK."""
        self.menu("fa")
        d = self.window("^ ?保　存$")
        self.text(str(year))
        self.keys(f"Tab Left Tab Home Down*{month - 1} Tab space")
        self.gone(d)

    def period(self, letters, caption, item, start, end):
        """A period command: item, start month and year, end year and month; the format stays CSV."""
        self.menu(letters)
        d = self.window(caption)
        self.focus(d)
        self.click(d, 57, 20)
        self.text(item)
        self.keys(f"Tab Home Down*{start[1] - 1} Tab ctrl+a")
        self.text(str(start[0]))
        self.keys("Tab ctrl+a")
        self.text(str(end[0]))
        self.keys(f"Tab Home Down*{end[1] - 1}")
        self.shot_window(caption, "period dialog")
        self.keys("Tab Tab space")
        self.gone(d)

    def box(self, caption, keys="Return", times=1):
        for _ in range(times):
            wid = self.window(caption, exclude=[self.main])
            self.shot(f"box {caption}")
            self.keys(keys)
            self.gone(wid)

    def file(self, name, expected, timeout=10):
        """The file holds the expected bytes (a KZN month: the same records)."""
        read = lambda: os.path.exists(self.path(name)) and masked(self.read(name))
        try:
            poll(f"{name} as expected", lambda: read() == expected, timeout)
        except Failed:
            raise Failed(f"{name} holds {read()!r}, expected {expected!r}") from None

    def exists(self, name):
        poll(f"{name} written", lambda: os.path.exists(self.path(name)), 10)

    def settings(self, at, values):
        got = settings(self.read("kozenic.int"))[at:at + len(values)]
        expect(got == values, f"kozenic.int entries {at}.. are {got}, expected {values}")

    def caption(self, text):
        poll(f"the caption {text!r} (it is {self.caption_of(self.main)!r})",
             lambda: self.caption_of(self.main) == text, 5)

    def no_window(self, pattern):
        time.sleep(0.5)
        expect(self.find(pattern) == [], f"a window {pattern} is shown")

    def outer(self, pattern, size, origin=None):
        got = self.outer_of(self.window(pattern))
        size = tuple(g if s is None else s for g, s in zip(got[0], size))  # None: any
        expect(got[0] == size and (origin is None or got[1] == origin),
               f"{pattern} is {got[0]} at {got[1]} outside, expected {size} at {origin}")

    def resize(self, pattern, width, height):
        """Sets a window's outer size."""
        wid = self.window(pattern)
        _, (left, right, top, bottom) = self.screen.geometry(wid)
        self.xdo("windowsize", "--sync", wid, width - left - right, height - top - bottom)
        time.sleep(0.5)

    def close_window(self, pattern):
        wid = self.window(pattern)
        self.focus(wid)
        self.keys("alt+F4")
        self.gone(wid)

    def shot(self, label, wid=None):
        self.shots += 1
        path = os.path.join(self.out, f"{self.shots:02d}-{re.sub(r'[^a-z0-9]+', '-', label.lower()).strip('-')}.png")
        where = ["-window", str(wid), "-frame"] if wid else ["-window", "root"]
        subprocess.run(["import", "-display", self.screen.name, *where, path], check=True)
        self.last_shot = path
        return path

    def shot_window(self, pattern, label):
        return self.shot(label, self.window(pattern))

    def sleep(self, seconds):
        time.sleep(seconds)

    def exit(self, window="main"):
        """Exit from the file menu; a save question is answered No. The program ends with 0."""
        self.menu("fx", window)
        program, mains = self.named[window], (self.main, getattr(self, "second", 0))
        end = time.monotonic() + 20
        while program.poll() is None and time.monotonic() < end:
            for box in [w for w, n in self.screen.windows() if n == "Kozenica" and w not in mains]:
                self.shot("save question")
                self.focus(box)
                self.keys("alt+n")
            time.sleep(0.3)
        expect(program.poll() == 0, f"the program ended with {program.poll()}")

    # ---- pixels ----

    def pixels(self, png, region):
        """The RGB bytes and width of a region (x, y, w, h) of a screenshot."""
        x, y, w, h = region
        ppm = subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
                             capture_output=True, check=True).stdout
        header = re.match(rb"P6\s+(\d+)\s+\d+\s+\d+\s", ppm)
        return ppm[header.end():], int(header.group(1))

    def count(self, png, region, rgb):
        data, _ = self.pixels(png, region)
        return sum(1 for i in range(0, len(data), 3) if data[i:i + 3] == bytes(rgb))

    def colour(self, png, x, y):
        return tuple(self.pixels(png, (x, y, 1, 1))[0])


# ---- checks of their own ----

def pie(j):
    """60 % aqua from twelve o'clock past six, 30 % yellow round nine, a 10 % lime slice."""
    png = j.shot("summary screen")
    (x, y, w, h), _ = j.screen.geometry(j.window("^月内集計グラフ$"))
    d = min(w // 3 * 2, h // 2)
    cx, cy = x + (w // 3 * 2 - d) // 2 + d // 2, y + (h // 2 - d) // 2 + d // 2
    got = (j.colour(png, cx + d // 4, cy), j.colour(png, cx - d // 4, cy))
    expect(got == (AQUA, YELLOW), f"right and left of the centre are {got}")
    expect(j.count(png, (x, y, w * 2 // 3, h // 2), LIME) > 20, "no lime slice")


def price_graph(j):
    png = j.shot("price history screen")
    (x, y, w, h), _ = j.screen.geometry(j.window("^期間変動グラフ$"))
    region = (x, y, w * 3 // 4, h // 2)
    got = (j.count(png, region, BLUE) > 100, j.count(png, region, AQUA) > 100, j.colour(png, x + w * 3 // 8, y + 2))
    expect(got == (True, True, WHITE), f"price line, scale lines, white plot: {got}")


def compose(romaji, label):
    """Types romaji under Mozc, converts with Space, confirms with Return."""
    def composed(j):
        j.text(romaji)
        time.sleep(0.5)
        j.shot(f"{label} composing")  # the screen, then the window alone (for the README)
        j.shot_window("^Kozenica", f"{label} composition in window")
        j.keys("space")
        time.sleep(0.5)
        j.shot(f"{label} converted")
        j.keys("Return")  # confirms the conversion; the grid does not walk
        time.sleep(0.3)
    composed.__name__ = f"compose {romaji}"
    return composed


def click_while_composing(j):
    """From line 2's memo back to its item: a composition opened and cancelled
    by Escape, then opened again and left by a click on line 1's item, a row
    above the selection's highlight (menu keys would go to the input method)."""
    j.keys("Left*4")
    j.text("ka")
    j.keys("Escape")
    png = j.shot("composition cancelled")
    j.text("ka")
    data, width = j.pixels(png, (0, 0, 1280, 1024))
    at = [i // 3 for i in range(0, len(data), 3) if data[i:i + 3] == bytes((48, 140, 198))]
    expect(at, "no selected text after Escape")
    j.click_at(sum(i % width for i in at) // len(at), sum(i // width for i in at) // len(at) - 20)
    time.sleep(1.5)
    j.menu("fs")
    # The open composition belongs to the cell it was typed in: committed there on the move, or dropped.
    ours = [kzn((1, "", "牛乳", 1, 0, 198, ""), (1, "", name, 1, 0, 215, "")) for name in ("牛乳", "か")]
    poll("line 1 unchanged, line 2 with 牛乳 or か", lambda: masked(j.read("2024_5.kzn")) in ours, 10)


def year_months(hand=None):  # 2023 and 2024 in CSV; hand: May 2024's milk as edited
    return {f"{2023 + i // 12}_{i % 12 + 1}.csv": csv(
        CARRIED, (3, "スーパー", "牛乳", 1, 0, hand if hand and i == 16 else 900 + i * 37, "特売"),
        (9, "駅", "電車", 8, 0, 160 * (i % 4), ""), (25, "会社", "給料", 0, 200000 + i, 0, "")) for i in range(24)}


def year_rows(hand):
    """The year table of 2024 worked out here from the months' lines: 食費 (1), 交通費 (8), the three sums."""
    sums = {r: {2023: [0] * 12, 2024: [0] * 12} for r in ("食費", "交通費", "支出計", "収入計", "収支")}
    for name, data in year_months(hand).items():
        y, m = map(int, name[:-4].split("_"))
        for _, _, _, k, inc, exp, _ in (line.split(",") for line in data.decode("cp932").split()):
            inc, exp, kind = int(inc), int(exp), {"1": ["食費"], "8": ["交通費"]}.get(k, [])
            for row, v in [(r, exp) for r in kind] + [("支出計", exp), ("収入計", inc), ("収支", inc - exp)]:
                sums[row][y][m - 1] += v
    rows = [["種類", *[f"{m}月" + "*" * (m == 5) for m in range(1, 13)], "年計", "月平均", "前年計", "差額", "前年比"]]
    for row, s in sums.items():
        now, before = sum(s[2024]), sum(s[2023])
        tenths = (2000 * now + before) // (2 * before)
        rows.append([row, *(f"{v:,}" for v in s[2024] + [now, (2 * now + 12) // 24, before, now - before]),
                     f"{tenths // 10}.{tenths % 10}"])
    return rows


def year_copied(hand):
    """Ctrl+C in the year table copies every row as worked out here."""
    def copied(j):
        j.focus(j.window("^年間集計結果$"))
        j.keys("ctrl+c")
        got = lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=j.screen.env, capture_output=True)
        want = "".join("\t".join(r) + "\n" for r in year_rows(hand))
        poll("the copied year table", lambda: got().stdout == want.encode())
    return copied


MILK = kzn(CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, ""))
THEIRS = kzn(CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, ""), (3, "本屋", "本", 11, 0, 1500, ""))
TWO_LINES = kzn(CARRIED, (1, "スーパー", "牛乳", 1, 0, 198, ""), (1, "本屋", "本", 11, 0, 1500, ""))
TYPED = kzn(CARRIED, (1, "スーパー", "牛乳", 1, 0, 1234, "特売"), (1, "コンビニ", "弁当", 2, 0, 580, ""),
            (1, "会社", "給料", 20, 250000, 0, ""))
FULL = [CARRIED] + [(i % 31 + 1, f"店{i % 97}", f"品名{i}", i % 20, i * 13 % 5000, i * 7919 % 100000, f"メモ{i}")
                    for i in range(1, 1999)]
PERIOD = {f"{2022 + i // 12}_{i % 12 + 1}.csv": csv(
    CARRIED, (2, "スーパー", "牛乳", 1, 0, 170 + i * 37 % 60, ""), (4, "駅", "電車", 8, 0, 160, ""),
    (9, "パン屋", "パン", 1, 0, 150 + 2 * i, ""), *([(20, "コンビニ", "牛乳", 1, 0, 230 + i, "夜")] if i % 3 == 0 else []))
    for i in range(24) if i not in (5, 14)}  # 2022/6 and 2023/3 missing
APRIL = (CARRIED, (2, "スーパー", "牛乳", 1, 0, 198, ""), (9, "駅", "電車", 8, 0, 160, ""))
HOSTILE = [0] * 8 + [3000, 5000, 0, 450, 0, -3, 100000, -1, 0, 0, 0, 0, 5, 5]
IME_STEPS = [("start",), ("keys", "Return Return"), compose("gyuunyuu", "over carried"),
             ("keys", "Return*3"), ("text", "198"), ("keys", "Return*4"),  # 198 composed full-width, then confirmed
             compose("gyuunyuu", "empty cell"), ("keys", "Return*3"), ("text", "215"), ("keys", "Return*2"),
             ("save_as_by_keys", 2024, 5), ("caption", "Kozenica [2024_5.kzn]"),
             ("file", "2024_5.kzn", kzn((1, "", "牛乳", 1, 0, 198, ""), (1, "", "牛乳", 1, 0, 215, ""))),
             ("menu", "sb"), ("window", "^最安値探索$"), ("keys", "shift+Tab"), compose("gyuunyuu", "period item"),
             ("keys", "Tab ctrl+a Tab ctrl+a"), ("text", "2024"), ("keys", "Tab ctrl+a"), ("text", "2024"),
             ("keys", "Tab Tab Left Tab space"), ("shot_window", "^最安値探索結果$", "cheapest milk"),
             ("no_window", "^警告$"), ("close_window", "^最安値探索結果$"), click_while_composing, ("exit",)]
ELEVEN = [(1, "s", f"i{n}", 0, 0, n * 10, "") for n in range(1, 12)]  # typed after the carried line
SIX_RUNS = [step for run in range(6) for step in [
    ("start",), ("outer", "^Kozenica$", (635, 450), (0, 0)), ("menu", "ek"), ("outer", "^List$", (160, 300), (57, 40)),
    ("menu", "fa"), ("outer", "^ ?保　存$", (214, 229), (57, 40)), ("keys", "Escape"),
    *([("menu", "gt"), ("outer", "^期間変動$", (None, 276), (211, 150)), ("keys", "Escape")] if run == 0 else []),
    ("menu", "hm"), ("outer", "^MANUAL$", (504, 360), (63, 45)), ("exit",),
    ("settings", 8, [0, 0, 635, 450, 40, 80, 160, 300])]]

JOURNEYS = {
    "type_and_save": J([
        ("start",), ("caption", "Kozenica"), ("shot_window", "^Kozenica", "main window"),
        ("keys", "Return*7 ctrl+a"), ("cells", "スーパー", "牛乳", "", "", "１２３４", "特売"),
        ("keys", "ctrl+a"), ("cells", "コンビニ", "弁当", "", "", 580, ""),
        ("keys", "ctrl+a"), ("cells", "会社", "給料", "", 250000), ("shot_window", "^Kozenica", "ledger"),
        ("resize", "^Kozenica", 720, 520), ("save_as", 2024, 5, "kzn"), ("caption", "Kozenica [2024_5.kzn]"),
        ("file", "2024_5.kzn", TYPED), ("exit",), ("settings", 0, DEFAULTS[:8] + [0, 0, 720, 520]),
        ("settings", 16, DEFAULTS[16:])]),
    "reopen_and_overwrite": J([
        ("start",), ("outer", "^Kozenica", (700, 520), (40, 30)), ("open", 2024, 5, "kzn"),
        ("caption", "Kozenica [2024_5.kzn]"), ("keys", "Return*11 ctrl+a"), ("cells", 2480), ("menu", "fs"),
        ("file", "2024_5.kzn", kzn(CARRIED, (3, "スーパー", "牛乳", 1, 0, 2480, "特売"), (7, "本屋", "本", 11, 0, 1500, ""))),
        ("exit",), ("settings", 0, [12, 60, 130, 100, 40, 90, 90, 100, 30, 40, 700, 520])],
        files={"kozenic.int": ints([12, 60, 130, 100, 40, 90, 90, 100, 30, 40, 700, 520] + DEFAULTS[12:]),
               "2024_5.kzn": kzn(CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, "特売"), (7, "本屋", "本", 11, 0, 1500, ""))}),
    "monthly_summary": J([
        ("start",), ("open", 2024, 6, "kzn"), ("menu", "gr"), ("outer", "^月内集計グラフ$", (400, 400)),
        ("shot_window", "^月内集計グラフ$", "monthly summary"), pie, ("resize", "^月内集計グラフ$", 500, 440),
        ("close_window", "^月内集計グラフ$"), ("menu", "gr"), ("outer", "^月内集計グラフ$", (500, 440)),
        ("close_window", "^月内集計グラフ$"), ("exit",), ("settings", 20, [500, 440])],
        files={"2024_6.kzn": kzn(CARRIED, (3, "スーパー", "牛乳", 1, 0, 600, ""), (5, "ドラッグ", "洗剤", 3, 0, 300, ""),
                                 (9, "駅", "電車", 8, 0, 100, ""))}),
    "period_analyses": J([
        ("start",), ("period", "gt", "^期間変動$", "牛乳", (2022, 1), (2023, 12)), ("box", "^ｴﾗｰ$", "Return", 2),
        ("shot_window", "^期間変動グラフ$", "price history"), price_graph, ("close_window", "^期間変動グラフ$"),
        ("period", "sb", "^最安値探索$", "牛乳", (2022, 1), (2023, 12)), ("box", "^ｴﾗｰ$", "Return", 2),
        ("shot_window", "^最安値探索結果$", "cheapest search"), ("no_window", "^ｴﾗｰ$"),
        ("period", "sp", "^底値表$", "", (2022, 1), (2023, 12)), ("box", "^ｴﾗｰ$", "Return", 2),
        ("shot_window", "^底値表結果$", "price book"), ("exit",)], files=PERIOD),
    "damaged_and_missing_months": J([
        ("start",), ("open", 2024, 7, "kzn"), ("box", "^ｴﾗｰ$"), ("caption", "Kozenica"),
        ("file", "2024_7.kzn", MILK[:-30]), ("open", 2024, 8, "kzn"), ("box", "^ｴﾗｰ$"),
        ("caption", "Kozenica [2024_8.kzn]"), ("menu", "fs"), ("file", "2024_8.kzn", kzn(CARRIED)), ("exit",)],
        files={"2024_7.kzn": MILK[:-30]}),  # cut inside its record
    "full_month": J([
        ("start",), ("open", 2024, 1, "kzn"), ("caption", "Kozenica [2024_1.kzn]"), ("menu", "eb"),
        ("keys", "Return*7"), ("box", "^警告$"), ("save_as", 2024, 2, "csv"), ("file", "2024_2.csv", csv(*FULL)),
        ("exit",)], files={"2024_1.kzn": kzn(*FULL)}),
    "japanese_folder": J([
        ("start",), ("no_window", "^ｴﾗｰ$"), ("open", 2024, 4, "csv"), ("caption", "Kozenica [2024_4.csv]"),
        ("no_window", "^ｴﾗｰ$"), ("save_as", 2024, 7, "kzn"), ("file", "2024_7.kzn", kzn(*APRIL)),
        ("period", "sb", "^最安値探索$", "牛乳", (2024, 4), (2024, 6)), ("shot_window", "^ｴﾗｰ$", "missing month"),
        ("box", "^ｴﾗｰ$"), ("shot_window", "^最安値探索結果$", "cheapest search"), ("exit",),
        lambda j: expect(len(j.read("kozenic.int")) == 88, "kozenic.int not written in the folder")],
        files={"2024_4.csv": csv(*APRIL), "2024_6.csv": csv(CARRIED, (5, "生協", "牛乳", 1, 0, 178, ""))},
        folder="山田/家計簿"),
    "window_sizes": J(SIX_RUNS + [
        ("write", "kozenic.int", ints(DEFAULTS[:8] + [30, 40, 800, 520] + DEFAULTS[12:])),
        ("start",), ("outer", "^Kozenica$", (800, 520), (40, 30)), ("exit",),
        ("settings", 8, [30, 40, 800, 520])]),
    "hostile_settings": J([
        ("start",), ("outer", "^Kozenica$", (330, 450), (950, 574)), ("menu", "ek"),
        ("outer", "^List$", (1280, 100), (0, 614)), ("exit",), ("settings", 0, [1] * 8 + [574, 950, 330, 450]),
        ("settings", 12, [1, 1, 1280, 100]),
        ("write", "kozenic.int", ints(DEFAULTS[:10] + [100000, 100000] + DEFAULTS[12:])),
        ("start",), ("outer", "^Kozenica$", (1280, 1024), (0, 0)), ("exit",)],
        files={"kozenic.int": ints(HOSTILE)}),
    "two_copies": J([
        ("start",), ("open", 2024, 5, "kzn"), ("start", "second"), ("open", 2024, 5, "kzn", "second"),
        ("menu", "eb", "second"), ("keys", "Return*7 ctrl+a"), ("cells", "本屋", "本", "", "", 1500),
        ("menu", "fs", "second"), ("file", "2024_5.kzn", THEIRS), ("menu", "fs"), ("box", "^警告$"), ("sleep", 0.5),
        ("file", "2024_5.kzn", THEIRS), ("exit", "second"), ("exit",), ("file", "2024_5.kzn", THEIRS)],
        files={"2024_5.kzn": MILK}),
    "type_over_month": J([
        ("start",), ("cells", 3, "八百屋", "前月", "", 5000, "", ""),  # over the carried day and item
        ("cells", "スーパー", "牛乳", "", "", 198, "特売"),  # over the shop carried from line 1
        ("keys", "Left"), ("cells", 12), ("keys", "F2"), ("cells", 2, "卵", "", "", "１２３"),  # F2: caret at the end
        ("save_as_by_keys", 2024, 6),
        ("file", "2024_6.kzn", kzn((3, "八百屋", "前月", 0, 5000, 0, ""), (3, "スーパー", "牛乳", 1, 0, 198, "特売"),
                                   (12, "スーパー2", "卵", 1, 0, 123, ""))), ("exit",)]),
    "keyboard_only": J([
        ("start",), ("cells", 5, "shop", "milk", "", "", 300), ("menu", "eq"), ("menu", "ei"), ("menu", "ed"),
        ("box", "^警告$", "alt+y"), ("menu", "ec"), ("box", "^警告$"), ("menu", "es"), ("menu", "et"), ("menu", "eb"),
        lambda j: expect([n for _, n in j.screen.windows() if n] == ["Kozenica"], "another window is shown"),
        ("menu", "ek"), ("window", "^List$"), ("keys", "alt+F4"), ("menu", "ef"), ("window", "[Ff]ont"),
        ("keys", "Escape"), ("menu", "gr"), ("window", "^月内集計グラフ$"), ("keys", "Escape"), ("menu", "gt"),
        ("window", "^期間変動$"), ("keys", "Escape"), ("menu", "sb"), ("window", "^最安値探索$"), ("keys", "shift+Tab"),
        ("text", "milk"), ("keys", "Tab Tab ctrl+a"), ("text", "1990"), ("keys", "Tab ctrl+a"), ("text", "1990"),
        ("keys", "Tab Tab Tab space"), ("box", "^ｴﾗｰ$"), ("box", "^警告$"), ("menu", "hm"), ("window", "^MANUAL$"),
        ("keys", "alt+F4"), ("menu", "ha"), ("box", "^Kozenica$"), ("save_as_by_keys", 2024, 7),
        ("exists", "2024_7.kzn"), ("menu", "fn"), ("caption", "Kozenica"),
        ("menu", "fo"), ("window", "^読み込み$"), ("text", "2024"), ("keys", "Tab Tab Home Down*6 Tab space"),
        ("caption", "Kozenica [2024_7.kzn]"), ("menu", "fo"), ("window", "^読み込み$"), ("text", "1990"),
        ("keys", "Return"), ("box", "^ｴﾗｰ$"), ("menu", "fo"), ("window", "^読み込み$"), ("keys", "Escape"),
        ("menu", "fs"), ("exists", "1990_7.kzn"), ("text", "9"), ("menu", "fx"),
        ("box", "^Kozenica$", "Escape"), lambda j: expect(j.program.wait(15) == 0, "the program did not end with 0")],
        by_keys=True),
    "open_asks_first": J([  # Cancel keeps the typed lines (saved to show them), No drops them
        ("start",), ("keys", "Return*7 ctrl+a"), ("cells", "スーパー", "牛乳", "", "", 198, ""), ("keys", "ctrl+a"),
        ("cells", "本屋", "本", "", "", 1500), ("menu", "fo"), ("box", "^確認$", "Escape"), ("no_window", "^読み込み$"),
        ("save_as", 2024, 6, "kzn"), ("file", "2024_6.kzn", TWO_LINES), ("text", "x"), ("menu", "fo"),
        ("box", "^確認$", "alt+n"), ("dialog", "^読み込み$", 2024, 5, "kzn"), ("caption", "Kozenica [2024_5.kzn]"),
        ("save_as", 2024, 7, "kzn"), ("file", "2024_7.kzn", MILK), ("file", "2024_6.kzn", TWO_LINES), ("exit",)],
        files={"2024_5.kzn": MILK}),
    "close_yes_then_cancel": J([  # the window stays with its month, no settings written; then saved
        ("start",), ("keys", "Return*7 ctrl+a"), ("cells", "スーパー", "牛乳", "", "", 198), ("menu", "fx"),
        ("box", "^Kozenica$", "alt+y"), ("window", "^ ?保　存$"), ("keys", "Escape"), ("no_window", "^ ?保　存$"),
        lambda j: expect(j.program.poll() is None and j.caption_of(j.main) == "Kozenica", "the window closed"),
        lambda j: expect(not os.path.exists(j.path("kozenic.int")), "kozenic.int written"),
        ("save_as", 2024, 5, "kzn"), ("file", "2024_5.kzn", kzn(CARRIED, (1, "スーパー", "牛乳", 1, 0, 198, ""))),
        ("exit",)]),
    "year_table": J([
        ("start",), ("open", 2024, 5, "csv"), ("menu", "gy"), ("window", "^年間集計$"), ("keys", "Return"),
        ("shot_window", "^年間集計結果$", "year table"), year_copied(None), lambda j: j.focus(j.main),
        ("keys", "Return*11 ctrl+a"), ("cells", 2480), year_copied(2480), ("keys", "Tab space"),
        ("window", "^CSVで保存$"), ("keys", "Return"), ("file", "年間集計2024.csv", "".join(",".join(
            f'"{c}"' if "," in c else c for c in r) + "\r\n" for r in year_rows(2480)).encode("cp932")), ("exit",)],
        files=year_months()),
    "way_back_to_a_version": J([  # the last line's memo is not left, so no twelfth line is added
        ("start",), ("keys", "Return*7"), *[step for n in range(1, 12) for step in [
            ("keys", "ctrl+a"), ("cells", "s", f"i{n}", "", "", n * 10, *([""] if n < 11 else []))]],
        ("save_as", 2024, 5, "kzn"), ("file", "2024_5.kzn", kzn(CARRIED, *ELEVEN)),
        *[step for _ in range(10) for step in [("menu", "ed"), ("box", "^警告$", "alt+y")]],
        ("menu", "fs"), ("file", "2024_5.kzn", kzn(CARRIED, ELEVEN[0])), ("menu", "ev"),
        ("shot_window", "^以前の版$", "versions window"), ("keys", "alt+r"), ("no_window", "^以前の版$"),
        ("menu", "fs"), ("file", "2024_5.kzn", kzn(CARRIED, *ELEVEN)), ("exit",)]),
    "ime_item_and_period": J(IME_STEPS, ime="ibus"),
    "ime_fcitx5": J(IME_STEPS, ime="fcitx5"),
}


def main():
    if sys.argv[1:] == ["--list"]:  # for CMake: one test a journey
        return print(" ".join(JOURNEYS))
    parser = argparse.ArgumentParser()
    for arg in ("--exe", "--data", "--out"):
        parser.add_argument(arg, required=True)
    parser.add_argument("--keep", action="store_true", help="keep the program's folder")
    parser.add_argument("journey", choices=sorted(JOURNEYS))
    args = parser.parse_args()
    plan = JOURNEYS[args.journey]
    lack = missing(plan.ime)
    if lack:
        print(f"e2e {args.journey}: missing {' '.join(lack)} (scripts/install-deps installs them)")
        return 77
    j = Journey(args.journey, plan, os.path.abspath(args.exe), os.path.abspath(args.data), os.path.abspath(args.out))
    try:
        j.run()
        print(f"e2e {args.journey}: passed; screenshots in {j.out}")
        shutil.rmtree(j.root) if not args.keep else None
        return 0
    except Failed as e:
        try:
            j.shot("failure")
        except Exception:
            pass
        print(f"e2e {args.journey}: {e}\n  last screenshot {j.last_shot}\n  program folder {j.dir}")
        return 1
    finally:
        j.close()


if __name__ == "__main__":
    sys.exit(main())
