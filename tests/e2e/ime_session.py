"""A Japanese input method for one journey: a private session bus, ibus-daemon
and the Mozc engine on the journey's display, and the program started under it
with QT_IM_MODULE=ibus.

Mozc's server refuses to run as root (every key would then pass through as
romaji), so when the journey runs as root the bus, the input method and the
program run as an unprivileged user with a home and runtime folder of their
own. Mozc starts in Hiragana (active_on_launch) from that private home.
"""

import os
import pwd
import shutil
import signal
import subprocess
import tempfile
import time

from harness import JourneyFailed

USER = "nobody"
ENGINE = "mozc-jp"
NEEDED = ("dbus-launch", "ibus-daemon", "ibus", "runuser")
MOZC_ENGINE = "/usr/lib/ibus-mozc/ibus-engine-mozc"

MOZC_CONFIG = """engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
"""


class Unavailable(Exception):
    """Something the input method needs is not installed."""


def missing_parts():
    """What this machine lacks for a session; empty when everything is there."""
    missing = [t for t in NEEDED if not shutil.which(t)]
    if not os.path.exists(MOZC_ENGINE):
        missing.append("ibus-mozc")
    if not any(os.path.exists(p) for p in ("/etc/machine-id", "/var/lib/dbus/machine-id")):
        missing.append("a D-Bus machine id (dbus-uuidgen --ensure)")
    if os.geteuid() == 0:
        try:
            pwd.getpwnam(USER)
        except KeyError:
            missing.append(f"user {USER}")
    return missing


class ImeSession:
    def __init__(self, display_name, log_dir):
        self.display_name = display_name
        self.log_dir = log_dir
        self.as_user = os.geteuid() == 0
        self.home = tempfile.mkdtemp(prefix="kozenica-ime-")
        self.daemon = None
        self.bus_pid = None
        self.env = {
            "PATH": "/usr/local/bin:/usr/bin:/bin",
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_RUNTIME_DIR": os.path.join(self.home, "runtime"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "DISPLAY": display_name,
            "LANG": "C.UTF-8",
            "NO_AT_BRIDGE": "1",
        }
        os.makedirs(os.path.join(self.home, ".config", "mozc"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        with open(os.path.join(self.home, ".config", "mozc", "ibus_config.textproto"), "w") as f:
            f.write(MOZC_CONFIG)
        if self.as_user:
            self.give_to_user(self.home)
        try:
            self.start_bus()
            self.start_daemon()
            self.choose_engine()
        except Exception:
            self.close()
            raise

    # ---- as the user ----

    def give_to_user(self, path):
        """Hands a folder (and everything in it) to the session's user."""
        if not self.as_user:
            return
        entry = pwd.getpwnam(USER)
        for root, dirs, files in os.walk(path):
            os.chown(root, entry.pw_uid, entry.pw_gid)
            for name in files:
                os.chown(os.path.join(root, name), entry.pw_uid, entry.pw_gid)
        os.chmod(path, 0o755)

    def command(self, args, extra_env=None):
        env = dict(self.env, **(extra_env or {}))
        prefix = ["runuser", "-u", USER, "--"] if self.as_user else []
        return prefix + ["env", "-i"] + [f"{k}={v}" for k, v in env.items()] + list(args)

    def run(self, args, timeout=15):
        return subprocess.run(self.command(args), capture_output=True, text=True, timeout=timeout)

    # ---- the parts ----

    def start_bus(self):
        r = self.run(["dbus-launch", "--sh-syntax"])
        values = {}
        for line in r.stdout.splitlines():
            if "=" in line:
                key, _, value = line.partition("=")
                values[key.strip()] = value.strip().rstrip(";").strip("'")
        if "DBUS_SESSION_BUS_ADDRESS" not in values:
            raise JourneyFailed(f"dbus-launch gave no bus: {r.stdout} {r.stderr}")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = values["DBUS_SESSION_BUS_ADDRESS"]
        self.bus_pid = int(values.get("DBUS_SESSION_BUS_PID", "0")) or None

    def start_daemon(self):
        # ibus-daemon ends when its parent does: runuser stays its parent for
        # the whole journey.
        log = open(os.path.join(self.log_dir, "ibus-daemon.log"), "ab")
        self.daemon = subprocess.Popen(
            self.command(["ibus-daemon", "--panel=disable", "--xim=false", "--replace", "--verbose"]),
            stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.daemon.poll() is not None:
                raise JourneyFailed(f"ibus-daemon ended at once (exit {self.daemon.returncode})")
            r = self.run(["ibus", "address"])
            address = r.stdout.strip()
            if r.returncode == 0 and address.startswith("unix:"):
                self.env["IBUS_ADDRESS"] = address
                return
            time.sleep(0.3)
        raise JourneyFailed("ibus-daemon did not answer within 20 s")

    def choose_engine(self):
        # Right after the daemon starts, choosing the engine can fail once.
        deadline = time.monotonic() + 30
        last = ""
        while time.monotonic() < deadline:
            self.run(["ibus", "engine", ENGINE])
            r = self.run(["ibus", "engine"])
            last = (r.stdout + r.stderr).strip()
            if r.returncode == 0 and r.stdout.strip() == ENGINE:
                return
            time.sleep(0.5)
        raise JourneyFailed(f"ibus would not take the engine {ENGINE}: {last}")

    def program_command(self, exe):
        """The program under the input method, as the session's user."""
        return self.command([exe], {"QT_IM_MODULE": "ibus", "QT_QPA_PLATFORM": "xcb",
                                    "XMODIFIERS": "@im=ibus"})

    # ---- the end ----

    def own_processes(self):
        """Processes started for this session: those whose HOME is its home."""
        mine = []
        marker = f"HOME={self.home}".encode()
        for pid in os.listdir("/proc"):
            if not pid.isdigit() or int(pid) == os.getpid():
                continue
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    if marker in f.read().split(b"\0"):
                        mine.append(int(pid))
            except OSError:
                pass
        return mine

    def close(self):
        if self.daemon and self.daemon.poll() is None:
            os.killpg(self.daemon.pid, signal.SIGTERM)
            try:
                self.daemon.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.daemon.pid, signal.SIGKILL)
        pids = self.own_processes() + ([self.bus_pid] if self.bus_pid else [])
        for pid in pids:
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass
        time.sleep(0.3)
        for pid in self.own_processes():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        shutil.rmtree(self.home, ignore_errors=True)
