"""The program's message boxes under a real window manager (openbox on Xvfb).

- The window manager's close button on Form2 closes the program, but not
  while a message box is open: the box is modal, and the close request is
  refused; the box and the form stay, and the form works on once the box is
  dismissed.
- A report of a name too long for an ordinary box comes in a box that fits
  the screen with the window manager's frame around it.

Run it inside its own D-Bus session:
    dbus-run-session -- python3 boxes_under_wm_test.py path/to/same-height
"""

import os
import subprocess
import sys
import traceback

from form2_places import FORM_TITLE, screen_rectangle
from x_session import (Failure, Program, WindowManager, XInput, XServer, missing_tools,
                       wait_for, window_manager_round_trip)

BOX_TITLE = "Same Height"
SCREEN = (1024, 768)  # the test X server's screen


class Desktop:
    """The program's windows on the display, found and driven through X."""

    def __init__(self, program, display):
        self.program = program
        self.x = XInput(display)
        self.environment = dict(os.environ, DISPLAY=display)
        self.form = wait_for(f"the window {FORM_TITLE!r}", lambda: self.windows(FORM_TITLE))[0]

    def windows(self, title):
        self.program.check_running()
        return self.x.visible_windows(self.program.pid, title)

    def frame(self, window):
        """The window's rectangle with the window manager's frame: (x, y, width, height)."""
        info = self.x.window_info(window)
        x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        width, height = int(info["Width"]), int(info["Height"])
        output = subprocess.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"],
                                env=self.environment, capture_output=True, text=True).stdout
        if "=" not in output:
            raise Failure(f"the window manager gave window {window} no frame: {output!r}")
        left, right, top, bottom = (int(value) for value in output.split("=")[1].split(","))
        return (x - left, y - top, width + left + right, height + top + bottom)

    def click(self, x, y):
        # The window manager acts on a button the pointer has entered: the
        # click comes once it has handled the pointer's arrival.
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)],
                       env=self.environment, check=True, timeout=5)
        self.window_manager_round_trip()
        subprocess.run(["xdotool", "click", "1"], env=self.environment, check=True, timeout=5)

    def window_manager_round_trip(self):
        window_manager_round_trip(self.environment["DISPLAY"])

    def click_control(self, name):
        info = self.x.window_info(self.form)
        client = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        x, y, width, height = screen_rectangle(name, client)
        self.click(x + width // 2, y + height // 2)

    def type_into(self, name, text):
        self.click_control(name)
        self.x.key("ctrl+a")
        self.x.type(text)

    def click_form_close_button(self):
        # openbox's default title bar ends with the close button, some ten
        # pixels square, at the frame's top right corner.
        x, y, width, _ = self.frame(self.form)
        self.click(x + width - 10, y + 10)

    def one_box(self):
        boxes = wait_for(f"a box titled {BOX_TITLE!r}", lambda: self.windows(BOX_TITLE))
        if len(boxes) != 1:
            raise Failure(f"expected one box, saw {len(boxes)}")
        return boxes[0]

    def dismiss(self, box):
        subprocess.run(["xdotool", "windowactivate", "--sync", str(box), "key", "Return"],
                       env=self.environment, check=True, timeout=5)
        wait_for("the box to close", lambda: box not in self.windows(BOX_TITLE))

    def add(self, name, sex, height):
        self.type_into("Text1", name)
        self.type_into("Combo1", sex)
        self.type_into("Text3", height)
        self.click_control("Command1")
        self.dismiss(self.one_box())


def the_close_button_ends_the_program(desktop):
    """The check below clicks where it should: with no box open, the click ends the program."""
    desktop.click_form_close_button()
    wait_for("the program to end", lambda: desktop.program.process.poll() is not None)


def the_close_button_is_refused_while_a_box_is_open(desktop):
    desktop.click_control("Command1")
    box = desktop.one_box()
    desktop.click_form_close_button()
    # Once the window manager has handled the click, its close request is
    # queued for the program ahead of the key that dismisses the box: a
    # request wrongly taken ends the program before the form can be used again.
    desktop.window_manager_round_trip()
    gone = [title for title in (FORM_TITLE, BOX_TITLE) if not desktop.windows(title)]
    if gone:
        raise Failure(f"expected no window gone after the close request, saw: {gone}")
    desktop.dismiss(box)
    desktop.click_control("Command1")
    desktop.dismiss(desktop.one_box())


def a_long_report_fits_the_screen_in_its_frame(desktop):
    desktop.add("W" * 200, "Male", "180")
    desktop.add("Short", "Male", "180")
    desktop.click_control("Command2")
    box = desktop.one_box()
    x, y, width, height = desktop.frame(box)
    if x < 0 or y < 0 or x + width > SCREEN[0] or y + height > SCREEN[1]:
        raise Failure(f"the box with its frame, {width}x{height} at {x},{y}, "
                      f"leaves the {SCREEN[0]}x{SCREEN[1]} screen")
    desktop.dismiss(box)


SCENARIOS = [
    the_close_button_ends_the_program,
    the_close_button_is_refused_while_a_box_is_open,
    a_long_report_fits_the_screen_in_its_frame,
]


def main(executable):
    missing = missing_tools()
    if missing:
        print(f"FAILED: missing {missing}; scripts/packages/program-tests.txt lists "
              f"the packages these tests need")
        return 1
    failures = 0
    with XServer() as x_server, WindowManager(x_server.display):
        for scenario in SCENARIOS:
            name = scenario.__name__.replace("_", " ")
            with Program(executable, x_server.display) as program:
                try:
                    scenario(Desktop(program, x_server.display))
                    print(f"passed: {name}", flush=True)
                except Exception as error:
                    failures += 1
                    failure = error if isinstance(error, Failure) else traceback.format_exc()
                    print(f"FAILED: {name}\n{failure}\n--- its stderr:\n{program.stderr_text()}",
                          flush=True)
            window_manager_round_trip(x_server.display)  # it has forgotten the program's windows
    print(f"{len(SCENARIOS) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
