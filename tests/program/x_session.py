"""A private X server and the program running on it, driven with real input.

Every process started here is bound to the test: it gets SIGTERM when the
test's process dies, however that happens, and is stopped in order when the
test ends normally. Every wait is bounded and polls for what it waits for.
"""

import ctypes
import ctypes.util
import functools
import os
import shutil
import subprocess
import tempfile
import time

DEFAULT_TIMEOUT = 15.0  # seconds; bounds every wait, generous for a busy machine: a pass never waits it out
POLL_INTERVAL = 0.05


TOOLS = ("Xvfb", "setxkbmap", "xdotool", "xwininfo", "xprop", "xclip", "openbox", "setpriv")


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


class Failure(Exception):
    """A check that did not hold: the message says what was expected and what was seen."""


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT, seen=None):
    """Polls probe() until it returns something truthy and returns that.

    On time-out fails with `what` and, when given, what seen() reports then.
    """
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            detail = f"; seen: {seen()}" if seen else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL_INTERVAL)


def start_bound(command, **options):
    """Starts a process that gets SIGTERM when this one dies (setpriv execs the
    command, so the process id is the command's own)."""
    return subprocess.Popen(["setpriv", "--pdeathsig", "TERM", "--", *command], **options)


def stop(process):
    """Ends a process started here: politely first, then for sure."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


LATIN_GROUP, CYRILLIC_GROUP = 0, 1  # the layout groups of setxkbmap's "us,ru"


class KeyboardMap:
    """The test display's keyboard, set before any program starts and never
    changed while keys are typed: a Russian user's "us,ru", whose two layout
    groups hold every Latin and Cyrillic letter, and no key repeat.

    xdotool types a letter that has no key in the current group by binding a
    spare key code to it for that one key, and a program may read the changed
    map after the key and lose or double the letter (Wine does, on a busy
    machine); XInput.type locks the group that has the letters instead. While
    this object is open it holds a connection to the server, so that a server
    that resets when its last client leaves (xvfb-run's) keeps the map from
    one program to the next."""

    def __init__(self, display, letters=""):
        self._x = _XConnection(display)
        try:
            result = subprocess.run(["setxkbmap", "-display", display, "-layout", "us,ru"],
                                    capture_output=True, text=True, timeout=DEFAULT_TIMEOUT)
            if result.returncode != 0:
                raise Failure(f"setxkbmap could not set the keyboard layouts: {result.stderr}")
            self._x.x11.XAutoRepeatOff(self._x.connection)
            if missing := keyless(self._x.letter_keys(), letters):
                raise Failure(f"the test keyboard has no key for {missing!r}")
            self._x.sync()
        except BaseException:
            self.close()
            raise

    def close(self):
        if self._x is not None:
            self._x.close()
            self._x = None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()


class XServer:
    """Xvfb on a free display at 96 dots per inch, so one pixel is 15 twips."""

    def __init__(self, letters=""):
        self.letters = letters

    def __enter__(self):
        read_end, write_end = os.pipe()
        self._stderr = tempfile.TemporaryFile()
        self.process = start_bound(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=self._stderr)
        os.close(write_end)
        try:
            self.display = ":" + self._read_display_number(read_end)
            self.keyboard = KeyboardMap(self.display, self.letters)
        except BaseException:
            self.__exit__()
            raise
        finally:
            os.close(read_end)
        return self

    def __exit__(self, *error):
        if getattr(self, "keyboard", None):
            self.keyboard.close()
        stop(self.process)
        self._stderr.close()

    def _read_display_number(self, read_end):
        # Xvfb writes the display number once it accepts clients.
        os.set_blocking(read_end, False)
        text = b""

        def number_written():
            nonlocal text
            try:
                text += os.read(read_end, 64)
            except BlockingIOError:
                pass
            return text.endswith(b"\n") or self.process.poll() is not None

        wait_for("Xvfb to report its display number", number_written)
        if self.process.poll() is not None:
            self._stderr.seek(0)
            raise Failure(f"Xvfb exited with {self.process.returncode}: "
                          f"{self._stderr.read().decode(errors='replace')}")
        return text.decode().strip()


def program_environment(display, runtime_dir):
    """The user's environment on the test display: the X platform, no scaling
    that would change the pixel size of the window, and the accessibility
    bridge on, as when a screen reader runs."""
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith("QT_") and name not in ("WAYLAND_DISPLAY",)}
    environment.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime_dir,
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    return environment


class WindowManager:
    """Openbox with its default settings on the display, as a plain desktop has it."""

    def __init__(self, display):
        self.display = display

    def __enter__(self):
        self._config = tempfile.TemporaryDirectory(prefix="same-height-wm-")
        # An empty configuration folder of its own: openbox takes its
        # system-wide defaults, whatever the user running the tests has set.
        environment = dict(os.environ, DISPLAY=self.display, XDG_CONFIG_HOME=self._config.name)
        self.process = start_bound(["openbox", "--sm-disable"], env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the window manager to take the screen", self._managing)
        return self

    def _managing(self):
        if self.process.poll() is not None:
            raise Failure(f"openbox exited with {self.process.returncode}")
        result = subprocess.run(["xprop", "-display", self.display, "-root",
                                 "_NET_SUPPORTING_WM_CHECK"],
                                capture_output=True, text=True, timeout=DEFAULT_TIMEOUT)
        return "window id" in result.stdout

    def __exit__(self, *error):
        stop(self.process)
        self._config.cleanup()


class Program:
    """The program as a user starts it, on the given display, with the user's
    environment changed as given (a locale, say)."""

    def __init__(self, executable, display, environment=None):
        self.executable = executable
        self.display = display
        self.environment = environment or {}

    def __enter__(self):
        self._runtime_dir = tempfile.TemporaryDirectory(prefix="same-height-run-")
        os.chmod(self._runtime_dir.name, 0o700)
        self._stderr = tempfile.TemporaryFile()
        self.process = start_bound(
            [self.executable],
            env=dict(self.user_environment(self._runtime_dir.name), **self.environment),
            stdout=subprocess.DEVNULL, stderr=self._stderr)
        return self

    def __exit__(self, *error):
        stop(self.process)
        self._stderr.close()
        self._runtime_dir.cleanup()

    def user_environment(self, runtime_dir):
        """The environment of the user who starts the program, before the given changes."""
        return program_environment(self.display, runtime_dir)

    def stderr_text(self):
        self._stderr.seek(0)
        return self._stderr.read().decode(errors="replace")

    @property
    def pid(self):
        return self.process.pid

    def check_running(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended with exit code {self.process.returncode}; "
                          f"its stderr: {self.stderr_text()}")


class XInput:
    """Real X input and window queries on one display, through xdotool and xwininfo."""

    def __init__(self, display):
        self.environment = dict(os.environ, DISPLAY=display)

    def _run(self, *command):
        try:
            result = subprocess.run(command, env=self.environment, capture_output=True,
                                    text=True, timeout=DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"{' '.join(command)} did not finish in {DEFAULT_TIMEOUT:.0f} s")
        if result.returncode not in (0, 1):  # xdotool search says 1 when nothing matches
            raise Failure(f"{' '.join(command)} failed: {result.stderr.strip()}")
        return result.stdout

    def visible_windows(self, pid, title):
        """The ids of the mapped windows of the process whose title is exactly `title`."""
        output = self._run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid),
                           "--name", f"^{title}$")
        return [int(line) for line in output.split()]

    def windows_named(self, pattern):
        """The ids of the mapped windows whose names match the pattern."""
        return [int(line) for line in
                self._run("xdotool", "search", "--onlyvisible", "--name", pattern).split()]

    def process_windows(self, pid):
        """The ids of all mapped windows of the process, named or not."""
        output = self._run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid))
        return [int(line) for line in output.split()]

    def window_name(self, window):
        return self._run("xdotool", "getwindowname", str(window)).rstrip("\n")

    def screen_size(self):
        fields = self.window_info("-root")
        return int(fields["Width"]), int(fields["Height"])

    def window_info(self, window):
        """xwininfo's fields for the window: position, size, map state."""
        fields = {}
        where = [window] if window == "-root" else ["-id", str(window)]
        for line in self._run("xwininfo", *where).splitlines():
            name, colon, value = line.strip().partition(": ")
            if colon:
                fields[name] = value.strip()
        return fields

    def click(self, x, y, button="1"):
        # The server takes the motion before the button, so the click lands at
        # (x, y); waiting for the motion (--sync) would hang when the pointer
        # is already there.
        self._run("xdotool", "mousemove", str(x), str(y), "click", button)

    def key(self, *keys):
        """Presses each key in turn; a chord such as alt+Down as a hand does:
        the modifiers go down, the key is tapped, the modifiers come up.
        (xdotool's own chord sends its four events in one burst, closer
        together than any keyboard does; Wine's combo box then closes the
        list that Alt+Down has just opened.)"""
        for key in keys:
            *modifiers, last = key.split("+")
            if not modifiers:
                self._run("xdotool", "key", "--clearmodifiers", last)
                continue
            self._run("xdotool", *[part for modifier in modifiers for part in ("keydown", modifier)],
                      "key", last,
                      *[part for modifier in reversed(modifiers) for part in ("keyup", modifier)])

    def wheel(self, x, y, button, turns):
        """Turns the mouse wheel over (x, y): button 4 is a turn up, 5 a turn down.
        Each turn has reached the server before the next is sent."""
        with _XConnection(self.environment["DISPLAY"]) as x_server:
            x_server.move_pointer(x, y)
            for _ in range(turns):
                x_server.click(int(button))

    def round_trip(self):
        x_round_trip(self.environment["DISPLAY"])

    def type(self, text, arrived=None):
        """Types the text with the keys of the display's map (KeyboardMap),
        each run of letters with its layout group locked, as a user switches
        the layout, and every key of a run in that group. (xdotool types a
        letter that both groups have, a blank, in the first group, switching
        to it for that key; Wine, which reads the group of a key it
        translates from the last key event it has taken from the server, then
        read the letters before the blank in the first group too.) The group
        changes back only once the run's letters have arrived, which
        arrived(text typed so far) waits for; without it, an X round trip."""
        display = self.environment["DISPLAY"]
        with _XConnection(display) as x:
            keys = x.letter_keys()
            if missing := keyless(keys, text):
                raise Failure(f"the test keyboard has no key for {missing!r}; KeyboardMap "
                              f"takes the letters a test types")
            typed = ""
            for group, run in group_runs(keys, text):
                if group != LATIN_GROUP:
                    x.lock_group(group)
                for letter in run:
                    x.tap(*keys[keysym(letter)][group])
                x.sync()
                typed += run
                if group != LATIN_GROUP:
                    if arrived:
                        arrived(typed)
                    x.lock_group(LATIN_GROUP)


def keyless(keys, letters):
    """The letters that no key of the map types, in any group."""
    return "".join(sorted({letter for letter in letters if keysym(letter) not in keys}))


def group_runs(keys, text):
    """The text cut into runs that one layout group types whole: a letter
    that both groups have (a blank, a digit) stays in the run it is in."""
    runs = []
    for letter in text:
        having = keys[keysym(letter)]
        if runs and runs[-1][0] in having:
            runs[-1][1] += letter
        else:
            runs.append([LATIN_GROUP if LATIN_GROUP in having else min(having), letter])
    return [tuple(run) for run in runs]


class _XConnection:
    """A connection of its own to the X server, through Xlib."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XAutoRepeatOff.argtypes = [ctypes.c_void_p]
        self.x11.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int)]
        self.x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        self.x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                                 ctypes.POINTER(ctypes.c_int)]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xtest = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                 ctypes.c_ulong]
        self.xtest.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                    ctypes.c_int, ctypes.c_ulong]
        self.xtest.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                    ctypes.c_ulong]
        self.connection = self.x11.XOpenDisplay(display.encode())
        if not self.connection:
            raise Failure(f"could not open the display {display}")

    def sync(self):
        # XSync waits until the server has carried out every request before.
        self.x11.XSync(self.connection, 0)

    def close(self):
        self.sync()
        self.x11.XCloseDisplay(self.connection)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def keyboard_map(self):
        """{key code: [key symbols]} for every key code of the server."""
        first, last = ctypes.c_int(), ctypes.c_int()
        self.x11.XDisplayKeycodes(self.connection, ctypes.byref(first), ctypes.byref(last))
        per_code = ctypes.c_int()
        count = last.value - first.value + 1
        symbols = self.x11.XGetKeyboardMapping(self.connection, first.value, count,
                                               ctypes.byref(per_code))
        codes = {first.value + index: [symbols[index * per_code.value + level]
                                       for level in range(per_code.value)]
                 for index in range(count)}
        self.x11.XFree(symbols)
        return codes

    def letter_keys(self):
        """{key symbol: {layout group: (key code, level)}}: the key that types
        the symbol in each group that has one. The core map lists a key's
        symbols group by group, two levels each."""
        keys = {}
        for code, symbols in sorted(self.keyboard_map().items()):
            for index, symbol in enumerate(symbols[:4]):
                if symbol:
                    keys.setdefault(symbol, {}).setdefault(index // 2, (code, index % 2))
        return keys

    def lock_group(self, group):
        """Switches the keyboard to one of its layouts, through the X keyboard extension."""
        use_core_keyboard = 0x100
        self.x11.XkbLockGroup(self.connection, use_core_keyboard, group)
        self.sync()

    def move_pointer(self, x, y):
        self.xtest.XTestFakeMotionEvent(self.connection, -1, x, y, 0)  # -1: the pointer's screen

    def click(self, button):
        """Presses and releases the pointer's button through XTest."""
        self.xtest.XTestFakeButtonEvent(self.connection, button, True, 0)
        self.xtest.XTestFakeButtonEvent(self.connection, button, False, 0)
        self.sync()

    def tap(self, code, level):
        """Presses and releases the key through XTest, with Shift for the second level."""
        shift = self.x11.XKeysymToKeycode(self.connection, SHIFT_L) if level else None
        if shift:
            self.xtest.XTestFakeKeyEvent(self.connection, shift, True, 0)
        self.xtest.XTestFakeKeyEvent(self.connection, code, True, 0)
        self.xtest.XTestFakeKeyEvent(self.connection, code, False, 0)
        if shift:
            self.xtest.XTestFakeKeyEvent(self.connection, shift, False, 0)


SHIFT_L = 0xFFE1


@functools.lru_cache(maxsize=None)
def keysym(letter):
    """The key symbol that types the letter, as a layout that has the letter
    names it (xkbcommon's table: Cyrillic_a for а, not the Unicode symbol)."""
    xkbcommon = ctypes.CDLL(ctypes.util.find_library("xkbcommon"))
    xkbcommon.xkb_utf32_to_keysym.restype = ctypes.c_uint32
    xkbcommon.xkb_utf32_to_keysym.argtypes = [ctypes.c_uint32]
    return xkbcommon.xkb_utf32_to_keysym(ord(letter))


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("client", _ClientMessage), ("size", ctypes.c_long * 24)]  # Xlib's XEvent


def window_manager_round_trip(display):
    """Returns once the window manager has handled every event queued for it
    before: it answers a request for the frame of a window of our own, sent
    after them, by setting that window's _NET_FRAME_EXTENTS (openbox answers
    it for windows it does not manage too)."""
    with _XConnection(display) as x:
        lib, connection = x.x11, x.connection
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XCreateSimpleWindow.restype = ctypes.c_ulong
        lib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 \
            + [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.POINTER(_Event)]
        lib.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        root = lib.XDefaultRootWindow(connection)
        window = lib.XCreateSimpleWindow(connection, root, 0, 0, 1, 1, 0, 0, 0)
        extents = lib.XInternAtom(connection, b"_NET_FRAME_EXTENTS", 0)
        event = _Event()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = lib.XInternAtom(connection, b"_NET_REQUEST_FRAME_EXTENTS", 0)
        event.client.format = 32
        substructure_notify_and_redirect = (1 << 19) | (1 << 20)
        lib.XSendEvent(connection, root, 0, substructure_notify_and_redirect, ctypes.byref(event))
        x.sync()
        try:
            wait_for("the window manager to answer a request for a frame",
                     lambda: _has_property(x, window, extents))
        finally:
            lib.XDestroyWindow(connection, window)


def _has_property(x, window, atom):
    lib = x.x11
    lib.XGetWindowProperty.argtypes = [
        ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
        ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
    kind, size, count, left, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(),
                                     ctypes.c_ulong(), ctypes.c_void_p())
    any_type = 0
    lib.XGetWindowProperty(x.connection, window, atom, 0, 4, 0, any_type, ctypes.byref(kind),
                           ctypes.byref(size), ctypes.byref(count), ctypes.byref(left),
                           ctypes.byref(data))
    if data.value:
        lib.XFree(data)
    return kind.value != 0


def x_round_trip(display):
    """Returns once the X server has handled every request sent before, and so
    has queued the events of all earlier key presses and clicks for their
    windows' programs."""
    with _XConnection(display):
        pass
