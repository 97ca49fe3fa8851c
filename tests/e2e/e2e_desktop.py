"""A throw-away X desktop for one end-to-end scenario (Xvfb, openbox, a tray host, D-Bus
and the AT-SPI bus) and the program on it, read as a screen reader would and driven with
xdotool."""

import collections
import configparser
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid

REQUIRED_TOOLS = ["Xvfb", "setxkbmap", "openbox", "xprop", "trayer", "xdotool", "xwininfo",
                  "import", "dbus-launch", "dbus-send"]
ATSPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SCREEN = "1024x768x24"
TRAYER = ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
          "--height", "32", "--SetDockType", "true", "--transparent", "false"]
# A StatusNotifierItem host, as on KDE: the watcher on the session bus and a panel.
SNI_WATCHER = ["status-notifier-watcher"]
SNI_PANEL = ["gtk-sni-tray-standalone", "--top", "--end"]
WESTON = ["weston", "--backend=headless-backend.so", "--xwayland", "--idle-time=0",
          "--width=1024", "--height=768"]
# The speech service when a scenario has one: speech-dispatcher (espeak-ng's voices) speaking
# into a PulseAudio sink that plays nowhere; what it plays is recorded from the sink's monitor.
SPEECH_TOOLS = ["pulseaudio", "speech-dispatcher", "parecord", "sox"]
NULL_SINK = "vokabo_e2e"
SPEECH_MODULE = r"""GenericExecuteSynth "printf %s \'$DATA\' | espeak-ng -v $VOICE -s $RATE --stdin"
GenericCmdDependency "espeak-ng"
GenericRateAdd 170
GenericRateMultiply 100
GenericRateForceInteger 1
""" + "".join(f'GenericLanguage "{lang}" "{voice}" "utf-8"\nAddVoice "{lang}" "MALE1" "{voice}"\n'
              for lang, voice in (("en", "en-us"), ("tr", "tr"), ("de", "de")))
MAIN_TITLE = "Vokabo Retano 2.7"
WORD_LIST_NAME = "Vokaboler"

# A question window is topmost and centred, over whatever a scenario looks at: scenarios
# not about questions start with scheduled questions off.
SOR_DAK = "Vokabo\\SorDak"
QUESTIONS_OFF = {SOR_DAK: "0"}

# Variables of the runner's own session that must not leak into the desktop.
SESSION_VARIABLES = ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                     "SESSION_MANAGER", "NO_AT_BRIDGE", "LANGUAGE")

# pyatspi connects to the accessibility bus on import: imported once the desktop is up.
pyatspi = None
GLib = None


class CheckFailed(Exception):
    pass


class Timeout(Exception):
    pass


class Checks:
    """A scenario's named checks; after a failed one it goes on, unless that was a `require`."""

    def __init__(self, scenario):
        self.scenario = scenario
        self.failed = []

    def check(self, name, ok, detail=""):
        line = f"{'ok  ' if ok else 'FAIL'} {self.scenario}: {name}"
        if not ok and detail:
            line += f"\n       {detail}"
        print(line, flush=True)
        if not ok:
            self.failed.append(name)
        return ok

    def equal(self, name, actual, expected):
        return self.check(name, actual == expected,
                          f"expected {expected!r}\n       got      {actual!r}")

    def eventually(self, name, probe, timeout=20.0):
        """Waits for probe() to give a true value and returns it (None when it never came)."""
        try:
            value = wait_until(name, probe, timeout)
        except Timeout as exc:
            self.check(name, False, str(exc))
            return None
        self.check(name, True)
        return value

    def eventually_equal(self, name, probe, expected, timeout=20.0):
        """Waits for probe() to give `expected`; if it never does, reports the last value."""
        seen = []

        def matches():
            seen.append(probe())
            return seen[-1] == expected

        try:
            wait_until(name, matches, timeout)
        except Timeout:
            return self.equal(name, seen[-1] if seen else None, expected)
        return self.check(name, True)

    def needs(self, name, probe, timeout=20.0):
        """Like eventually(), for a value the scenario cannot go on without."""
        value = self.eventually(name, probe, timeout)
        if not value:
            raise CheckFailed(name)
        return value

    def require(self, name, ok, detail=""):
        if not self.check(name, ok, detail):
            raise CheckFailed(name)


def pump_events():
    """Lets libatspi handle the events that arrived, so its cache and our listeners are current."""
    if GLib is not None:
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


def wait_until(what, probe, timeout=20.0, interval=0.1):
    """Returns probe()'s first true value; an exception from it means "not yet" (maybe busy)."""
    deadline = time.monotonic() + timeout
    while True:
        pump_events()
        try:
            last = probe()
            if last:
                return last
        except Exception as exc:  # reported if the time runs out
            last = f"{type(exc).__name__}: {exc}"
        if time.monotonic() >= deadline:
            raise Timeout(f"gave up after {timeout:.0f} s waiting for {what} (last seen: {last!r})")
        time.sleep(interval)


def holds_for(what, probe, duration, interval=0.1):
    """True when probe() holds at every poll during the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        pump_events()
        if not probe():
            print(f"       ({what} stopped holding)", flush=True)
            return False
        time.sleep(interval)
    return True


# ---------------------------------------------------------------- X windows

_TREE_LINE = re.compile(
    r"^(?P<indent>\s*)(?P<id>0x[0-9a-f]+) (?P<name>.*?): \((?P<cls>.*?)\)\s+"
    r"(?P<w>\d+)x(?P<h>\d+)\+-?\d+\+-?\d+\s+\+(?P<x>-?\d+)\+(?P<y>-?\d+)\s*$")


class XWindow:
    """One line of `xwininfo -root -tree`; x and y are absolute."""

    def __init__(self, match):
        self.indent = len(match["indent"])
        self.id = match["id"]
        name = match["name"]
        self.name = name[1:-1] if name.startswith('"') else ""
        self.cls = re.findall(r'"([^"]*)"', match["cls"])
        self.w, self.h = int(match["w"]), int(match["h"])
        self.x, self.y = int(match["x"]), int(match["y"])

    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2

    def contains(self, x, y):
        return self.x <= x < self.x + self.w and self.y <= y < self.y + self.h


class Desktop:
    """One scenario's desktop; leaving it ends every process it started, whatever happened."""

    def __init__(self, scenario, exe, shots_root, data_dir, keep_temp=False,
                 settings=QUESTIONS_OFF, tray="xembed", preload=None, installed=False,
                 user_dir=None, speech=False):
        """`settings` go into the settings file before the program starts (none: no file);
        `tray` is "xembed" (trayer), "sni" (a StatusNotifierItem host), "none" (openbox
        without a tray), or "wayland" (a Wayland session: weston with XWayland, no tray);
        `preload` is a library the program loads first. An `installed` program runs where it
        is instead of from a copy in a program folder of its own; with a `user_dir` the
        user's folders live there and outlive the desktop; `speech`: a speech service runs
        (else none can start, as on a desktop without one)."""
        self.scenario = scenario
        self.preload = preload
        self.installed = installed
        self.user_dir = user_dir
        self.tray = tray
        self.speech = speech
        self.initial_settings = dict(settings)
        self.exe = exe
        self.data_dir = data_dir
        self.keep_temp = keep_temp
        self.shots = os.path.join(shots_root, scenario)
        self.shot_count = 0
        # Every process of this desktop inherits the marker: clean-up finds D-Bus's daemons too.
        self.marker = ("VOKABO_E2E_RUN", uuid.uuid4().hex)
        self.helpers = []
        self.programs = []
        self.env = None
        self.show_logs = False

    # -- start and end

    def __enter__(self):
        tools = REQUIRED_TOOLS + [ATSPI_LAUNCHER] + (
            SNI_WATCHER[:1] + SNI_PANEL[:1] if self.tray == "sni" else []) + (
            WESTON[:1] + ["Xwayland"] if self.tray == "wayland" else []) + (
            SPEECH_TOOLS if self.speech else [])
        missing = [tool for tool in tools if shutil.which(tool) is None]
        if missing:
            raise RuntimeError("missing tools (scripts/deps.sh test installs them): "
                               + ", ".join(missing))
        if not os.access(self.exe, os.X_OK):
            raise RuntimeError(f"the program is not built: {self.exe}")

        shutil.rmtree(self.shots, ignore_errors=True)
        os.makedirs(self.shots)
        if self.user_dir:
            self.root = self.user_dir
        else:
            self.root = tempfile.mkdtemp(prefix=f"vokabo-e2e-{self.scenario}-")
        self.prog_dir = os.path.dirname(self.exe) if self.installed else self._folder("program")
        self.config_home = self._folder("config")
        self.runtime_dir = self._folder("runtime")
        os.chmod(self.runtime_dir, 0o700)
        self.home = self._folder("home")
        self.logs = self._folder("logs")
        if not self.installed:
            shutil.copy2(self.exe, os.path.join(self.prog_dir, "vokabo"))
        if self.initial_settings:
            self.write_settings(self.initial_settings)
        try:
            self._start()
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        for program in self.programs:
            program.stop()
        for proc in reversed(self.helpers):
            _terminate(proc)
        # Also ends the session bus, which dbus-launch leaves running on its own.
        self._end_marked_processes()
        if exc_type is not None or self.keep_temp or self.show_logs:
            self._print_logs()
        if self.keep_temp:
            print(f"       temporary folders kept in {self.root}")
        elif not self.user_dir:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    def _folder(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=bool(self.user_dir))
        return path

    def _start(self):
        env = {k: v for k, v in os.environ.items()
               if k not in SESSION_VARIABLES and not k.startswith("LC_")}
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config_home,
            "XDG_RUNTIME_DIR": self.runtime_dir,
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_CACHE_HOME": os.path.join(self.home, "cache"),
            "XDG_SESSION_TYPE": "x11",
            "QT_QPA_PLATFORM": "xcb",
            # The same locale whoever runs the tests: the one CI has.
            "LANG": "C.UTF-8",
            self.marker[0]: self.marker[1],
        })
        self.env = env

        if self.tray == "wayland":
            self._start_wayland_session()
        else:
            # Xvfb picks a free display itself, so parallel runs never race for one; "-noreset"
            # keeps it from starting afresh, with the default keyboard, whenever its last client
            # leaves.
            read_fd, write_fd = os.pipe()
            xvfb = self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                        SCREEN, "-nolisten", "tcp", "-noreset"],
                               pass_fds=(write_fd,))
            os.close(write_fd)
            env["DISPLAY"] = f":{_read_display_number(read_fd, xvfb)}"
            # Turkish Q, the users' keyboard, has a key for every Turkish letter; otherwise
            # xdotool remaps a spare key per stroke and the program misses strokes while it
            # rereads the map.
            self.run("setxkbmap", "-layout", "tr")

        out = subprocess.run(["dbus-launch", "--sh-syntax"], env=env, stdin=subprocess.DEVNULL,
                             capture_output=True, text=True, timeout=20, check=True).stdout
        address = re.search(r"DBUS_SESSION_BUS_ADDRESS='([^']+)'", out)
        if not address:
            raise RuntimeError(f"dbus-launch started no session bus: {out!r}")
        env["DBUS_SESSION_BUS_ADDRESS"] = address[1]

        self._spawn("at-spi", [ATSPI_LAUNCHER, "--launch-immediately"])
        wait_until("the AT-SPI bus", self._atspi_bus_ready)

        if self.tray != "wayland":
            self._spawn("openbox", ["openbox", "--sm-disable"])
        wait_until("the window manager", self._window_manager_running)

        if self.speech:
            self._start_speech_service()
        else:
            # The program would otherwise start the service itself, as libspeechd does.
            speechd_conf = os.path.join(self.config_home, "speech-dispatcher", "speechd.conf")
            os.makedirs(os.path.dirname(speechd_conf), exist_ok=True)
            with open(speechd_conf, "w", encoding="utf-8") as f:
                f.write("DisableAutoSpawn\n")

        if self.tray in ("none", "wayland"):
            pass
        elif self.tray == "sni":
            self._spawn("sni-watcher", SNI_WATCHER)
            wait_until("the StatusNotifierItem watcher", self._sni_watcher_running)
            self._spawn("sni-panel", SNI_PANEL)
            wait_until("the StatusNotifierItem panel", self.sni_panel)
        else:
            self._start_until_ready("trayer", TRAYER, "the trayer panel", self._tray_panel)

        # From here on this process is a screen reader on that desktop.
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[name] = env[name]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        global pyatspi, GLib
        import pyatspi as atspi_module
        from gi.repository import GLib as glib_module

        pyatspi, GLib = atspi_module, glib_module

    def _start_wayland_session(self):
        """Weston, headless, with XWayland: a Wayland session with an X display, as GNOME and
        KDE Plasma give. Its X window manager is weston's own."""
        os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
        socket = f"vokabo-{self.marker[1][:8]}"
        weston = self._spawn("weston", WESTON + [f"--socket={socket}"])
        log = os.path.join(self.logs, "weston.log")

        def x_display():
            if weston.poll() is not None:
                raise RuntimeError(f"weston ended (exit code {weston.returncode})")
            with open(log, encoding="utf-8", errors="replace") as f:
                found = re.search(r"xserver listening on display (:\d+)", f.read())
            return found and found[1]

        self.env["DISPLAY"] = wait_until("weston's X display", x_display)
        self.env["WAYLAND_DISPLAY"] = socket
        self.env["XDG_SESSION_TYPE"] = "wayland"
        # The program chooses its platform itself, as in a user's session.
        del self.env["QT_QPA_PLATFORM"]

    def _start_speech_service(self):
        pulse = self._spawn("pulseaudio", [
            "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
            "-L", "module-native-protocol-unix", "-L", f"module-null-sink sink_name={NULL_SINK}"])
        wait_until("the sound server", lambda: pulse.poll() is None and subprocess.run(
            ["pactl", "info"], env=self.env, capture_output=True).returncode == 0)
        # espeak-ng with a voice for three languages: with the thousands of voices of its own
        # module, Qt takes minutes to list them under the sanitizers.
        config = self._folder("speech-dispatcher")
        os.makedirs(os.path.join(config, "modules"))
        with open(os.path.join(config, "speechd.conf"), "w", encoding="utf-8") as f:
            f.write('AddModule "espeak-ng-generic" "sd_generic" "espeak-ng-generic.conf"\n'
                    "DefaultModule espeak-ng-generic\n")
        with open(os.path.join(config, "modules", "espeak-ng-generic.conf"), "w",
                  encoding="utf-8") as f:
            f.write(SPEECH_MODULE)
        self._spawn("speech-dispatcher", ["speech-dispatcher", "--run-single", "--timeout", "0",
                                          "--config-dir", config])
        socket = os.path.join(self.runtime_dir, "speech-dispatcher", "speechd.sock")
        wait_until("the speech service", lambda: os.path.exists(socket))

    def record_sound(self, path):
        """Records what the speech service plays, until the returned process is stopped."""
        return self._spawn(f"parecord-{os.path.basename(path)}", [
            "parecord", f"--device={NULL_SINK}.monitor", "--file-format=wav", path])

    def stop_recording(self, recorder):
        recorder.send_signal(signal.SIGINT)
        recorder.wait(10)

    def sound_in(self, path):
        """(seconds of sound without the silence before and after, its peak from 0 to 1)."""
        trimmed = subprocess.run(
            ["sox", path, "-n", "silence", "1", "0.02", "1%", "reverse", "silence", "1", "0.02",
             "1%", "reverse", "stat"], capture_output=True, text=True, timeout=30).stderr
        length = re.search(r"Length \(seconds\):\s+([\d.]+)", trimmed)
        peak = re.search(r"Maximum amplitude:\s+([\d.]+)", trimmed)
        return (float(length[1]) if length else 0.0, float(peak[1]) if peak else 0.0)

    def start_process(self, name, argv):
        """Runs another program on this desktop (an editor, a terminal); it ends with it."""
        return self._spawn(name, argv)

    def _start_until_ready(self, name, argv, what, ready, attempts=3):
        """Starts a helper and waits until it is ready, again if it ends or hangs at start-up
        (seen now and then under load)."""
        for attempt in range(1, attempts + 1):
            proc = self._spawn(name, argv)
            try:
                return wait_until(what, lambda: proc.poll() is None and ready(), timeout=10)
            except Timeout:
                if attempt == attempts:
                    raise
                _terminate(proc)

    def _spawn(self, name, argv, **kwargs):
        with open(os.path.join(self.logs, f"{name}.log"), "wb") as log:
            proc = subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT, start_new_session=True, **kwargs)
        self.helpers.append(proc)
        return proc

    def _dbus_reply(self, *call):
        return subprocess.run(["dbus-send", "--session", "--print-reply", *call], env=self.env,
                              capture_output=True, text=True, timeout=10).stdout

    def _atspi_bus_ready(self):
        return "unix:" in self._dbus_reply("--dest=org.a11y.Bus", "/org/a11y/bus",
                                           "org.a11y.Bus.GetAddress")

    def _sni_watcher_running(self):
        return self.bus_name_owned("org.kde.StatusNotifierWatcher")

    def bus_name_owned(self, name):
        """Whether a service owns `name` on the session bus."""
        return "boolean true" in self._dbus_reply(
            "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus.NameHasOwner", f"string:{name}")

    def start_helper(self, name, script, *args, env=None):
        """Runs one of the helper scripts beside this file (a window, a service) on this
        desktop, with its log; it ends with the desktop."""
        here = os.path.dirname(os.path.abspath(__file__))
        saved = self.env
        self.env = dict(saved, **(env or {}))
        try:
            return self._spawn(name, [sys.executable, os.path.join(here, script), *args])
        finally:
            self.env = saved

    def net_wm_state(self, window):
        """The atoms of an X window's _NET_WM_STATE (e.g. "_NET_WM_STATE_FULLSCREEN")."""
        return re.findall(r"_NET_WM_STATE_\w+",
                          self.run("xprop", "-id", window.id, "_NET_WM_STATE", check=False))

    def active_window_id(self):
        """The X window id the window manager names active, as an int (0: none)."""
        found = re.search(r"window id # (0x[0-9a-f]+)",
                          self.run("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False))
        return int(found[1], 16) if found else 0

    def windows_named(self, title):
        """Viewable X windows of any program whose title is `title`."""
        return [w for w in self.x_windows() if w.name == title and self.is_viewable(w)]

    def sni_panel(self):
        """The StatusNotifierItem host's panel window, when it is viewable."""
        return next((w for w in self.x_windows() if "gtk-sni-tray-standalone" in w.cls
                     and w.w > 1 and w.h > 1 and self.is_viewable(w)), None)

    def _window_manager_running(self):
        return "window id #" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)

    def _end_marked_processes(self):
        """Ends what still carries this desktop's marker, such as the daemons that D-Bus
        started outside our process tree."""
        needle = f"{self.marker[0]}={self.marker[1]}".encode() + b"\0"
        for _ in range(2):
            for entry in os.listdir("/proc"):
                if entry.isdigit() and int(entry) != os.getpid() and needle in _environ(entry):
                    _end_pid(int(entry))

    def _print_logs(self):
        for name in sorted(os.listdir(self.logs)):
            with open(os.path.join(self.logs, name), "rb") as f:
                lines = f.read().decode("utf-8", "replace").strip().splitlines()
            if lines:
                tail = "\n         ".join(lines[-15:])
                print(f"  --- {name}, last lines:\n         {tail}")

    # -- files and programs

    @property
    def word_file(self):
        # An installed program cannot keep its words beside itself: they are the user's.
        if self.installed:
            return os.path.join(self.home, "data", "vokabo", "vokabo.txt")
        return os.path.join(self.prog_dir, "vokabo.txt")

    @property
    def settings_file(self):
        return os.path.join(self.config_home, "vokabo", "registry.ini")

    def write_settings(self, values):
        """Makes the program's INI settings file hold just `values` under [SOFTWARE]."""
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "w", encoding="utf-8") as f:
            f.write("[SOFTWARE]\n")
            f.writelines(f"{key}={value}\n" for key, value in values.items())

    def read_settings(self):
        """The values under [SOFTWARE] of the program's INI settings file."""
        ini = configparser.ConfigParser(interpolation=None)
        ini.optionxform = str
        ini.read(self.settings_file, encoding="utf-8")
        return dict(ini["SOFTWARE"]) if ini.has_section("SOFTWARE") else {}

    def start_program(self, args=(), name="vokabo", env=None):
        """Starts the program; `env` adds to (or, with a value of None, takes from) the
        desktop's environment."""
        program = Program(self, list(args), name, env or {})
        self.programs.append(program)
        return program

    # -- the X side

    def run(self, *argv, check=True):
        result = subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"{argv[0]} failed ({result.returncode}): {result.stderr.strip()}")
        return result.stdout

    def screenshot(self, step):
        # XWayland's root window holds no picture of the screen: the compositor draws it.
        if self.tray == "wayland":
            return
        self.shot_count += 1
        self.run("import", "-window", "root",
                 os.path.join(self.shots, f"{self.shot_count:02d}-{step}.png"))

    def grab(self, accessible):
        """The screen's pixels that an accessible object covers, as raw RGB bytes."""
        x, y, w, h = extents(accessible)
        return subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "rgb:-"],
                              env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=30, check=True).stdout

    def x_windows(self):
        lines = self.run("xwininfo", "-root", "-tree").splitlines()
        return [XWindow(m) for m in map(_TREE_LINE.match, lines) if m]

    def is_viewable(self, window):
        return "Map State: IsViewable" in self.run("xwininfo", "-id", window.id, check=False)

    def wm_state(self, window):
        """"Normal", "Iconic" (minimised: the task bar holds it) or "Withdrawn" (hidden, out of
        the window manager's hands), as the X window's WM_STATE says."""
        found = re.search(r"window state: (\w+)", self.run("xprop", "-id", window.id, "WM_STATE",
                                                           check=False))
        return found[1] if found else "Withdrawn"

    def wm_class(self, window):
        return re.findall(r'"([^"]*)"', self.run("xprop", "-id", window.id, "WM_CLASS"))

    def _tray_panel(self):
        windows = self.x_windows()
        for i, window in enumerate(windows):
            if window.cls == ["panel", "trayer"] and self.is_viewable(window):
                return windows, i
        return None

    def tray_icon(self):
        """The program's icon embedded in trayer's panel, when it is there and viewable."""
        found = self._tray_panel()
        if not found:
            return None
        windows, i = found
        for window in windows[i + 1:]:
            if window.indent <= windows[i].indent:
                break
            if "vokabo" in window.cls and window.w > 1 and window.h > 1 \
                    and self.is_viewable(window):
                return window
        return None

    def _xprop_numbers(self, *argv):
        value = self.run("xprop", *argv, check=False).partition("=")[2]
        return [int(n) for n in re.findall(r"\d+", value)]

    def outer_frame(self, window):
        """(x, y, width, height) of an X window with the window manager's frame around it."""
        frame = self._xprop_numbers("-id", window.id, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = frame if len(frame) == 4 else (0,) * 4
        return (window.x - left, window.y - top, window.w + left + right,
                window.h + top + bottom)

    def work_area(self):
        """(x, y, width, height) of the screen without the panels that reserve room."""
        return tuple(self._xprop_numbers("-root", "_NET_WORKAREA")[:4])

    def mapped_windows(self, title=MAIN_TITLE):
        """The program's viewable X windows whose title starts with `title`."""
        return [w for w in self.x_windows()
                if w.name.startswith(title) and "vokabo" in w.cls and self.is_viewable(w)]

    def mapped_window_at(self, x, y):
        """A viewable top-level window of the program that covers (x, y)."""
        windows = self.x_windows()
        top_level = min(w.indent for w in windows)
        return next((w for w in windows if w.indent == top_level and "vokabo" in w.cls
                     and w.contains(x, y) and self.is_viewable(w)), None)

    def move_pointer(self, x, y):
        # "mousemove --sync" would wait for ever for a pointer that is already there.
        here = self.run("xdotool", "getmouselocation", "--shell")
        if f"X={x}\n" not in here or f"Y={y}\n" not in here:
            self.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1, repeat=1):
        self.move_pointer(x, y)
        argv = ["xdotool", "click"]
        if repeat > 1:
            argv += ["--repeat", str(repeat), "--delay", "120"]
        self.run(*argv, str(button))

    def hover(self, x, y):
        # Two moves, so that the program sees the pointer arrive and rest.
        self.move_pointer(x - 2, y - 2)
        self.move_pointer(x, y)

    def click_on(self, accessible, repeat=1):
        """Clicks the middle of what an accessible object covers."""
        x, y, w, h = extents(accessible)
        self.click(x + w // 2, y + h // 2, repeat=repeat)

    def press_key(self, key):
        """A key for whatever window has the keyboard (or grabbed it)."""
        self.run("xdotool", "key", key)

    def type_text(self, text):
        self.run("xdotool", "type", "--delay", "40", text)

    def on_window(self, command, window, *args):
        """xdotool's `command` (windowmove, windowsize, windowfocus...) on an X window."""
        self.run("xdotool", command, "--sync", str(int(window.id, 16)), *args)

    # -- the tray menu

    def open_tray_menu(self):
        """Right-clicks the tray icon and returns the menu's entries.  A popup menu is no child
        of the application on the AT-SPI bus: it is found through the event announcing it."""
        icon = wait_until("the tray icon", self.tray_icon)
        menus = []

        def on_showing(event):
            if event.detail1 == 1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU:
                menus.append(event.source)

        pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
        try:
            self.click(*icon.centre(), button=3)
            menu = wait_until("the tray menu to open", lambda: menus and menus[-1], timeout=10)
        finally:
            pyatspi.Registry.deregisterEventListener(on_showing, "object:state-changed:showing")
        return wait_until("the tray menu's entries", lambda: _menu_entries(menu), timeout=10)

    def choose_from_tray_menu(self, checks, label, step):
        """Opens the tray menu, clicks `label` in it, and returns all entries."""
        entries = self.open_tray_menu()
        names = [e.name for e in entries if e.role == "menu item"]
        checks.require(f"tray menu offers '{label}'", label in names, f"menu items: {names!r}")
        x, y = next(e.centre for e in entries if e.name == label)
        wait_until("the tray menu on the screen", lambda: self.mapped_window_at(x, y), timeout=10)
        self.screenshot(step)
        self.click(x, y)
        return entries

    def dismiss_tray_menu(self, entries):
        """Closes the open tray menu with Esc, choosing nothing."""
        x, y = entries[0].centre
        wait_until("the tray menu on the screen", lambda: self.mapped_window_at(x, y), timeout=10)
        self.press_key("Escape")
        wait_until("the tray menu to close", lambda: not self.mapped_window_at(x, y), timeout=10)


MenuEntry = collections.namedtuple("MenuEntry", "role name centre enabled")


def _menu_entries(menu):
    entries = []
    for child in menu:
        x, y, w, h = extents(child)
        if w <= 0 or h <= 0:
            return None
        entries.append(MenuEntry(child.getRoleName(), child.name, (x + w // 2, y + h // 2),
                                 has_state(child, "ENABLED")))
    return entries or None


class Program:
    """One running copy of the program, with accessibility switched on."""

    def __init__(self, desktop, args, name, extra_env):
        env = dict(desktop.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        if desktop.preload:
            # The sanitizer's runtime then is not the first library; it works all the same.
            env["LD_PRELOAD"] = desktop.preload
            env["ASAN_OPTIONS"] = ":".join(
                filter(None, [env.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))
        env.update(extra_env)
        env = {k: v for k, v in env.items() if v is not None}
        with open(os.path.join(desktop.logs, f"{name}.log"), "wb") as log:
            self.proc = subprocess.Popen(
                [os.path.join(desktop.prog_dir, "vokabo"), *args], cwd=desktop.prog_dir, env=env,
                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                start_new_session=True)

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=20.0):
        """The exit code, or None when the program is still running."""
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        _terminate(self.proc)

    # -- what it shows, through AT-SPI

    def app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.proc.pid:
                app.clear_cache()
                return app
        return None

    def windows(self):
        app = self.app()
        return [w for w in app if w is not None] if app is not None else []

    def window(self, name, role=None):
        for window in self.windows():
            if window.name == name and (role is None or window.getRole() == role):
                return window
        return None

    def main_window(self):
        return self.window(MAIN_TITLE)

    def parts(self, accessible, role, name=None):
        """What lies under `accessible` with that role ("LABEL", "PUSH_BUTTON"...) and name,
        read afresh."""
        self.app()  # drops what libatspi cached
        wanted = getattr(pyatspi, "ROLE_" + role)
        return [a for a in descendants(accessible)
                if a.getRole() == wanted and (name is None or a.name == name)]

    def part(self, accessible, role, name):
        return next(iter(self.parts(accessible, role, name)), None)

    def word_list(self):
        """(label texts, list line texts, the list) of the main window."""
        window = self.main_window()
        if window is None:
            raise LookupError("no main window")
        labels = [a.name for a in self.parts(window, "LABEL")]
        lists = self.parts(window, "LIST", WORD_LIST_NAME)
        if len(lists) != 1:
            raise LookupError(f"{len(lists)} lists named {WORD_LIST_NAME!r}")
        return labels, [item.name for item in lists[0]], lists[0]


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def has_state(accessible, state):
    """Whether the accessible is in that state ("SHOWING", "FOCUSED"...)."""
    return accessible.getState().contains(getattr(pyatspi, "STATE_" + state))


def is_showing(accessible):
    return has_state(accessible, "SHOWING") and has_state(accessible, "VISIBLE")


def showing(accessible):
    """The accessible when it shows on the screen, else None."""
    return accessible if accessible is not None and is_showing(accessible) else None


def extents(accessible):
    """(x, y, width, height) on the screen."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


# ---------------------------------------------------------------- processes


def _read_display_number(fd, xvfb, timeout=20.0):
    """The display number that Xvfb writes to `fd` once it accepts connections."""
    deadline = time.monotonic() + timeout
    data = b""
    with os.fdopen(fd, "rb", buffering=0) as pipe:
        while not data.endswith(b"\n"):
            if xvfb.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError(f"Xvfb reported no display (exit code {xvfb.returncode})")
            if select.select([pipe], [], [], 0.05)[0]:
                data += pipe.read(64)
    return int(data)


def _terminate(proc, grace=5.0):
    """Ends a process we started, then whatever is left in its group."""
    if proc.poll() is None:
        _send(os.killpg, proc.pid, signal.SIGTERM)
        try:
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            _send(os.killpg, proc.pid, signal.SIGKILL)
            proc.wait(grace)
    _send(os.killpg, proc.pid, signal.SIGKILL)


def _end_pid(pid, grace=3.0):
    _send(os.kill, pid, signal.SIGTERM)
    deadline = time.monotonic() + grace
    while _alive(pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    if _alive(pid):
        _send(os.kill, pid, signal.SIGKILL)


def _send(kill, target, sig):
    """kill(target, sig) for a process (group) that may be gone already."""
    try:
        kill(target, sig)
    except (ProcessLookupError, PermissionError):
        pass


def _environ(pid):
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            return f.read()
    except OSError:
        return b""


def _alive(pid):
    """False for a process that is gone or only a zombie."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False
