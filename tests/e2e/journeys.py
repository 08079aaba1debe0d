#!/usr/bin/env python3
"""End-to-end journeys: the real program under Xvfb, driven through its menus,
dialogs and grid with xdotool, checked by the files it writes and by pixels of
screenshots.

    journeys.py --exe build/kozenica --data data --out build/e2e-out JOURNEY

JOURNEY is one of: type_and_save, reopen_and_overwrite, monthly_summary,
period_analyses, damaged_and_missing_months, full_month, japanese_folder,
window_sizes, hostile_settings, closing_keeps_this_month, long_month,
csv_unsafe_texts, changed_on_disk, two_copies, endless_range. Screenshots go to
OUT/JOURNEY/NN-step.png. Exit status 0 on
success, 1 on a failed step (which is named, with its last screenshot), 77 when
a needed tool is missing.
"""

import datetime
import os
import shutil
import struct
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Journey, JourneyFailed, run_journey, journey_arguments, tell_missing, csv_file, kzn_file, kzn_lines, settings_values, sjis  # noqa: E402

MAIN = "^Kozenica"
AQUA, YELLOW, LIME, BLUE = (0, 255, 255), (255, 255, 0), (0, 255, 0), (0, 0, 255)
DEFAULT_SETTINGS = [10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 40, 80, 160, 300, 40, 70, 50, 50, 400, 400]
CARRIED = (1, "", "繰越", 0, 0, 0, "")


# ---- steps shared by the journeys ----

def year_month_dialog(j, caption, year, month, fmt):
    """Fills the year/month dialog: the year box, a click on the format's item,
    then the month list and OK by keyboard (tab order: year, format, month, OK)."""
    d = j.wait_window(caption)
    j.focus(d)
    j.click_client(d, 16 + 38, 65 + 10)  # the year box
    j.key("ctrl+a")
    j.type(str(year))
    # The format group is 157 wide at left 20, top 105: KZN in its left half.
    j.click_client(d, 20 + (40 if fmt == "kzn" else 118), 105 + 21)
    j.key("Tab")  # the month list
    j.key("Home", *["Down"] * (month - 1))
    j.shot("year month dialog filled")
    j.shot_window(d, "year month dialog")
    j.key("Tab", "space")  # OK
    j.wait_gone(d)


def period_dialog(j, caption, item, start, end):
    """Fills the period dialog: name box, then start month, start year, end
    year, end month in tab order; the format stays CSV."""
    d = j.wait_window(caption)
    j.focus(d)
    j.click_client(d, 7 + 50, 10 + 10)  # the name box
    j.type(item)
    j.key("Tab", "Home", *["Down"] * (start[1] - 1))
    j.key("Tab", "ctrl+a")
    j.type(str(start[0]))
    j.key("Tab", "ctrl+a")
    j.type(str(end[0]))
    j.key("Tab", "Home", *["Down"] * (end[1] - 1))
    j.shot("period dialog filled")
    j.shot_window(d, "period dialog")
    j.key("Tab", "Tab", "space")  # past the format group to OK
    j.wait_gone(d)


def menu(j, main, menu_letter, item_letter):
    j.focus(main)
    j.key(f"alt+{menu_letter}")
    time.sleep(0.3)
    j.key(item_letter)


def dismiss_boxes(j, caption, expected, timeout=15):
    """Dismisses `expected` message boxes of that caption one after another."""
    for n in range(expected):
        box = j.wait_window(caption, timeout=timeout)
        j.shot(f"message {n + 1}")
        j.focus(box)
        j.key("Return")
        j.wait_gone(box)


def close_program(j, main, timeout=20):
    """Exit from the file menu; the save question, when it comes, is answered No."""
    menu(j, main, "f", "x")
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if j.program.poll() is not None:
            j.expect(j.program.returncode == 0, f"the program ended with {j.program.returncode}")
            return
        boxes = [w for w in j.find_windows("^Kozenica$") if w != main]
        if boxes:
            j.shot("question")
            j.focus(boxes[-1])
            j.key("alt+n")
            j.wait_gone(boxes[-1])
        time.sleep(0.1)
    raise JourneyFailed(f"the program did not end within {timeout} s; visible: {j.visible_captions()}")


def wait_for_file(j, name, differs_from=None, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(j.path(name)):
            data = j.read_bytes(name)
            if differs_from is None or data != differs_from:
                return data
        time.sleep(0.1)
    raise JourneyFailed(f"{name} was not {'changed' if differs_from else 'written'} within {timeout} s")


def expect_month_bytes(j, data, expected):
    """A written KZN month holds the expected lines, byte for byte where the bytes carry meaning."""
    j.expect(kzn_lines(data) == kzn_lines(expected),
             f"lines read back {kzn_lines(data)}, expected {kzn_lines(expected)}")
    j.expect(masked_kzn(data) == expected, f"file bytes differ from the expected records: {data.hex()}")


def shoot_and_close(j, caption, label, no_box, why):
    """Waits for the window of that caption, shoots it, checks that no box whose caption matches no_box
    came with it, and closes it."""
    wid = j.wait_window(caption)
    j.shot_window(wid, label)
    j.expect(j.find_windows(no_box) == [], why)
    j.close_window(wid)
    j.wait_gone(wid)


def masked_kzn(data):
    """A KZN file with the bytes that carry no meaning (past each text's length,
    and the reserved bytes) zeroed, so two files compare by what they hold."""
    out = bytearray(data)
    for start in range(16, len(out) - 79, 80):
        for length_at, size in ((1, 20), (22, 20), (56, 20)):
            n = min(out[start + length_at], 20)
            out[start + length_at + 1 + n:start + length_at + 1 + size] = b"\0" * (size - n)
        out[start + 43] = 0
        out[start + 77:start + 80] = b"\0\0\0"
    return bytes(out)


def frame_origin(j, wid):
    g = j.geometry(wid)
    left, _, top, _ = j.frame_extents(wid)
    return g["X"] - left, g["Y"] - top


def pie_geometry(client_width, client_height):
    """Centre and diameter of the pie in the summary window's client area."""
    h = client_height // 2
    w = (client_width // 3) * 2
    d = min(w, h)
    x0, y0 = (w - d) // 2, (h - d) // 2
    return x0 + d // 2, y0 + d // 2, d


# ---- the journeys ----

def type_and_save(j):
    """Types three lines, saves them as a KZN month, closes: file and settings."""
    with j.step("start"):
        main = j.start()
        j.expect(j.window_name(main) == "Kozenica", f"caption is {j.window_name(main)!r}")
        j.shot("started")
        j.shot_window(main, "main window")
    with j.step("type three lines"):
        j.focus(main)
        j.key(*["Return"] * 7)  # through the carried-forward line to a new line 2, shop column
        j.key("ctrl+a")
        j.type("スーパー")
        j.key("Return")
        j.type("牛乳")  # in corresp.dat with kind 1
        j.key("Return", "Return", "Return")  # kind, income, to expense
        j.type("１２３４")  # full-width digits
        j.key("Return")
        j.type("特売")
        j.key("Return")  # new line 3 with day and shop copied
        j.key("ctrl+a")
        j.type("コンビニ")
        j.key("Return")
        j.type("弁当")  # kind 2
        j.key("Return", "Return", "Return")
        j.type("580")
        j.key("Return", "Return")  # memo empty, new line 4
        j.key("ctrl+a")
        j.type("会社")
        j.key("Return")
        j.type("給料")  # kind 20
        j.key("Return", "Return")
        j.type("250000")
        j.key("Return")
        j.shot("three lines typed")
        j.shot_window(main, "ledger")
    with j.step("resize the main window"):
        j.resize(main, 720, 520)
        j.shot("resized")
    with j.step("save as 2024/5 KZN"):
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2024, 5, "kzn")
        data = wait_for_file(j, "2024_5.kzn")
        j.shot("saved")
        j.expect(j.window_name(main) == "Kozenica [2024_5.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("check the month file"):
        expected = kzn_file([CARRIED,
                             (1, "スーパー", "牛乳", 1, 0, 1234, "特売"),
                             (1, "コンビニ", "弁当", 2, 0, 580, ""),
                             (1, "会社", "給料", 20, 250000, 0, "")])
        expect_month_bytes(j, data, expected)
    with j.step("close"):
        outer = j.outer_size(main)
        origin = frame_origin(j, main)
        close_program(j, main)
    with j.step("check the settings file"):
        settings = j.read_bytes("kozenic.int")
        j.expect(len(settings) == 88, f"kozenic.int has {len(settings)} bytes")
        values = settings_values(settings)
        # The program keeps the window's outer size, the size it applies at start.
        j.expect((values[10], values[11]) == outer, f"stored size {values[10:12]}, window was {outer}")
        j.expect((values[9], values[8]) == origin, f"stored left/top {values[9]},{values[8]}, window was {origin}")
        j.expect(values[:8] == DEFAULT_SETTINGS[:8], f"column widths {values[:8]}")
        j.expect(values[16:] == DEFAULT_SETTINGS[16:], f"graph entries {values[16:]}")


def reopen_and_overwrite(j):
    """Starts with stored sizes, opens a month, changes one amount, overwrites."""
    settings = list(DEFAULT_SETTINGS)
    settings[0:8] = [12, 60, 130, 100, 40, 90, 90, 100]
    settings[8:12] = [30, 40, 700, 520]
    j.write_bytes("kozenic.int", struct.pack("<22i", *settings))
    month = kzn_file([CARRIED,
                      (3, "スーパー", "牛乳", 1, 0, 198, "特売"),
                      (7, "本屋", "本", 11, 0, 1500, "")])
    j.write_bytes("2024_5.kzn", month)

    with j.step("start with the stored window size"):
        main = j.start()
        j.shot("started")
        j.expect(j.outer_size(main) == (700, 520), f"window is {j.outer_size(main)} outside, stored 700x520")
        j.expect(frame_origin(j, main) == (40, 30), f"window at {frame_origin(j, main)}, stored 40,30")
    with j.step("open 2024/5"):
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 5, "kzn")
        deadline = time.monotonic() + 5
        while j.window_name(main) != "Kozenica [2024_5.kzn]" and time.monotonic() < deadline:
            time.sleep(0.1)
        j.shot("opened")
        j.expect(j.window_name(main) == "Kozenica [2024_5.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("change the expense of line 2"):
        j.focus(main)
        j.key(*["Return"] * 7)  # to line 2, shop
        j.key(*["Return"] * 4)  # item, kind, income, expense
        j.key("ctrl+a")
        j.type("2480")
        j.key("Return")
        j.shot("changed")
    with j.step("overwrite"):
        menu(j, main, "f", "s")
        data = wait_for_file(j, "2024_5.kzn", differs_from=month)
        j.shot("overwritten")
        expected = bytearray(month)
        expected[16 + 80 + 52:16 + 80 + 56] = struct.pack("<i", 2480)
        j.expect(masked_kzn(data) == bytes(expected),
                 f"only line 2's expense should change; lines now {kzn_lines(data)}")
    with j.step("close"):
        close_program(j, main)
        values = settings_values(j.read_bytes("kozenic.int"))
        j.expect(values[0:8] == settings[0:8], f"column widths came back as {values[0:8]}, stored {settings[0:8]}")
        j.expect(values[10:12] == [700, 520], f"window size came back as {values[10:12]}")


def monthly_summary(j):
    """The summary pie of a prepared month, and its size kept to the next time."""
    j.write_bytes("2024_6.kzn", kzn_file([CARRIED,
                                          (3, "スーパー", "牛乳", 1, 0, 600, ""),
                                          (5, "ドラッグ", "洗剤", 3, 0, 300, ""),
                                          (9, "駅", "電車", 8, 0, 100, "")]))
    with j.step("start and open 2024/6"):
        main = j.start()
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 6, "kzn")
        j.shot("opened")
    with j.step("show the monthly summary"):
        menu(j, main, "g", "r")
        graph = j.wait_window("^月内集計グラフ$")
        j.expect(j.outer_size(graph) == (400, 400), f"graph window is {j.outer_size(graph)}, expected 400x400")
        shot = j.shot_window(graph, "monthly summary")
        shot = j.shot("monthly summary screen")
    with j.step("check the pie"):
        g = j.geometry(graph)
        cx, cy, d = pie_geometry(g["WIDTH"], g["HEIGHT"])
        # 60 % aqua from twelve o'clock past six, 30 % yellow round nine o'clock.
        right = j.pixel(shot, g["X"] + cx + d // 4, g["Y"] + cy)
        left = j.pixel(shot, g["X"] + cx - d // 4, g["Y"] + cy)
        j.expect(right == AQUA, f"right of the centre is {right}, expected aqua (colour 1)")
        j.expect(left == YELLOW, f"left of the centre is {left}, expected yellow (colour 2)")
        lime = j.count_colour(shot, LIME, (g["X"], g["Y"], g["WIDTH"] * 2 // 3, g["HEIGHT"] // 2))
        j.expect(lime > 20, f"{lime} lime pixels in the pie, expected the 10 % slice")
    with j.step("resize and close the summary"):
        j.resize(graph, 500, 440)
        j.shot("summary resized")
        size = j.outer_size(graph)
        j.close_window(graph)
        j.wait_gone(graph)
    with j.step("show the summary again"):
        menu(j, main, "g", "r")
        graph = j.wait_window("^月内集計グラフ$")
        j.shot("summary again")
        j.expect(j.outer_size(graph) == size, f"graph window came back as {j.outer_size(graph)}, left at {size}")
        j.close_window(graph)
        j.wait_gone(graph)
    with j.step("close and check the settings"):
        close_program(j, main)
        values = settings_values(j.read_bytes("kozenic.int"))
        j.expect(tuple(values[20:22]) == size, f"stored graph size {values[20:22]}, expected {size}")


def period_months():
    """24 months from 2022/1 with two missing; 牛乳 once or twice a month."""
    files = {}
    for i in range(24):
        year, month = 2022 + i // 12, i % 12 + 1
        if (year, month) in ((2022, 6), (2023, 3)):
            continue
        lines = [CARRIED, (2, "スーパー", "牛乳", 1, 0, 170 + (i * 37) % 60, ""),
                 (4, "駅", "電車", 8, 0, 160, "")]
        if i % 3 == 0:
            lines.append((20, "コンビニ", "牛乳", 1, 0, 230 + i, "夜"))
        files[f"{year}_{month}.csv"] = csv_file(lines)
    return files


def run_period_command(j, main, menu_letters, caption, result_caption):
    """Chooses a period command from its menu, fills the dialog for milk over
    2022/1..2023/12, dismisses the two missing-month boxes and returns the
    result window."""
    menu(j, main, *menu_letters)
    period_dialog(j, caption, "牛乳", (2022, 1), (2023, 12))
    dismiss_boxes(j, "^ｴﾗｰ$", 2)
    return j.wait_window(result_caption)


def period_analyses(j):
    """Price history and cheapest search over 24 months, two of them missing."""
    for name, data in period_months().items():
        j.write_bytes(name, data)
    with j.step("start"):
        main = j.start()
    with j.step("price history"):
        graph = run_period_command(j, main, ("g", "t"), "^期間変動$", "^期間変動グラフ$")
        j.shot_window(graph, "price history")
        shot = j.shot("price history screen")
    with j.step("check the price graph"):
        g = j.geometry(graph)
        box = (g["X"], g["Y"], g["WIDTH"] * 3 // 4, g["HEIGHT"] // 2)
        blue = j.count_colour(shot, BLUE, box)
        aqua = j.count_colour(shot, AQUA, box)
        j.expect(blue > 100, f"{blue} blue pixels of the price line")
        j.expect(aqua > 100, f"{aqua} aqua pixels of the scale lines")
        j.expect(j.pixel(shot, g["X"] + box[2] // 2, g["Y"] + 2) == (255, 255, 255), "the plot is not white")
        j.close_window(graph)
        j.wait_gone(graph)
    with j.step("cheapest search"):
        result = run_period_command(j, main, ("s", "b"), "^最安値探索$", "^最安値探索結果$")
        j.shot_window(result, "cheapest search")
        j.shot("cheapest search screen")
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "a further error box is shown")
    with j.step("close"):
        close_program(j, main)


def damaged_and_missing_months(j):
    """A damaged month file and a missing one, opened through the dialog."""
    good = kzn_file([CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, "")])
    j.write_bytes("2024_7.kzn", good[:-30])  # cut inside its record
    with j.step("start"):
        main = j.start()
    with j.step("open a damaged month"):
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 7, "kzn")
        dismiss_boxes(j, "^ｴﾗｰ$", 1)
        j.shot("after the damaged month")
        j.expect(j.window_name(main) == "Kozenica", f"caption is {j.window_name(main)!r}, expected an unnamed month")
        j.expect(j.read_bytes("2024_7.kzn") == good[:-30], "the damaged file was changed")
    with j.step("open a missing month"):
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 8, "kzn")
        dismiss_boxes(j, "^ｴﾗｰ$", 1)
        j.expect(j.window_name(main) == "Kozenica [2024_8.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("overwrite creates the missing month"):
        menu(j, main, "f", "s")
        data = wait_for_file(j, "2024_8.kzn")
        j.expect(kzn_lines(data) == [CARRIED], f"new month file holds {kzn_lines(data)}")
    with j.step("close"):
        close_program(j, main)


def japanese_folder(j):
    """The program in a folder named 山田/家計簿: open, save as, period search."""
    april = [CARRIED, (2, "スーパー", "牛乳", 1, 0, 198, ""), (9, "駅", "電車", 8, 0, 160, "")]
    j.write_bytes("2024_4.csv", csv_file(april))
    j.write_bytes("2024_6.csv", csv_file([CARRIED, (5, "生協", "牛乳", 1, 0, 178, "")]))
    with j.step("start"):
        main = j.start()
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "start-up told an error (kindlist.dat not found?)")
    with j.step("open 2024/4"):
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 4, "csv")
        j.shot("opened")
        j.expect(j.window_name(main) == "Kozenica [2024_4.csv]", f"caption is {j.window_name(main)!r}")
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "opening told an error")
    with j.step("save as 2024/7 KZN"):
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2024, 7, "kzn")
        data = wait_for_file(j, "2024_7.kzn")
        j.expect(kzn_lines(data) == april, f"the saved month holds {kzn_lines(data)}")
    with j.step("cheapest search over 2024/4 to 2024/6, May missing"):
        menu(j, main, "s", "b")
        period_dialog(j, "^最安値探索$", "牛乳", (2024, 4), (2024, 6))
        box = j.wait_window("^ｴﾗｰ$")
        j.shot_window(box, "missing month")  # the path shows 山田/家計簿
        dismiss_boxes(j, "^ｴﾗｰ$", 1)
        result = j.wait_window("^最安値探索結果$")
        j.shot_window(result, "cheapest search")
    with j.step("close"):
        close_program(j, main)
        j.expect(len(j.read_bytes("kozenic.int")) == 88, "kozenic.int was not written in the folder")


def full_month_lines():
    return [CARRIED] + [((i % 31) + 1, f"店{i % 97}", f"品名{i}", i % 20, (i * 13) % 5000, (i * 7919) % 100000,
                         f"メモ{i}") for i in range(1, 1999)]


def full_month(j):
    """A month of 1999 lines: opened, refused a 2000th line, saved as CSV."""
    lines = full_month_lines()
    j.write_bytes("2024_1.kzn", kzn_file(lines))
    with j.step("start and open the full month"):
        main = j.start()
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 1, "kzn")
        j.expect(j.window_name(main) == "Kozenica [2024_1.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("no 2000th line"):
        menu(j, main, "e", "b")  # to the last line
        j.focus(main)
        j.key(*["Return"] * 6)  # day to memo
        j.shot("last line memo")
        j.key("Return")
        dismiss_boxes(j, "^警告$", 1)
        j.shot("refused")
    with j.step("save as CSV"):
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2024, 2, "csv")
        data = wait_for_file(j, "2024_2.csv")
        j.expect(data == csv_file(lines), "the CSV file differs from the month's 1999 lines")
    with j.step("close"):
        close_program(j, main)


def expect_still_open(j, main):
    time.sleep(0.5)
    j.expect(j.program.poll() is None, f"the program ended (exit {j.program.returncode})")
    j.expect(main in j.find_windows(MAIN), f"the main window is gone; visible: {j.visible_captions()}")


def overwrite_no_then_yes(j, main, name, before, question):
    """The overwrite command asks: No (Enter, the default) leaves the file as it was, Yes writes it.
    The bytes that Yes wrote."""
    with j.step("overwrite, No"):
        menu(j, main, "f", "s")
        answer_box(j, "^警告$", ["Return"], question)
        time.sleep(0.5)
        j.expect(j.read_bytes(name) == before, f"{name} was changed after No")
    with j.step("overwrite, Yes"):
        menu(j, main, "f", "s")
        answer_box(j, "^警告$", ["alt+y"], question + " again")
        return wait_for_file(j, name, differs_from=before)


def answer_box(j, caption, keys, label):
    """Waits for a message box, shoots it and answers it with the keys."""
    box = j.wait_window(caption)
    j.shot(label)
    j.focus(box)
    j.key(*keys)
    j.wait_gone(box)


def closing_keeps_this_month(j):
    """Exit, Return, Return: the save question's Yes and the dialog's proposed
    month (this month, CSV) reach this month's file; the default No of the new
    question keeps it and the window."""
    today = datetime.date.today()
    name = f"{today.year}_{today.month}.csv"
    month = csv_file([CARRIED] + [(d, "スーパー", f"品{d}", 1, 0, 100 + d, "") for d in range(1, 29)])
    j.write_bytes(name, month)
    with j.step("start"):
        main = j.start()
    with j.step("exit, Return, Return"):
        menu(j, main, "f", "x")
        question = j.wait_window("^Kozenica$", exclude=(main,))
        j.shot("save question")
        j.focus(question)
        j.key("Return")
        dialog = j.wait_window("^ ?保　存$")
        j.shot("proposed month")
        j.focus(dialog)
        j.key("Return")
        j.wait_gone(dialog)
    with j.step("the replace question, answered by Return"):
        answer_box(j, "^警告$", ["Return"], "replace question")
        expect_still_open(j, main)
        j.expect(j.read_bytes(name) == month, f"{name} was changed")
    with j.step("close without saving"):
        close_program(j, main)
        j.expect(j.read_bytes(name) == month, f"{name} was changed at closing")


def long_month(j):
    """A CSV month of 3000 lines: told at open, asked at overwrite; No keeps
    the file whole, Yes writes lines 1 to 1999."""
    lines = [CARRIED] + [((i % 28) + 1, "店", f"品{i}", 1, 0, i, "") for i in range(1, 3000)]
    whole = csv_file(lines)
    j.write_bytes("2024_5.csv", whole)
    with j.step("open: the warning"):
        main = j.start()
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 5, "csv")
        answer_box(j, "^警告$", ["Return"], "too many lines")
    data = overwrite_no_then_yes(j, main, "2024_5.csv", whole, "overwrite question")
    with j.step("the first 1999 lines written"):
        count = data.count(b"\r\n")
        j.expect(data == csv_file(lines[:1999]), f"the file holds {count} lines, not the first 1999")
    with j.step("close"):
        close_program(j, main)


def csv_unsafe_texts(j):
    """A KZN month whose shop holds a comma and whose memo holds 0x1A, saved as
    CSV: No writes nothing, Yes writes the full-width comma and a space."""
    j.write_bytes("2024_6.kzn", kzn_file([CARRIED, (3, "ABC,Inc", "牛乳", 1, 0, 198, "特売\x1a"),
                                          (4, "駅", "電車", 8, 0, 160, "")]))
    with j.step("open the KZN month"):
        main = j.start()
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 6, "kzn")
    with j.step("save as CSV, No"):
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2024, 6, "csv")
        answer_box(j, "^警告$", ["alt+n"], "texts question")
        time.sleep(0.5)
        j.expect(not os.path.exists(j.path("2024_6.csv")), "a CSV file was written after No")
        j.expect(j.window_name(main) == "Kozenica [2024_6.kzn]", f"caption is {j.window_name(main)!r}")
    with j.step("save as CSV, Yes"):
        menu(j, main, "f", "a")
        year_month_dialog(j, "^ ?保　存$", 2024, 6, "csv")
        answer_box(j, "^警告$", ["alt+y"], "texts question again")
        data = wait_for_file(j, "2024_6.csv")
        j.shot("saved")
        expected = sjis("1,,繰越,0,0,0,\r\n3,ABC，Inc,牛乳,1,0,198,特売 \r\n4,駅,電車,8,0,160,\r\n")
        j.expect(data == expected, f"the CSV file is {data!r}")
    with j.step("close"):
        close_program(j, main)


def changed_on_disk(j):
    """Another program (a second copy, a sync tool) adds a line to the month
    this one has open: the overwrite asks, No keeps the other's line, Yes
    writes this month."""
    ours = kzn_file([CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, "")])
    theirs = kzn_file([CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, ""), (5, "本屋", "本", 11, 0, 1500, "")])
    j.write_bytes("2024_5.kzn", ours)
    with j.step("open"):
        main = j.start()
        menu(j, main, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 5, "kzn")
    with j.step("the other program saves"):
        time.sleep(0.2)
        j.write_bytes("2024_5.kzn.tmp", theirs)
        os.replace(j.path("2024_5.kzn.tmp"), j.path("2024_5.kzn"))
    data = overwrite_no_then_yes(j, main, "2024_5.kzn", theirs, "changed question")
    with j.step("this program's month written"):
        j.expect(masked_kzn(data) == ours, f"lines now {kzn_lines(data)}")
    with j.step("overwrite again: no question"):
        menu(j, main, "f", "s")
        time.sleep(1.0)
        j.expect(j.find_windows("^警告$") == [], "asked again about the program's own save")
    with j.step("close"):
        close_program(j, main)


def two_copies(j):
    """Two copies of the program open the same month; the second adds a line
    and saves; the first one's overwrite asks, and No keeps the second's line."""
    month = kzn_file([CARRIED, (3, "スーパー", "牛乳", 1, 0, 198, "")])
    j.write_bytes("2024_5.kzn", month)
    with j.step("the first copy opens 2024/5"):
        first = j.start()
        menu(j, first, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 5, "kzn")
    second_program = subprocess.Popen([j.path("kozenica")], cwd="/", env=j.display.env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        with j.step("the second copy opens 2024/5, adds a line and saves"):
            second = j.wait_window("^Kozenica$", exclude=(first,))
            menu(j, second, "f", "o")
            year_month_dialog(j, "^読み込み$", 2024, 5, "kzn")
            menu(j, second, "e", "b")  # to the last line
            j.focus(second)
            j.key(*["Return"] * 7)  # to a new line 3, shop
            j.key("ctrl+a")
            j.type("本屋")
            j.key("Return")
            j.type("本")
            j.key("Return", "Return", "Return")
            j.type("1500")
            j.key("Return")
            menu(j, second, "f", "s")
            theirs = wait_for_file(j, "2024_5.kzn", differs_from=month)
            j.shot("second copy saved")
            j.expect(len(kzn_lines(theirs)) == 3, f"the second copy saved {kzn_lines(theirs)}")
        with j.step("the first copy overwrites: asked, No"):
            menu(j, first, "f", "s")
            answer_box(j, "^警告$", ["Return"], "changed question")
            time.sleep(0.5)
            j.expect(j.read_bytes("2024_5.kzn") == theirs, "the second copy's line was lost")
    finally:
        second_program.terminate()
        second_program.wait(5)
    with j.step("close"):
        close_program(j, first)
        j.expect(j.read_bytes("2024_5.kzn") == theirs, "the second copy's line was lost at closing")


def endless_range(j):
    """A cheapest search from 224/1 (for 2024/1) asks once and ends on No; a
    search over two missing months stops at the first box's 中止."""
    j.write_bytes("2024_1.csv", csv_file([CARRIED, (2, "スーパー", "牛乳", 1, 0, 170, "")]))
    j.write_bytes("2024_4.csv", csv_file([CARRIED, (2, "スーパー", "牛乳", 1, 0, 180, "")]))
    with j.step("start"):
        main = j.start()
    with j.step("224/1 to 2024/3: one question, No"):
        menu(j, main, "s", "b")
        period_dialog(j, "^最安値探索$", "牛乳", (224, 1), (2024, 3))
        answer_box(j, "^警告$", ["Return"], "many missing months")
        time.sleep(1.0)
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "a missing-month box came after No")
        j.expect(j.find_windows("^最安値探索結果$") == [], "a result window came after No")
    with j.step("2024/1 to 2024/4: stop at the first missing month"):
        menu(j, main, "s", "b")
        period_dialog(j, "^最安値探索$", "牛乳", (2024, 1), (2024, 4))
        answer_box(j, "^ｴﾗｰ$", ["Tab", "space"], "missing month with stop")
        time.sleep(1.0)
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "a further missing-month box came after stop")
        j.expect(j.find_windows("^最安値探索結果$") == [], "a result window came after stop")
        expect_still_open(j, main)
    with j.step("close"):
        close_program(j, main)


def expect_outer(j, wid, what, size, origin=None):
    j.expect(j.outer_size(wid) == size, f"{what} is {j.outer_size(wid)} outside, expected {size}")
    if origin:
        j.expect(frame_origin(j, wid) == origin, f"{what} at {frame_origin(j, wid)}, expected {origin}")


def window_sizes(j):
    """Six runs in a row keep every window's outer size; a stored 800x520 opens 800x520 outside."""
    for run in range(1, 7):
        with j.step(f"run {run}: the windows' outer sizes"):
            main = j.start()
            if run == 1:
                j.shot("first run")
            expect_outer(j, main, "main window", (635, 450), (0, 0))
            menu(j, main, "e", "k")
            kinds = j.wait_window("^List$")
            expect_outer(j, kinds, "kind list", (160, 300), (57, 40))
            menu(j, main, "f", "a")
            dialog = j.wait_window("^ ?保　存$")
            expect_outer(j, dialog, "year/month dialog", (214, 229), (57, 40))
            if run == 1:
                j.shot("year month dialog")
            j.key("Escape")
            j.wait_gone(dialog)
            if run == 1:
                menu(j, main, "g", "t")
                period = j.wait_window("^期間変動$")
                height = j.outer_size(period)[1]
                j.expect(height == 276, f"period dialog is {height} high outside, expected 276")
                j.expect(frame_origin(j, period) == (211, 150), f"period dialog at {frame_origin(j, period)}")
                j.key("Escape")
                j.wait_gone(period)
            menu(j, main, "h", "m")
            manual = j.wait_window("^MANUAL$")
            expect_outer(j, manual, "manual window", (504, 360), (63, 45))
            close_program(j, main)
        with j.step(f"run {run}: the settings written"):
            values = settings_values(j.read_bytes("kozenic.int"))
            j.expect(values[8:12] == [0, 0, 635, 450], f"main window stored as {values[8:12]}")
            j.expect(values[12:16] == [40, 80, 160, 300], f"kind list stored as {values[12:16]}")
    with j.step("a stored 800x520 at 40,30"):
        settings = list(DEFAULT_SETTINGS)
        settings[8:12] = [30, 40, 800, 520]
        j.write_bytes("kozenic.int", struct.pack("<22i", *settings))
        main = j.start()
        j.shot("800x520")
        expect_outer(j, main, "main window", (800, 520), (40, 30))
        close_program(j, main)
        values = settings_values(j.read_bytes("kozenic.int"))
        j.expect(values[8:12] == [30, 40, 800, 520], f"main window stored as {values[8:12]}")


def hostile_settings(j):
    """Settings no window can use: each window still opens usable on the 1280x1024 screen."""
    with j.step("width 0, off the screen, columns of 0"):
        settings = [0] * 8 + [3000, 5000, 0, 450, 0, -3, 100000, -1] + [0, 0, 0, 0, 5, 5]
        j.write_bytes("kozenic.int", struct.pack("<22i", *settings))
        main = j.start()
        j.shot("width 0 off the screen")
        expect_outer(j, main, "main window", (330, 450), (1280 - 330, 1024 - 450))
        menu(j, main, "e", "k")
        kinds = j.wait_window("^List$")
        expect_outer(j, kinds, "kind list", (1280, 100), (0, 614))
        j.shot("kind list")
        close_program(j, main)
        values = settings_values(j.read_bytes("kozenic.int"))
        j.expect(values[:8] == [1] * 8, f"ledger columns stored as {values[:8]}")
        j.expect(values[8:16] == [574, 950, 330, 450, 1, 1, 1280, 100], f"windows stored as {values[8:16]}")
    with j.step("100000x100000"):
        settings = list(DEFAULT_SETTINGS)
        settings[10:12] = [100000, 100000]
        j.write_bytes("kozenic.int", struct.pack("<22i", *settings))
        main = j.start()
        j.shot("huge")
        expect_outer(j, main, "main window", (1280, 1024), (0, 0))
        close_program(j, main)


JOURNEYS = {f.__name__: f for f in (type_and_save, reopen_and_overwrite, monthly_summary, period_analyses,
                                    damaged_and_missing_months, full_month, japanese_folder, window_sizes,
                                    hostile_settings, closing_keeps_this_month, long_month, csv_unsafe_texts,
                                    changed_on_disk, two_copies, endless_range)}
FOLDERS = {"japanese_folder": "山田/家計簿"}
TOOLS = ("Xvfb", "xdotool", "import", "convert", "xwininfo", "xprop")


def main():
    args = journey_arguments(JOURNEYS)
    missing = [t for t in TOOLS if not shutil.which(t)]
    if tell_missing(missing):
        return 77
    j = Journey(args.journey, os.path.abspath(args.exe), os.path.abspath(args.data), os.path.abspath(args.out),
                window_manager="openbox", folder=FOLDERS.get(args.journey))
    return run_journey(args.journey, j, JOURNEYS[args.journey], keep=args.keep)


if __name__ == "__main__":
    sys.exit(main())
