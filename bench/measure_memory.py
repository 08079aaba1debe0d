#!/usr/bin/env python3
"""Peak memory of the program with a full month: starts it on a virtual screen,
opens a 1999-line month file through the year/month dialog, goes to the last
line, and reads the peak resident size (VmHWM) from /proc. It drives the
program with the end-to-end journeys' runner (tests/e2e/journeys.py).

    measure_memory.py --exe build/kozenica --data data [--out DIR]

Prints one row for the benchmark table:
    peak memory, 1999-line month open: N MiB
"""

import argparse
import os
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import Failed, kzn  # noqa: E402
from journeys import FULL, J, Journey  # noqa: E402


def peak_kib(j):
    with open(f"/proc/{j.program.pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", default="/tmp/kozenica-measure-memory")
    args = parser.parse_args()
    peak = []
    # The last line, so that the grid draws the end of the month too.
    plan = J([("start",), ("open", 2024, 1, "kzn"), ("caption", "Kozenica [2024_1.kzn]"), ("menu", "eb"),
              ("sleep", 1), ("shot", "month open"), lambda j: peak.append(peak_kib(j)), ("exit",)],
             files={"2024_1.kzn": kzn(*FULL)})
    j = Journey("measure_memory", plan, os.path.abspath(args.exe), os.path.abspath(args.data), args.out)
    try:
        j.run()
    except Failed as e:
        print(f"measure-memory: {e}; last screenshot {j.last_shot}", file=sys.stderr)
        return 1
    finally:
        j.close()
        shutil.rmtree(j.root, ignore_errors=True)
    print(f"peak memory, 1999-line month open: {peak[0] / 1024:.0f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
