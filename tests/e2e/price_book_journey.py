#!/usr/bin/env python3
"""The price book journey: the real program under Xvfb over 24 written months.

    price_book_journey.py --exe build/kozenica --data data --out build/e2e-out

The book of every item from its menu item, sorted by 差 with two header
clicks, two rows copied with Ctrl+C and read back from the X clipboard,
narrowed by a shop name typed in Japanese, and an item's price graph opened by
a double-click. Exit status as journeys.py (77 when a tool is missing).
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Journey, JourneyFailed, run_journey, journey_arguments, tell_missing, csv_file, run  # noqa: E402
from journeys import CARRIED, close_program, menu, period_dialog, shoot_and_close  # noqa: E402

HEADER = "品名\t種類\t回数\t最安値\t店名\t日付\t最近\t店名\t日付\t差"
KINDS = {1: "食費", 8: "交通費"}  # as data/kindlist.dat names them, where it does
# Where the window's parts stand in its client area: the filter box on top,
# the header row of 20 pixels under it, then rows of 20 pixels (the middles).
HEADER_Y = 36
FIRST_ROW_Y = HEADER_Y + 20
COLUMN_WIDTHS = [120, 70, 40, 60, 90, 76, 60, 90, 76, 50]


def book_months():
    """24 months from 2022/1, every one written; (file name, lines) pairs."""
    months = []
    for i in range(24):
        year, month = 2022 + i // 12, i % 12 + 1
        lines = [CARRIED,
                 (2, "スーパー", "牛乳", 1, 0, 170 + (i * 37) % 60, ""),
                 (4, "駅", "電車", 8, 0, 160, ""),
                 (9, "パン屋", "パン", 1, 0, 150 + 2 * i, ""),
                 (12, "スーパー", "卵", 1, 0, 200 + (i * 11) % 40, "")]
        if i % 3 == 0:
            lines.append((20, "コンビニ", "牛乳", 1, 0, 230 + i, "夜"))
        if i % 4 == 1:
            lines.append((15, "八百屋", "卵", 1, 0, 190, ""))
        if i == 23:
            lines.append((25, "コンビニ", "牛乳", 1, 0, 260, ""))
            lines.append((28, "コンビニ", "アイス", 1, 0, 140, ""))
        months.append((year, month, lines))
    return months


def expected_book(months):
    """The book's rows as the window shows them, by item: lowest (the latest
    when tied), latest by date then line, the rise half up to one decimal."""
    book = {}
    order = 0
    for year, month, lines in months:
        for day, shop, item, kind, _income, expense, _memo in lines:
            if expense <= 0:
                continue
            order += 1
            when = (year, month, day, order)
            e = book.setdefault(item, {"count": 0, "low": None, "late": None})
            e["count"] += 1
            if e["low"] is None or expense < e["low"][0] or (expense == e["low"][0] and when > e["low"][2]):
                e["low"] = (expense, shop, when)
            if e["late"] is None or when > e["late"][2]:
                e["late"] = (expense, shop, when, kind)
    rows = []
    for item, e in book.items():
        low, late = e["low"], e["late"]
        tenths = ((late[0] - low[0]) * 2000 + low[0]) // (2 * low[0])
        date = lambda w: f"{w[0]}/{w[1]}/{w[2]}"
        rows.append({"item": item, "tenths": tenths,
                     "cells": [item, KINDS.get(late[3], str(late[3])), str(e["count"]), f"{low[0]:,}", low[1],
                               date(low[2]), f"{late[0]:,}", late[1], date(late[2]),
                               f"{tenths // 10}.{tenths % 10}"]})
    # By 差 downwards, equal rises by their items' Shift-JIS bytes.
    rows.sort(key=lambda r: r["item"].encode("cp932"))
    rows.sort(key=lambda r: r["tenths"], reverse=True)
    return rows


def clipboard(j):
    return run(["xclip", "-o", "-selection", "clipboard"], env=j.display.env).stdout


def copy_rows(j, book, first_row, last_row):
    """Selects rows first_row..last_row (1 is the top row) and copies them."""
    j.click_client(book, 60, FIRST_ROW_Y + 20 * (first_row - 1))
    j.key(*["shift+Down"] * (last_row - first_row))
    j.key("ctrl+c")
    time.sleep(0.3)
    return clipboard(j)


def price_book(j):
    months = book_months()
    for year, month, lines in months:
        j.write_bytes(f"{year}_{month}.csv", csv_file(lines))
    rows = expected_book(months)
    with j.step("start"):
        main = j.start()
    with j.step("the book of every item"):
        menu(j, main, "s", "p")
        period_dialog(j, "^底値表$", "", (2022, 1), (2023, 12))
        book = j.wait_window("^底値表結果$")
        j.expect(j.find_windows("^ｴﾗｰ$") == [], "an error box for a written month")
        j.shot_window(book, "price book")
        j.shot("price book screen")
    with j.step("sort by the rise"):
        x = sum(COLUMN_WIDTHS[:9]) + 20
        j.click_client(book, x, HEADER_Y)  # upwards
        j.click_client(book, x, HEADER_Y)  # downwards
        j.shot("sorted by rise")
    with j.step("copy two rows"):
        copied = copy_rows(j, book, 1, 2)
        want = "\n".join([HEADER] + ["\t".join(r["cells"]) for r in rows[:2]]) + "\n"
        j.expect(copied == want, f"copied {copied!r}, expected {want!r}")
    with j.step("filter by a shop typed in Japanese"):
        j.click_client(book, 200, 10)
        j.type("コンビニ")
        j.shot("filtered")
        shown = [r for r in rows if any("コンビニ" in c for c in r["cells"][:2] + [r["cells"][4], r["cells"][7]])]
        copied = copy_rows(j, book, 1, len(shown))
        want = "\n".join([HEADER] + ["\t".join(r["cells"]) for r in shown]) + "\n"
        j.expect(len(shown) == 2 and copied == want, f"copied {copied!r}, expected {want!r}")
    with j.step("price graph by double-click"):
        j.click_client(book, 60, FIRST_ROW_Y)
        j.xdo("click", "--repeat", "2", "--delay", "80", "1")
        shoot_and_close(j, "^期間変動グラフ$", "graph from the book", "^ｴﾗｰ$", "an error box for a written month")
    with j.step("close"):
        close_program(j, main)


def main():
    args = journey_arguments()
    tools = ("Xvfb", "xdotool", "xclip", "import", "convert", "xwininfo", "xprop")
    missing = [t for t in tools if not shutil.which(t)]
    if tell_missing(missing):
        return 77
    j = Journey("price_book", os.path.abspath(args.exe), os.path.abspath(args.data), os.path.abspath(args.out),
                window_manager="openbox")
    return run_journey("price_book", j, price_book, keep=args.keep)


if __name__ == "__main__":
    sys.exit(main())
