"""Runs the table of user actions (user_actions.py) on one build of the program.

    dbus-run-session -- python3 run_user_actions.py qt path/to/same-height
        The Qt build on an X server of its own with the openbox window
        manager, read through a private accessibility bus.
    dbus-run-session -- python3 run_user_actions.py wayland path/to/same-height
        The Qt build in a Wayland session of its own (a headless sway), read
        the same way.
    python3 run_user_actions.py win32 path/to/form2_probe.exe EMULATOR...
        The Windows build under Wine on the X display in DISPLAY, started
        and read by the probe; EMULATOR is how the build runs its programs
        (its run-under-wine).

ONLY=text in the environment runs only the groups whose names contain it.
Prints one line per row and ends with the count of rows passed and failed.
"""

import os
import sys

import wayland_session
from action_engine import run_table, typed_letters
from user_actions import GROUPS
from x_session import WindowManager, XServer, missing_tools


def run_qt(executable):
    import accessible_view
    from qt_view import QtView

    with XServer(typed_letters(GROUPS)) as x_server, WindowManager(x_server.display):
        # The program is read on the test's display and its own session's
        # accessibility bus, never on a desktop the test was started from.
        os.environ["DISPLAY"] = x_server.display
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        accessible_view.start_accessibility_bus(x_server.display)
        return run_table(QtView(executable, x_server.display), GROUPS, os.environ.get("ONLY"))


def run_wayland(executable):
    import accessible_view
    from wayland_session import Compositor
    from wayland_view import WaylandView

    with Compositor() as compositor:
        # The accessibility bus is the test's own, and its services know
        # only the test's compositor.
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        accessible_view.start_accessibility_bus(None, {"WAYLAND_DISPLAY": compositor.socket})
        return run_table(WaylandView(executable, compositor), GROUPS, os.environ.get("ONLY"))


def run_win32(probe, emulator):
    from wine_view import WineView

    display = os.environ.get("DISPLAY")
    if not display:
        print("FAILED: no DISPLAY: the Windows build's tests run under xvfb-run")
        return False
    return run_table(WineView(emulator, probe, display, typed_letters(GROUPS)), GROUPS, os.environ.get("ONLY"))


def main(build, arguments):
    missing = wayland_session.missing_tools() if build == "wayland" else missing_tools()
    if missing:
        print(f"FAILED: missing {missing}; scripts/packages/program-tests.txt lists "
              f"the packages these tests need")
        return 1
    runs = {"qt": lambda: run_qt(*arguments), "wayland": lambda: run_wayland(*arguments),
            "win32": lambda: run_win32(arguments[0], arguments[1:])}
    return 0 if runs[build]() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
