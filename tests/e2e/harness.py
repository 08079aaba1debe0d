"""The real program on its own Xvfb screen with openbox, driven as a person
would: windows found by caption through python-xlib, keys and text sent with
xdotool, screenshots with ImageMagick's import into OUT/JOURNEY/NN-label.png.
Optionally under a Japanese input method (IBus or Fcitx 5, with Mozc) on a
private session bus, as an unprivileged user when the tests run as root,
since Mozc's server will not run as root.
"""

import os
import pwd
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.append("/usr/lib/python3/dist-packages")  # Debian's python3-xlib for a python3 of its own (pyenv, venv)
try:
    from Xlib import X, Xatom, display as xdisplay, error as xerror
except ImportError:
    X = None

TOOLS = ("Xvfb", "xdotool", "import", "convert", "openbox")
IME_USER = "nobody"


class Failed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failed(message)


def poll(what, check, timeout=15):
    """check() until it gives something true; a failure naming what was awaited."""
    deadline = time.monotonic() + timeout
    while not (found := check()):
        expect(time.monotonic() < deadline, f"{what} not within {timeout} s")
        time.sleep(0.1)
    return found


def missing(ime=None):
    """The tools and packages this machine lacks for a journey."""
    lack = [t for t in TOOLS if not shutil.which(t)] + ([] if X else ["python3-xlib"])
    if ime:
        lack += [t for t in ("dbus-launch", "runuser", *IME_PARTS[ime]["tools"]) if not shutil.which(t)]
        lack += [p for p in IME_PARTS[ime]["files"] if not os.path.exists(p)]
        if os.geteuid() == 0 and not any(u.pw_name == IME_USER for u in pwd.getpwall()):
            lack.append(f"user {IME_USER}")
    return lack


# ---- the file formats ----

def kzn(*lines):
    """A KZN month: header, row count (lines + 1), 80-byte records."""
    def text(t):
        b = t.encode("cp932")[:20]
        return bytes([len(b)]) + b.ljust(20, b"\0")
    recs = [struct.pack("<b", d) + text(s) + text(i) + b"\0" + struct.pack("<iii", k, inc, exp) + text(m) + b"\0" * 3
            for d, s, i, k, inc, exp, m in lines]
    return b"kozenic file" + struct.pack("<i", len(lines) + 1) + b"".join(recs)


def masked(data):
    """A KZN file with the bytes that carry no meaning (past each text's length,
    the padding) zeroed, so two files compare by what they hold; other files as they are."""
    if not data.startswith(b"kozenic file"):
        return data
    out = bytearray(data)
    for at in range(16, len(out) - 79, 80):
        for length_at in (1, 22, 56):
            n = min(out[at + length_at], 20)
            out[at + length_at + 1 + n:at + length_at + 21] = bytes(20 - n)
        out[at + 43] = 0
        out[at + 77:at + 80] = bytes(3)
    return bytes(out)


def csv(*lines):
    return "".join(",".join(map(str, line)) + "\r\n" for line in lines).encode("cp932")


def ints(values):  # kozenic.int of these 22 entries
    return struct.pack("<22i", *values)


def settings(data):
    """The 22 entries of kozenic.int."""
    return list(struct.unpack("<22i", data[:88]))


# ---- the screen ----

class Screen:
    """Xvfb on a free display number with openbox, and the X connection."""

    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                        "-nolisten", "tcp"], pass_fds=(write_fd,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.name = ":" + f.readline().strip()
        expect(self.name != ":", "Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.x = xdisplay.Display(self.name)
        self.root = self.x.screen().root
        self.atom = lambda name: self.x.intern_atom(name)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        # Characters the keyboard map lacks are bound to free keycodes before they
        # are typed: xdotool would remap a scratch keycode for each and restore it
        # at once, and the program, reading the map a moment later, loses them.
        low, high = self.x.display.info.min_keycode, self.x.display.info.max_keycode
        rows = self.x.get_keyboard_mapping(low, high - low + 1)
        self.free = [low + n for n, syms in enumerate(rows) if not any(syms)]
        self.bound = {}

    def bind(self, chars):
        wanted = [c for c in dict.fromkeys(chars) if c not in self.bound]
        for c in wanted:
            if len(self.bound) < len(self.free):
                code = self.free[len(self.bound)]
            else:
                code = self.bound.pop(next(k for k in self.bound if k not in chars))
            self.bound[c] = code
            self.x.change_keyboard_mapping(code, [(0x01000000 | ord(c),)])
        self.x.sync()
        return bool(wanted)

    def windows(self):
        """(id, caption) of every shown window with a caption, oldest first."""
        found = []

        def walk(w):
            try:
                for c in w.query_tree().children:
                    attributes = c.get_attributes()
                    if attributes.map_state != X.IsViewable or attributes.override_redirect:
                        continue  # hidden, or a menu or the window manager's own
                    name = c.get_full_text_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
                    if name or c.get_wm_name():
                        found.append((c.id, name or c.get_wm_name()))
                    walk(c)
            except xerror.XError:  # gone while looked at
                pass
        walk(self.root)
        return found

    def geometry(self, wid):
        """Client area (x, y, width, height) on the screen and the frame (left, right, top, bottom)."""
        w = self.x.create_resource_object("window", wid)
        g, at = w.get_geometry(), w.translate_coords(self.root, 0, 0)
        frame = w.get_full_property(self.atom("_NET_FRAME_EXTENTS"), Xatom.CARDINAL)
        return (-at.x, -at.y, g.width, g.height), tuple(frame.value) if frame else (0, 0, 0, 0)

    def close(self):
        self.x.close()
        for p in (self.wm, self.server):
            p.kill()
            p.wait()


# ---- input methods ----

MOZC_IBUS = """engines { name : "mozc-jp" longname : "Mozc" layout : "default" rank : 80 }
active_on_launch: True
"""
FCITX_PROFILE = ("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=mozc\n[Groups/0/Items/0]\nName=keyboard-us\n"
                 "[Groups/0/Items/1]\nName=mozc\n[GroupOrder]\n0=Default\n")
FCITX_CONFIG = "[Behavior]\nActiveByDefault=True\nShareInputState=All\n"
IME_PARTS = {
    "ibus": {"tools": ("ibus-daemon", "ibus"), "files": ("/usr/lib/ibus-mozc/ibus-engine-mozc",),
             "config": {"mozc/ibus_config.textproto": MOZC_IBUS}},
    "fcitx5": {"tools": ("fcitx5",), "files": ("/usr/share/fcitx5/addon/mozc.conf",),
               "config": {"fcitx5/profile": FCITX_PROFILE, "fcitx5/config": FCITX_CONFIG}},
}


class InputMethod:
    """A private session bus and the input method daemon with Mozc on the
    journey's display, and the environment the program starts with. IBus
    names its bus in the environment; for Fcitx 5 the bus is one that
    dbus-launch registers with the X server, as in a session without systemd,
    and the program finds it from there alone."""

    def __init__(self, kind, display_name, log_dir):
        self.kind, self.as_user = kind, os.geteuid() == 0
        self.home = tempfile.mkdtemp(prefix="kozenica-ime-")
        self.env = {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": self.home, "DISPLAY": display_name,
                    "XDG_CONFIG_HOME": f"{self.home}/.config", "XDG_RUNTIME_DIR": f"{self.home}/runtime",
                    "XDG_CACHE_HOME": f"{self.home}/.cache", "LANG": "C.UTF-8", "NO_AT_BRIDGE": "1"}
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        for name, text in IME_PARTS[kind]["config"].items():
            os.makedirs(os.path.dirname(f"{self.home}/.config/{name}"), exist_ok=True)
            with open(f"{self.home}/.config/{name}", "w") as f:
                f.write(text)
        self.give(self.home)
        self.daemon, log = None, open(os.path.join(log_dir, f"{kind}.log"), "ab")
        try:
            machine = next(open(p).read().strip() for p in ("/var/lib/dbus/machine-id", "/etc/machine-id")
                           if os.path.exists(p))
            launch = ["dbus-launch", "--sh-syntax"] + ([f"--autolaunch={machine}"] if kind == "fcitx5" else [])
            out = subprocess.run(self.command(launch), capture_output=True, text=True).stdout
            address = re.search(r"DBUS_SESSION_BUS_ADDRESS='([^']*)'", out)
            expect(address, f"dbus-launch gave no bus: {out}")
            shutil.rmtree(f"{self.home}/.dbus", ignore_errors=True)  # the X server's selection alone tells
            self.bus = {"DBUS_SESSION_BUS_ADDRESS": address.group(1)}
            daemon = {"ibus": ["ibus-daemon", "--panel=disable", "--xim=false", "--replace"],
                      "fcitx5": ["fcitx5", "--replace"]}[kind]
            # The daemon ends with its parent: runuser stays its parent for the whole journey.
            self.daemon = subprocess.Popen(self.command(daemon, **self.bus), stdout=log, stderr=subprocess.STDOUT,
                                           start_new_session=True)
            poll(f"{kind} with Mozc", self.ready, timeout=30)
        except BaseException:
            self.close()
            raise

    def ready(self):
        expect(self.daemon.poll() is None, f"{self.kind} ended (exit {self.daemon.returncode})")
        if self.kind == "ibus":
            address = self.run(["ibus", "address"]).strip()
            if address.startswith("unix:"):
                self.env["IBUS_ADDRESS"] = address
                self.run(["ibus", "engine", "mozc-jp"])
                return self.run(["ibus", "engine"]).strip() == "mozc-jp"
            return False
        return "mozc" in self.run(["dbus-send", "--session", "--print-reply", "--dest=org.fcitx.Fcitx5",
                                   "/controller", "org.fcitx.Fcitx.Controller1.CurrentInputMethod"])

    def give(self, path):
        """Hands a folder and everything in it to the session's user."""
        if self.as_user:
            entry = pwd.getpwnam(IME_USER)
            for root, _, files in os.walk(path):
                for p in [root] + [os.path.join(root, f) for f in files]:
                    os.chown(p, entry.pw_uid, entry.pw_gid)
            os.chmod(path, 0o755)

    def command(self, args, **extra):
        prefix = ["runuser", "-u", IME_USER, "--"] if self.as_user else []
        return prefix + ["env", "-i"] + [f"{k}={v}" for k, v in dict(self.env, **extra).items()] + list(args)

    def run(self, args):
        return subprocess.run(self.command(args, **self.bus), capture_output=True, text=True, timeout=15).stdout

    def program(self, exe):
        bus = self.bus if self.kind == "ibus" else {}
        return self.command([exe], QT_IM_MODULE="fcitx" if self.kind == "fcitx5" else "ibus",
                            XMODIFIERS=f"@im={self.kind.rstrip('5')}", QT_QPA_PLATFORM="xcb", **bus)

    def processes(self):
        """(pid, name) of the processes started with this session's HOME."""
        found, marker = [], f"HOME={self.home}".encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f, open(f"/proc/{pid}/comm") as comm:
                    if int(pid) != os.getpid() and marker in f.read().split(b"\0"):
                        found.append((int(pid), comm.read().strip()))
            except OSError:
                pass
        return found

    def engine_running(self):
        """Waits for Mozc's server, which starts when the program first takes the keyboard:
        keys typed before it runs pass through as romaji."""
        poll("Mozc's server", lambda: any(name == "mozc_server" for _, name in self.processes()))
        if self.kind == "fcitx5":  # and the program has found Fcitx over the X server's bus, with the focus
            poll("the program's input context", lambda: re.search(r"program:kozenica .*focus:1", self.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.fcitx.Fcitx5", "/controller",
                 "org.fcitx.Fcitx.Controller1.DebugInfo"])))
        time.sleep(1)

    def close(self):
        """Ends the daemon, the bus and everything else started with this session's HOME."""
        if self.daemon and self.daemon.poll() is None:
            os.killpg(self.daemon.pid, signal.SIGKILL)
            self.daemon.wait()
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid, _ in self.processes():
                try:
                    os.kill(pid, sig)
                except OSError:
                    pass
            time.sleep(0.3)
        shutil.rmtree(self.home, ignore_errors=True)
