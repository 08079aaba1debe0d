#!/usr/bin/env python3
"""Journeys of typing as a Japanese household types: over the carried texts of
a month, and through a real input method (IBus with Mozc).

    ime_journeys.py --exe build/kozenica --data data --out build/e2e-out JOURNEY

JOURNEY is one of: type_over_month, ime_item_and_period, keyboard_only. Exit status 0 on
success, 1 on a failed step, 77 when a needed tool or package is missing.
"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Journey, JourneyFailed, run_journey, journey_arguments, tell_missing, kzn_file, kzn_lines, sjis  # noqa: E402
from ime_session import ImeSession, missing_parts  # noqa: E402
from journeys import CARRIED, TOOLS, close_program, expect_month_bytes, menu, shoot_and_close, wait_for_file  # noqa: E402


class ImeJourney(Journey):
    """A journey whose program runs under IBus and Mozc."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        try:
            self.ime = ImeSession(self.display.name, self.out)
        except Exception:
            super().close()
            raise
        self.ime.give_to_user(self.dir)

    def start(self):
        self.program = subprocess.Popen(self.ime.program_command(self.path("kozenica")), cwd="/",
                                        stdout=open(os.path.join(self.out, "program.log"), "ab"),
                                        stderr=subprocess.STDOUT)
        return self.wait_window("^Kozenica")

    def close(self, keep_dir=False):
        try:
            self.stop()
            self.ime.close()
        finally:
            super().close(keep_dir)


def save_as_kzn_by_keyboard(j, main, year, month, choose=menu):
    """Save as, the dialog answered by keyboard alone: the year typed over the
    proposed one, Tab to the format group (on the chosen item), Left to KZN,
    Tab to the month list, Tab to OK."""
    choose(j, main, "f", "a")
    d = j.wait_window("^ ?保　存$")
    j.type(str(year))
    j.key("Tab", "Left", "Tab", "Home", *["Down"] * (month - 1))
    j.shot("save dialog by keyboard")
    j.key("Tab", "space")
    j.wait_gone(d)


# ---- typing over carried texts ----

def type_over_month(j):
    """A month typed with Enter after each cell, every cell moved into holding
    text already (the carried item, the day and shop of each new line): what
    is typed replaces that text."""
    with j.step("start"):
        main = j.start()
        j.focus(main)
    with j.step("type over the carried line"):
        j.type("3")  # over the carried day 1
        j.key("Return")
        j.type("八百屋")
        j.key("Return")
        j.type("前月")  # over 繰越
        j.key("Return", "Return")
        j.type("5000")
        j.key("Return", "Return", "Return")  # expense, memo, new line 2 at its shop
    with j.step("type over the copied shop and day"):
        j.type("スーパー")  # over the shop 八百屋 carried from line 1
        j.key("Return")
        j.type("牛乳")
        j.key("Return", "Return", "Return")
        j.type("198")
        j.key("Return")
        j.type("特売")
        j.key("Return")  # new line 3 at its shop
        j.key("Left")  # at the start of the selected shop, then out to the day
        j.key("Left")
        j.type("12")  # over the day 3 carried from line 2
        j.key("Return")
        j.key("F2")  # edit inside the shop スーパー: the caret at its end
        j.type("2")
        j.key("Return")
        j.type("卵")
        j.key("Return", "Return", "Return")
        j.type("１２３")  # full-width digits
        j.key("Return")
        j.shot("typed over")
    with j.step("save and compare the bytes"):
        save_as_kzn_by_keyboard(j, main, 2024, 6)
        data = wait_for_file(j, "2024_6.kzn")
        expected = kzn_file([(3, "八百屋", "前月", 0, 5000, 0, ""),
                             (3, "スーパー", "牛乳", 1, 0, 198, "特売"),
                             (12, "スーパー2", "卵", 1, 0, 123, "")])
        expect_month_bytes(j, data, expected)
    with j.step("close"):
        close_program(j, main)


# ---- a real input method ----

ROW_HEIGHT = 20  # the ledger grid's lines
HIGHLIGHT = (48, 140, 198)  # a selected text in the cell editor


def highlight_centre(png):
    """The centre of the selection highlight on a screenshot."""
    ppm = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
    width, height, pixels = int(header.group(1)), int(header.group(2)), ppm[header.end():]
    target = bytes(HIGHLIGHT)
    xs, ys = [], []
    for y in range(height):
        row = pixels[3 * width * y:3 * width * (y + 1)]
        at = row.find(target)
        while at >= 0:
            if at % 3 == 0:
                xs.append(at // 3)
                ys.append(y)
            at = row.find(target, at + 1)
    if not xs:
        raise JourneyFailed(f"no selected text on {png}")
    return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2


def compose(j, romaji, label, window=None):
    """Types romaji, converts with Space, confirms with Return; a screenshot of
    each stage, and of the window while composing when one is given."""
    j.type(romaji)
    time.sleep(0.5)
    composing = j.shot(f"{label} composing")
    if window:
        j.shot_window(window, "composition in cell")
    j.key("space")
    time.sleep(0.5)
    j.shot(f"{label} converted")
    j.key("Return")  # confirms the conversion; the grid does not walk
    time.sleep(0.3)
    return composing


def ime_item_and_period(j):
    """牛乳 typed through Mozc into an item cell that holds text and into an
    empty one, amounts typed with Mozc on, the month saved and searched."""
    with j.step("start under Mozc"):
        main = j.start()
        j.focus(main)
        j.key("Return", "Return")  # to the carried item 繰越, selected
    with j.step("compose 牛乳 over 繰越"):
        compose(j, "gyuunyuu", "over carried", main)
        j.key("Return")  # walks: the kind comes from the correspondence list
        j.key("Return", "Return")  # to the expense
        j.type("198")  # composed as full-width digits
        j.key("Return")  # confirms
        j.key("Return", "Return")  # walks to the memo, then to line 2's shop
        j.key("Return")  # to the empty item cell of line 2
        j.shot("line 1 typed")
    with j.step("compose 牛乳 into an empty item cell"):
        compose(j, "gyuunyuu", "empty cell")
        j.key("Return", "Return", "Return")
        j.type("215")
        j.key("Return", "Return")
        j.shot("line 2 typed")
    with j.step("save as 2024/5 KZN with Mozc on"):
        save_as_kzn_by_keyboard(j, main, 2024, 5)
        data = wait_for_file(j, "2024_5.kzn")
        j.expect(j.window_name(main) == "Kozenica [2024_5.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("check the month file"):
        lines = kzn_lines(data)
        j.expect(lines == [(1, "", "牛乳", 1, 0, 198, ""), (1, "", "牛乳", 1, 0, 215, "")],
                 f"lines read back {lines}")
        milk = sjis("牛乳")
        j.expect(milk == b"\x8b\x8d\x93\xfb", "the Shift-JIS bytes of 牛乳")
        for n in range(2):
            record = data[16 + 80 * n:16 + 80 * (n + 1)]
            j.expect(record[22:27] == b"\x04" + milk, f"item field of line {n + 1}: {record[22:27].hex()}")
    with j.step("search the item typed with Mozc in the period dialog"):
        menu(j, main, "s", "b")
        d = j.wait_window("^最安値探索$")
        j.key("shift+Tab")  # from the start month back round to the item box
        compose(j, "gyuunyuu", "period item")
        j.shot_window(d, "period dialog with mozc")
        j.key("Tab", "ctrl+a")  # the start month list, then the start year
        j.key("Tab", "ctrl+a")
        j.type("2024")  # typed with Mozc on: arrives as the year
        j.key("Tab", "ctrl+a")
        j.type("2024")
        j.key("Tab", "Tab", "Left", "Tab", "space")  # end month, format on CSV, KZN, OK
        j.wait_gone(d)
        shoot_and_close(j, "^最安値探索結果$", "cheapest milk", "^警告$", "a warning box is shown")
    with j.step("Escape, then a move, with a composition open"):
        # From line 2's memo back to its item 牛乳: Left leaves an empty cell, and
        # a selected text first at its start.
        j.key(*["Left"] * 6)
        j.type("ka")
        j.shot("composing over milk")
        j.key("Escape")  # cancels the composition only
        j.shot("composition cancelled")
        selected = j.shot("milk selected again")
        j.type("ka")
        # A click on line 1's item with the composition open (menu keys would
        # go to the input method while it composes): one row above the
        # selection's highlight.
        x, y = highlight_centre(selected)
        j.click(x, y - ROW_HEIGHT)
        time.sleep(1.5)
        j.shot("moved to line 1")
        before = data
        menu(j, main, "f", "s")
        data = wait_for_file(j, "2024_5.kzn", differs_from=before)
        lines = kzn_lines(data)
        j.expect(lines[0] == (1, "", "牛乳", 1, 0, 198, ""), f"line 1 (its item clicked) read back {lines[0]}")
        # The open composition belongs to the cell it was typed in: the input
        # method commits it there on the move, or it is dropped.
        j.expect(lines[1] in [(1, "", name, 1, 0, 215, "") for name in ("牛乳", "か")],
                 f"line 2 read back {lines[1]}")
        print(f"e2e: the composition open on the move left line 2's item as {lines[1][2]}")
    with j.step("close"):
        close_program(j, main)


# ---- the keyboard alone ----

def answer_box(j, caption, key="Return"):
    """Waits for a message box and answers it with a key."""
    box = j.wait_window(caption)
    j.shot(f"box {caption.strip('^$')}")
    j.key(key)
    j.wait_gone(box)


def close_by_keys(j, wid, key):
    """Closes a window with a key while it has the focus (Escape for a
    dialog, Alt+F4 for a window of its own)."""
    j.key(key)
    j.wait_gone(wid)


def active_window(j):
    return j.xdo("getactivewindow", check=False).stdout.strip()


def kmenu(j, main, menu_letter, item_letter):
    """A menu command by its access letters, on the main window that must
    have the keyboard already: no window is activated from outside."""
    deadline = time.monotonic() + 5
    while active_window(j) != main and time.monotonic() < deadline:
        time.sleep(0.1)
    j.expect(active_window(j) == main, f"the main window lost the keyboard to {j.window_name(active_window(j))!r}")
    j.key(f"alt+{menu_letter}")
    time.sleep(0.3)
    j.key(item_letter)


def keyboard_only(j):
    """Every command from the menus by their access letters, every dialog and
    message box answered without the mouse."""
    with j.step("start and type a line"):
        main = j.start()
        j.focus(main)  # the one use of the window manager: the program starts without the focus
        j.type("5")
        j.key("Return")
        j.type("shop")
        j.key("Return")
        j.type("milk")
        j.key("Return", "Return", "Return")
        j.type("300")
        j.key("Return")
    with j.step("edit menu"):
        for letter in ("q", "i", "d", "c", "s", "t", "b"):
            kmenu(j, main, "e", letter)
            if letter == "d":
                answer_box(j, "^警告$", "alt+y")  # delete the line inserted just before
            if letter == "c":
                answer_box(j, "^警告$")  # line 1 has no line above it
            time.sleep(0.3)
            j.expect(j.visible_captions() == ["Kozenica"], f"Edit {letter}: {j.visible_captions()}")
        kmenu(j, main, "e", "k")
        close_by_keys(j, j.wait_window("^List$"), "alt+F4")
        kmenu(j, main, "e", "f")
        close_by_keys(j, j.wait_window("[Ff]ont"), "Escape")
    with j.step("graph and search menus"):
        kmenu(j, main, "g", "r")
        close_by_keys(j, j.wait_window("^月内集計グラフ$"), "Escape")
        kmenu(j, main, "g", "t")
        close_by_keys(j, j.wait_window("^期間変動$"), "Escape")
        kmenu(j, main, "s", "b")
        d = j.wait_window("^最安値探索$")
        j.key("shift+Tab")
        j.type("milk")
        j.key("Tab", "Tab", "ctrl+a")
        j.type("1990")  # a start year with no month file: one error box
        j.key("Tab", "ctrl+a")
        j.type("1990")
        j.key("Tab", "Tab", "Tab", "space")  # end month, format, OK
        j.wait_gone(d)
        answer_box(j, "^ｴﾗｰ$")
        answer_box(j, "^警告$")
    with j.step("help menu"):
        kmenu(j, main, "h", "m")
        close_by_keys(j, j.wait_window("^MANUAL$"), "alt+F4")
        kmenu(j, main, "h", "a")
        answer_box(j, "^Kozenica$")
    with j.step("file menu"):
        save_as_kzn_by_keyboard(j, main, 2024, 7, kmenu)
        wait_for_file(j, "2024_7.kzn")
        kmenu(j, main, "f", "n")
        j.expect(j.window_name(main) == "Kozenica", f"caption after new: {j.window_name(main)!r}")
        kmenu(j, main, "f", "o")
        d = j.wait_window("^読み込み$")
        j.type("2024")
        j.key("Tab", "Tab", "Home", *["Down"] * 6, "Tab", "space")  # the format stays KZN
        j.wait_gone(d)
        time.sleep(0.5)
        j.expect(j.window_name(main) == "Kozenica [2024_7.kzn]", f"caption after open: {j.window_name(main)!r}")
        kmenu(j, main, "f", "o")
        d = j.wait_window("^読み込み$")
        j.type("1990")
        j.key("Return")  # the default button
        j.wait_gone(d)
        answer_box(j, "^ｴﾗｰ$")
        kmenu(j, main, "f", "o")
        close_by_keys(j, j.wait_window("^読み込み$"), "Escape")
        kmenu(j, main, "f", "s")  # overwrite 1990_7.kzn, named by the missing month
        wait_for_file(j, "1990_7.kzn")
    with j.step("exit: Escape on the save question is No"):
        j.type("9")
        kmenu(j, main, "f", "x")
        answer_box(j, "^Kozenica$", "Escape")
        j.expect(j.wait_exit() == 0, f"the program ended with {j.program.returncode}")


JOURNEYS = {f.__name__: f for f in (type_over_month, ime_item_and_period, keyboard_only)}


def main():
    args = journey_arguments(JOURNEYS)
    missing = [t for t in TOOLS if not shutil.which(t)]
    if args.journey.startswith("ime_"):
        missing += missing_parts()
    if tell_missing(missing):
        return 77
    kind = ImeJourney if args.journey.startswith("ime_") else Journey
    j = kind(args.journey, os.path.abspath(args.exe), os.path.abspath(args.data), os.path.abspath(args.out),
             window_manager="openbox")
    return run_journey(args.journey, j, JOURNEYS[args.journey], keep=args.keep)


if __name__ == "__main__":
    sys.exit(main())
