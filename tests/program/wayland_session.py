"""A private Wayland compositor (sway, headless) and real input on it.

sway refuses to run as root, so when the tests run as root it runs as the
unprivileged user nobody, in a runtime folder of that user's; the program and
the tools here reach its socket by the socket's full path (a root process may
open any socket). Every process started here is bound to the test, as in
x_session.py, and every wait is bounded and polls for what it waits for.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

from virtual_keyboard import VirtualKeyboard
from x_session import DEFAULT_TIMEOUT, Failure, start_bound, stop, wait_for

TOOLS = ("sway", "swaymsg", "wl-copy", "wl-paste", "grim", "setpriv")
SCREEN_SIZE = (1024, 768)
OUTPUT = "HEADLESS-1"
NOBODY = 65534
# sway's headless back end, with no input devices and pixels drawn on the CPU.
HEADLESS = {"WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
VIRTUAL_POINTER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "virtual_pointer.py")
BOTH = 3  # a seat's capabilities: pointer (1) and keyboard (2)


# sway's own defaults, but for two settings the desktops most users start
# (GNOME, KDE Plasma) have: Alt+F4 asks the focused window to close, and a
# window that asks to be activated with the focused program's token gets the
# focus (sway's default only marks it urgent).
CONFIG = f"""output {OUTPUT} resolution {SCREEN_SIZE[0]}x{SCREEN_SIZE[1]}
bindsym Mod1+F4 kill
focus_on_window_activation focus
"""


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def _as_compositor_user():
    """The command prefix that runs sway as nobody when the tests run as root."""
    if os.getuid() != 0:
        return []
    return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups"]


class Compositor:
    """sway on a 1024 x 768 headless output, with its IPC socket for swaymsg."""

    def __enter__(self):
        self._folder = tempfile.TemporaryDirectory(prefix="same-height-sway-")
        os.chmod(self._folder.name, 0o755)  # nobody must reach its runtime folder inside
        self.runtime_dir = os.path.join(self._folder.name, "runtime")
        os.mkdir(self.runtime_dir, 0o700)
        config = os.path.join(self._folder.name, "config")
        with open(config, "w", encoding="utf-8") as file:
            file.write(CONFIG)
        os.chmod(config, 0o644)
        if os.getuid() == 0:
            os.chown(self.runtime_dir, NOBODY, NOBODY)
        self._log = tempfile.TemporaryFile()
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"),
                       "HOME": self._folder.name, "XDG_RUNTIME_DIR": self.runtime_dir, **HEADLESS}
        self.process = start_bound([*_as_compositor_user(), "sway", "-c", config],
                                   env=environment, stdout=self._log, stderr=self._log)
        self._devices = []
        self.keyboard = None
        try:
            wait_for("sway to open its sockets", self._sockets, timeout=3 * DEFAULT_TIMEOUT)
            wait_for("sway to answer on its IPC socket", lambda: self.outputs())
            self._hold_input_devices()
        except BaseException:
            self.__exit__()
            raise
        return self

    def _hold_input_devices(self):
        """Gives the seat a keyboard and a pointer for the whole session.

        A headless sway has neither. Both stay for the whole session: when
        the seat loses its last keyboard the program loses the keyboard
        focus, which closes any open pop-up."""
        self.keyboard = VirtualKeyboard(self.environment())
        self._devices = [
            start_bound([sys.executable, "-B", VIRTUAL_POINTER], env=self.environment(),
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
        wait_for("the seat to have a keyboard and a pointer", self._seat_complete,
                 seen=lambda: self.message(kind="get_seats"))

    def _seat_complete(self):
        for device in self._devices:
            if device.poll() is not None:
                raise Failure(f"{device.args[-1]} ended with {device.returncode}")
        seats = self.message(kind="get_seats")
        return all(seat["capabilities"] & BOTH == BOTH for seat in seats)

    def __exit__(self, *error):
        for device in self._devices:
            stop(device)
        if self.keyboard is not None:
            self.keyboard.close()
        stop(self.process)
        self._log.close()
        self._folder.cleanup()

    def _sockets(self):
        if self.process.poll() is not None:
            self._log.seek(0)
            raise Failure(f"sway exited with {self.process.returncode}: "
                          f"{self._log.read().decode(errors='replace')[-2000:]}")
        names = os.listdir(self.runtime_dir)
        wayland = [name for name in names if name.startswith("wayland-")
                   and not name.endswith(".lock")]
        ipc = [name for name in names if name.startswith("sway-ipc.")]
        if not wayland or not ipc:
            return False
        self.socket = os.path.join(self.runtime_dir, wayland[0])
        self.ipc_socket = os.path.join(self.runtime_dir, ipc[0])
        return True

    def environment(self):
        """What a client of this compositor needs: the socket by its full path."""
        environment = {name: value for name, value in os.environ.items()
                       if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
        environment.update(WAYLAND_DISPLAY=self.socket, SWAYSOCK=self.ipc_socket,
                           XDG_RUNTIME_DIR=self.runtime_dir)
        return environment

    def message(self, *command, kind=None):
        """A swaymsg command, or a query of the given kind (-t), answered in JSON."""
        arguments = ["swaymsg", "--raw"] + (["-t", kind] if kind else []) + list(command)
        try:
            result = subprocess.run(arguments, env=self.environment(), capture_output=True,
                                    text=True, timeout=DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"{' '.join(arguments)} did not finish in {DEFAULT_TIMEOUT:.0f} s")
        if result.returncode != 0 and not result.stdout:
            raise Failure(f"{' '.join(arguments)} failed: {result.stderr.strip()}")
        answer = json.loads(result.stdout)
        if kind is None and not all(item.get("success") for item in answer):
            raise Failure(f"sway refused {' '.join(command)}: {answer}")
        return answer

    def outputs(self):
        try:
            return self.message(kind="get_outputs")
        except (Failure, json.JSONDecodeError):
            return None

    def tree(self):
        return self.message(kind="get_tree")

    def windows(self, pid):
        """The process's windows, topmost last, as sway holds them: each with
        its title, app_id, content rectangle on the screen and focus."""
        found = []

        def walk(node):
            if node.get("pid") == pid:
                frame, content = node["rect"], node["window_rect"]
                found.append({"title": node.get("name"), "app_id": node.get("app_id"),
                              "id": node["id"], "focused": node.get("focused"),
                              "rect": [frame["x"] + content["x"], frame["y"] + content["y"],
                                       content["width"], content["height"]]})
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(self.tree())
        return found

    def frames(self):
        """The rectangles of every window on the output, title bar and border included."""
        found = []

        def walk(node):
            if node.get("pid") is not None:
                frame, title = node["rect"], node["deco_rect"]
                found.append([frame["x"], frame["y"] - title["height"], frame["width"],
                              frame["height"] + title["height"]])
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(self.tree())
        return found

    def set_scale(self, scale):
        """The output as a screen of `scale` times the pixels at that scale: the
        desktop keeps its size, each of its points is drawn with scale x scale pixels."""
        self.message("output", OUTPUT, "resolution",
                     f"{SCREEN_SIZE[0] * scale}x{SCREEN_SIZE[1] * scale}", "scale", str(scale))


class WaylandInput:
    """Keys through the seat's virtual keyboard (virtual_keyboard.py) and the
    pointer through sway's own seat commands, on one compositor."""

    BUTTONS = {"1": "button1", "2": "button2", "3": "button3"}
    # sway turns buttons 4 and 5 into turns of the wheel, up and down.
    WHEEL = {"4": "button4", "5": "button5"}

    def __init__(self, compositor):
        self.compositor = compositor

    def key(self, *keys):
        """Presses each key in turn, a chord such as alt+Down with its modifiers held."""
        for key in keys:
            self.compositor.keyboard.key(key)

    def type(self, text, arrived=None):
        # The keyboard and the group it types in reach the program on one
        # connection, in order, so no run waits for the one before; `arrived`
        # is for the caller (see XInput.type).
        self.compositor.keyboard.type(text)

    def round_trip(self):
        """Returns once sway has handled every earlier input: the keyboard's
        steps and the seat commands each return after sway took their input,
        and sway answers this query after all of it, in order."""
        self.compositor.message(kind="get_version")

    def _pointer(self, *command):
        self.compositor.message("seat", "-", "cursor", *command)

    def click(self, x, y, button="1"):
        self._pointer("set", str(x), str(y))
        self._pointer("press", self.BUTTONS[button])
        self._pointer("release", self.BUTTONS[button])

    def wheel(self, x, y, button, turns):
        self._pointer("set", str(x), str(y))
        for _ in range(turns):
            self._pointer("press", self.WHEEL[button])
            self._pointer("release", self.WHEEL[button])


class WaylandClipboard:
    """The Wayland clipboard and primary selection as other programs see them,
    through wl-copy and wl-paste."""

    def __init__(self, compositor):
        self.compositor = compositor
        self._owners = {}

    @staticmethod
    def _selection(selection):
        return ["--primary"] if selection == "primary" else []

    def read(self, selection="clipboard"):
        command = ["wl-paste", "--no-newline", *self._selection(selection)]
        try:
            result = subprocess.run(command, env=self.compositor.environment(),
                                    capture_output=True, timeout=DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("the clipboard's owner did not answer in time")
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""

    def _offer(self, data, selection, kind):
        """Offers the data, of the given MIME type, held by wl-copy until another
        program takes the selection."""
        if selection in self._owners:
            stop(self._owners.pop(selection))
        # --foreground keeps wl-copy bound to the test, serving the data.
        owner = start_bound(["wl-copy", "--foreground", "--type", kind,
                             *self._selection(selection)],
                            env=self.compositor.environment(), stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._owners[selection] = owner
        owner.stdin.write(data)
        owner.stdin.close()

    def put(self, text, selection="clipboard"):
        """Puts the text on the clipboard."""
        self._offer(text.encode(), selection, "text/plain;charset=utf-8")
        wait_for(f"the {selection} selection to hold {text!r}",
                 lambda: self.read(selection) == text, seen=lambda: self.read(selection))

    def put_picture(self, selection="clipboard"):
        """Puts a picture, and no text, on the clipboard: one pixel of the output."""
        shot = subprocess.run(["grim", "-g", "0,0 1x1", "-"], env=self.compositor.environment(),
                              capture_output=True, timeout=DEFAULT_TIMEOUT, check=True).stdout
        self._offer(shot, selection, "image/png")
        wait_for(f"the {selection} selection to offer a picture",
                 lambda: "image/png" in self._kinds(selection), seen=lambda: self._kinds(selection))

    def _kinds(self, selection):
        result = subprocess.run(["wl-paste", "--list-types", *self._selection(selection)],
                                env=self.compositor.environment(), capture_output=True,
                                text=True, timeout=DEFAULT_TIMEOUT)
        return result.stdout.split() if result.returncode == 0 else []

    def close(self):
        for owner in self._owners.values():
            stop(owner)
        self._owners.clear()


def picture(compositor, path=None):
    """A picture of the whole output through grim: written to the path as PNG,
    or without one returned as (width, height, RGB bytes, row by row)."""
    command = ["grim", "-o", OUTPUT] + ([path] if path else ["-t", "ppm", "-"])
    result = subprocess.run(command, env=compositor.environment(), capture_output=True,
                            timeout=DEFAULT_TIMEOUT)
    if result.returncode != 0:
        raise Failure(f"grim could not take a picture: {result.stderr.decode(errors='replace')}")
    return None if path else _read_ppm(result.stdout)


def _read_ppm(data):
    """Width, height and pixels of a binary PPM of 8-bit channels (as grim writes it)."""
    fields = []
    at = 0
    while len(fields) < 4:  # P6, width, height, largest value
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure(f"grim wrote a picture that is not an 8-bit PPM: {fields}")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:at + 1 + width * height * 3]
