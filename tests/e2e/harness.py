"""Drives the real Kozenica program on a virtual X screen, as a person would.

A journey gets a fresh program directory (the built executable with the list
files and the manual beside it), its own Xvfb display, and an output folder
where every step leaves a numbered screenshot. Keys and text go in through
xdotool; windows are found by their captions, polling with a timeout instead
of fixed sleeps. A failing step names itself and its last screenshot.
"""

import argparse
import ctypes
import ctypes.util
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from contextlib import contextmanager

SCREEN = "1280x1024x24"


class JourneyFailed(Exception):
    pass


def sjis(text):
    return text.encode("cp932")


def run(args, check=True, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    if check and result.returncode != 0:
        raise JourneyFailed(f"{' '.join(args)} failed: {result.stderr.strip()}")
    return result


class Keymap:
    """Binds characters that the keyboard map lacks (Japanese text) to free
    keycodes before they are typed. xdotool would otherwise remap a scratch
    keycode for each such character and restore it at once, and the program,
    reading the map a moment later, loses characters."""

    def __init__(self, display_name):
        self.x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                            ctypes.POINTER(ctypes.c_int)]
        self.x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        self.x.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                               ctypes.POINTER(ctypes.c_int)]
        self.x.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                  ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise JourneyFailed(f"cannot open display {display_name}")
        low, high, per = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        self.x.XDisplayKeycodes(self.dpy, ctypes.byref(low), ctypes.byref(high))
        count = high.value - low.value + 1
        syms = self.x.XGetKeyboardMapping(self.dpy, low.value, count, ctypes.byref(per))
        self.free = [low.value + i for i in range(count)
                     if all(syms[i * per.value + k] == 0 for k in range(per.value))]
        self.x.XFree(syms)
        self.bound = {}  # character -> keycode, oldest first

    def bind(self, chars):
        """Binds every character of chars; True when the map changed."""
        wanted = [c for c in dict.fromkeys(chars) if c not in self.bound]
        if len(wanted) > len(self.free):
            raise JourneyFailed(f"too many different characters to type at once: {len(wanted)}")
        for c in wanted:
            if len(self.bound) < len(self.free):
                code = self.free[len(self.bound)]
            else:
                keep = set(chars)
                old = next(k for k in self.bound if k not in keep)
                code = self.bound.pop(old)
            self.bound[c] = code
            sym = (ctypes.c_ulong * 1)(0x01000000 | ord(c))
            self.x.XChangeKeyboardMapping(self.dpy, code, 1, sym, 1)
        self.x.XSync(self.dpy, 0)
        return bool(wanted)

    def close(self):
        self.x.XCloseDisplay(self.dpy)


class Display:
    """An Xvfb server on a free display number, with an optional window manager."""

    def __init__(self, window_manager=None):
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise JourneyFailed("Xvfb did not start")
        self.name = ":" + number
        self.keymap = Keymap(self.name)
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.wm = None
        if window_manager and shutil.which(window_manager):
            self.wm = subprocess.Popen([window_manager], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)

    def close(self):
        self.keymap.close()
        for p in (self.wm, self.server):
            if p and p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()


class Journey:
    """One journey: a program directory, a display, numbered screenshots."""

    def __init__(self, name, exe, data_dir, out_root, window_manager=None, folder=None):
        self.name = name
        self.exe = exe
        self.data_dir = data_dir
        self.out = os.path.join(out_root, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        # The program's folder, perhaps below the temporary one (a folder
        # with a Japanese name, as a user's home or data folder often has).
        self.root = tempfile.mkdtemp(prefix=f"kozenica-e2e-{name}-")
        self.dir = os.path.join(self.root, folder) if folder else self.root
        os.makedirs(self.dir, exist_ok=True)
        self.display = Display(window_manager)
        self.program = None
        self.shot_number = 0
        self.last_shot = None
        self.step_name = None
        self.install()

    # ---- program directory ----

    def install(self):
        shutil.copy2(self.exe, os.path.join(self.dir, "kozenica"))
        for f in ("kindlist.dat", "corresp.dat", "manual.txt"):
            src = os.path.join(self.data_dir, f)
            if os.path.exists(src):
                shutil.copy2(src, os.path.join(self.dir, f))

    def path(self, name):
        return os.path.join(self.dir, name)

    def read_bytes(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write_bytes(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    # ---- the program ----

    def start(self):
        self.program = subprocess.Popen([self.path("kozenica")], cwd="/", env=self.display.env,
                                        stdout=open(os.path.join(self.out, "program.log"), "ab"),
                                        stderr=subprocess.STDOUT)
        return self.wait_window("^Kozenica")

    def wait_exit(self, timeout=15):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise JourneyFailed(f"the program did not end within {timeout} s")

    def stop(self):
        if self.program and self.program.poll() is None:
            self.program.send_signal(signal.SIGTERM)
            try:
                self.program.wait(5)
            except subprocess.TimeoutExpired:
                self.program.kill()
                self.program.wait()

    def close(self, keep_dir=False):
        self.stop()
        self.display.close()
        if not keep_dir:
            shutil.rmtree(self.root, ignore_errors=True)

    # ---- xdotool ----

    def xdo(self, *args, check=True):
        return run(["xdotool", *args], check=check, env=self.display.env)

    def find_windows(self, pattern):
        r = self.xdo("search", "--onlyvisible", "--name", pattern, check=False)
        return [w for w in r.stdout.split() if w]

    def window_name(self, wid):
        return self.xdo("getwindowname", wid, check=False).stdout.strip()

    def wait_window(self, pattern, timeout=15, exclude=()):
        """The first visible window whose caption matches, once it appears."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.program and self.program.poll() is not None:
                raise JourneyFailed(f"the program ended (exit {self.program.returncode}) "
                                    f"while waiting for a window '{pattern}'")
            found = [w for w in self.find_windows(pattern) if w not in exclude]
            if found:
                time.sleep(0.3)  # let it finish its first paint
                return found[-1]
            time.sleep(0.1)
        raise JourneyFailed(f"no window '{pattern}' within {timeout} s; visible: {self.visible_captions()}")

    def wait_gone(self, wid, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if wid not in self.find_windows("."):
                return
            time.sleep(0.1)
        raise JourneyFailed(f"window {wid} ({self.window_name(wid)}) still shown after {timeout} s")

    def visible_captions(self):
        return [self.window_name(w) for w in self.find_windows(".")]

    def focus(self, wid):
        self.xdo("windowactivate", "--sync", wid, check=False)
        self.xdo("windowfocus", "--sync", wid, check=False)
        time.sleep(0.2)

    def key(self, *keys, delay=60):
        for k in keys:
            self.xdo("key", "--clearmodifiers", "--delay", str(delay), k)
            time.sleep(0.08)

    def type(self, text, delay=40):
        """Types text; characters beyond ASCII go through keycodes bound first."""
        wide = [c for c in text if ord(c) > 0x7E]
        if wide and self.display.keymap.bind(wide):
            time.sleep(0.3)  # the program rereads the keyboard map
        run_of_ascii = ""
        for c in text + "\0":
            if c != "\0" and ord(c) <= 0x7E:
                run_of_ascii += c
                continue
            if run_of_ascii:
                self.xdo("type", "--delay", str(delay), run_of_ascii)
                run_of_ascii = ""
            if c != "\0":
                self.xdo("key", "--delay", str(delay), "U%04X" % ord(c))
        time.sleep(0.2)

    def geometry(self, wid):
        """The client area on the screen: X, Y (absolute), WIDTH, HEIGHT."""
        out = run(["xwininfo", "-id", wid], env=self.display.env).stdout
        grab = lambda label: int(re.search(label + r":\s*(-?\d+)", out).group(1))
        return {"X": grab("Absolute upper-left X"), "Y": grab("Absolute upper-left Y"),
                "WIDTH": grab("Width"), "HEIGHT": grab("Height")}

    def frame_extents(self, wid):
        """(left, right, top, bottom) of the window manager's frame; zeros without one."""
        out = run(["xprop", "-id", wid, "_NET_FRAME_EXTENTS"], env=self.display.env, check=False).stdout
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in m.groups()) if m else (0, 0, 0, 0)

    def outer_size(self, wid):
        g = self.geometry(wid)
        left, right, top, bottom = self.frame_extents(wid)
        return g["WIDTH"] + left + right, g["HEIGHT"] + top + bottom

    def resize(self, wid, width, height):
        self.xdo("windowsize", "--sync", wid, str(width), str(height), check=False)
        time.sleep(0.5)

    def click(self, x, y, button=1):
        self.xdo("mousemove", "--sync", str(x), str(y))
        self.xdo("click", str(button))
        time.sleep(0.2)

    def click_client(self, wid, x, y):
        """Clicks at a point given in the window's client coordinates."""
        g = self.geometry(wid)
        self.click(g["X"] + x, g["Y"] + y)

    def close_window(self, wid):
        """Closes a window by its close box, as the window manager does on alt+F4."""
        self.focus(wid)
        self.key("alt+F4")

    # ---- screenshots and pixels ----

    def shot(self, label):
        self.shot_number += 1
        safe = re.sub(r"[^a-z0-9-]+", "-", label.lower()).strip("-")
        path = os.path.join(self.out, f"{self.shot_number:02d}-{safe}.png")
        run(["import", "-display", self.display.name, "-window", "root", path], env=self.display.env)
        self.last_shot = path
        return path

    def shot_window(self, wid, label):
        """A screenshot of one window with its frame, for the README."""
        self.shot_number += 1
        safe = re.sub(r"[^a-z0-9-]+", "-", label.lower()).strip("-")
        path = os.path.join(self.out, f"{self.shot_number:02d}-{safe}.png")
        run(["import", "-display", self.display.name, "-window", wid, "-frame", path], env=self.display.env)
        self.last_shot = path
        return path

    @staticmethod
    def pixel(png, x, y):
        """(r, g, b) of one pixel of a screenshot."""
        out = run(["convert", png, "-crop", f"1x1+{x}+{y}", "+repage", "-depth", "8", "txt:-"]).stdout
        m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        if not m:
            raise JourneyFailed(f"cannot read pixel {x},{y} of {png}: {out}")
        return tuple(int(v) for v in m.groups())

    @staticmethod
    def count_colour(png, rgb, region=None):
        """How many pixels of the screenshot (or of region x, y, w, h) have the colour."""
        args = ["convert", png]
        if region:
            x, y, w, h = region
            args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        hexcolour = "#%02X%02X%02X" % rgb
        args += ["-fill", "black", "+opaque", hexcolour, "-fill", "white", "-opaque", hexcolour,
                 "-colorspace", "gray", "-format", "%[fx:mean*w*h]", "info:"]
        return round(float(run(args).stdout.strip() or 0))

    # ---- steps ----

    @contextmanager
    def step(self, name):
        self.step_name = name
        try:
            yield
        except JourneyFailed as e:
            raise JourneyFailed(f"step '{name}' failed: {e}") from None
        except AssertionError as e:
            raise JourneyFailed(f"step '{name}' failed: {e}") from None

    def expect(self, condition, message):
        if not condition:
            raise JourneyFailed(message)


def settings_values(data):
    """The 22 entries of a settings file's first 88 bytes."""
    return list(struct.unpack("<22i", data[:88]))


def kzn_record(day, shop, item, kind, income, expense, memo):
    def text(t):
        b = sjis(t)[:20]
        return bytes([len(b)]) + b + b"\0" * (20 - len(b))

    rec = struct.pack("<b", day) + text(shop) + text(item) + b"\0"
    rec += struct.pack("<iii", kind, income, expense) + text(memo) + b"\0\0\0"
    assert len(rec) == 80
    return rec


def kzn_file(lines):
    return b"kozenic file" + struct.pack("<i", len(lines) + 1) + b"".join(kzn_record(*l) for l in lines)


def kzn_lines(data):
    """The lines of a KZN file as (day, shop, item, kind, income, expense, memo)."""
    rows = struct.unpack("<i", data[12:16])[0]
    lines = []
    for i in range(rows - 1):
        rec = data[16 + 80 * i:16 + 80 * (i + 1)]
        day = struct.unpack("<b", rec[0:1])[0]
        shop = rec[2:2 + min(rec[1], 20)].decode("cp932", "replace")
        item = rec[23:23 + min(rec[22], 20)].decode("cp932", "replace")
        kind, income, expense = struct.unpack("<iii", rec[44:56])
        memo = rec[57:57 + min(rec[56], 20)].decode("cp932", "replace")
        lines.append((day, shop, item, kind, income, expense, memo))
    return lines


def csv_file(lines):
    text = "".join(",".join(str(v) for v in line) + "\r\n" for line in lines)
    return sjis(text)


def run_journey(name, journey, body, keep=False):
    """Runs body(journey): 0 when every step passes; 1 when one fails, after a
    last screenshot and with the step, the screenshot and the program
    directory named. The program directory is kept after a failure."""
    failed = True
    try:
        body(journey)
        failed = False
        print(f"e2e {name}: passed; screenshots in {journey.out}")
        return 0
    except JourneyFailed as e:
        try:
            journey.shot("failure")
        except JourneyFailed:
            pass
        print(f"e2e {name}: {e}")
        print(f"e2e {name}: last screenshot {journey.last_shot}")
        print(f"e2e {name}: program directory {journey.dir}")
        return 1
    finally:
        journey.close(keep_dir=keep or failed)


def journey_arguments(journeys=None):
    """The journeys' command line: --exe, --data, --out, --keep and, where a
    script holds several journeys, the journey's name."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the program directory")
    if journeys:
        parser.add_argument("journey", choices=sorted(journeys))
    return parser.parse_args()


def tell_missing(missing):
    """True, after naming them, when tools or parts a journey needs are missing."""
    if missing:
        print(f"e2e: missing {' '.join(missing)} (scripts/install-deps installs them)")
    return bool(missing)
