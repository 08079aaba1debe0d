#!/usr/bin/env python3
"""Peak memory of the program with a full month: starts it on a virtual screen,
opens a 1999-line month file through the year/month dialog, scrolls to the
last line, and reads the peak resident size (VmHWM) from /proc.

    measure_memory.py --exe build/kozenica --data data [--out DIR]

Prints one row for the benchmark table:
    peak memory, 1999-line month open: N MiB
"""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Journey, JourneyFailed, kzn_file  # noqa: E402
from journeys import close_program, full_month_lines, menu, year_month_dialog  # noqa: E402


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise JourneyFailed("no VmHWM in /proc status")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", default="/tmp/kozenica-measure-memory")
    args = parser.parse_args()

    j = Journey("measure_memory", os.path.abspath(args.exe), os.path.abspath(args.data), args.out,
                window_manager="openbox")
    j.write_bytes("2024_1.kzn", kzn_file(full_month_lines()))
    try:
        main_window = j.start()
        menu(j, main_window, "f", "o")
        year_month_dialog(j, "^読み込み$", 2024, 1, "kzn")
        deadline = time.monotonic() + 20
        while j.window_name(main_window) != "Kozenica [2024_1.kzn]":
            if time.monotonic() > deadline:
                raise JourneyFailed("the month did not open")
            time.sleep(0.1)
        j.focus(main_window)
        j.key("alt+e", "b")  # to the last line, so the grid draws the end of the month too
        time.sleep(1)
        j.shot("month open")
        kib = peak_kib(j.program.pid)
        close_program(j, main_window)
    except JourneyFailed as e:
        print(f"measure-memory: {e}; last screenshot {j.last_shot}", file=sys.stderr)
        return 1
    finally:
        j.close()
    print(f"peak memory, 1999-line month open: {kib / 1024:.0f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
