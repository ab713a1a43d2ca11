"""The whole program on a real X server, used as a person uses it.

Real mouse clicks and key presses go to the places where the window's
controls stand (the window's position plus the control's rectangle), and the
outcome is read back through AT-SPI, the way a screen reader reads it.

Run it inside its own D-Bus session, so that the accessibility bus it starts
is private to it:
    dbus-run-session -- python3 form2_program_test.py path/to/same-height
"""

import os
import sys
import traceback
from dataclasses import dataclass, field

from x_session import (Failure, Program, XInput, XServer, missing_tools, stays_absent,
                       wait_for)

try:
    import accessible_view as view
except ImportError as error:
    sys.exit(f"FAILED: {error}; run this with Debian's python3, with the packages in "
             f"scripts/packages/program-tests.txt installed")

TWIPS_PER_PIXEL = 15  # at 96 dots per inch
FORM_TITLE = "Form2"
FORM_SIZE = (305, 277)  # the client area, 4575 x 4155 twips
NO_EXTRA_BOX_PERIOD = 0.5  # seconds


@dataclass(frozen=True)
class Control:
    role: tuple  # the accessible roles that fit this kind of control
    name: str  # what a screen reader calls it: its label or caption
    twips: tuple  # left, top, width, height within its container
    container: str = FORM_TITLE

    @property
    def is_input(self):
        return self.role in (TEXT_BOX, COMBO_BOX)


TEXT_BOX = ("text",)
COMBO_BOX = ("combo box",)
BUTTON = ("push button",)
FRAME = ("panel", "grouping")

# Where the window's controls stand, and what they are called.
FORM2 = {
    "Text1": Control(TEXT_BOX, "Фамилия,Имя", (1800, 240, 2535, 375)),
    "Text2": Control(TEXT_BOX, "Год рождения", (1800, 840, 2535, 375)),
    "Combo1": Control(COMBO_BOX, "Пол", (1800, 1440, 2535, 315)),
    "Text3": Control(TEXT_BOX, "Рост", (1800, 2040, 2535, 375)),
    "Command1": Control(BUTTON, "добавить", (2040, 2640, 2295, 375)),
    "Frame1": Control(FRAME, "Поиск", (120, 3240, 4335, 855)),
    "Command2": Control(BUTTON, "Найти", (2280, 240, 1935, 495), container="Frame1"),
}


def pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def screen_rectangle(control_name, window_origin):
    """The control's rectangle on the screen, containers' offsets added up."""
    control = FORM2[control_name]
    left, top, width, height = (pixels(value) for value in control.twips)
    if control.container == FORM_TITLE:
        x, y = window_origin
    else:
        x, y, _, _ = screen_rectangle(control.container, window_origin)
    return (x + left, y + top, width, height)


class Session:
    """One run of the program: its X window, its accessible objects and real input."""

    def __init__(self, program, x_input):
        self.program = program
        self.x = x_input
        self.window_id = wait_for(
            f"one mapped window titled {FORM_TITLE!r}",
            lambda: self._single_window(), seen=lambda: self._windows_seen())
        info = self.x.window_info(self.window_id)
        self.window_info = info
        self.origin = (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]))
        self.accessible = view.AccessibleProgram(program)
        self.form = self.accessible.window(FORM_TITLE)

    def _windows_seen(self):
        self.program.check_running()
        return self.x.visible_windows(self.program.pid, FORM_TITLE)

    def _single_window(self):
        windows = self._windows_seen()
        if len(windows) > 1:
            raise Failure(f"expected one window titled {FORM_TITLE!r}, saw {len(windows)}")
        return windows[0] if windows else None

    def place(self, control_name):
        return screen_rectangle(control_name, self.origin)

    def control(self, control_name):
        """The accessible object that stands at the control's place and fits its kind."""
        place = self.place(control_name)
        found = self.accessible.at(place)
        fitting = [item for item in found if view.role_of(item) in FORM2[control_name].role]
        if not fitting:
            raise Failure(f"{control_name}: expected a {' or '.join(FORM2[control_name].role)} "
                          f"at {place}, saw {[view.describe(item) for item in found]}")
        return fitting[0]

    def text(self, control_name):
        """The text the control shows; a combo box's is in its edit part."""
        accessible = self.control(control_name)
        if FORM2[control_name].role == COMBO_BOX:
            accessible = next((item for item in view.descendants(accessible)
                               if view.role_of(item) == "text"), None)
            if accessible is None:
                raise Failure(f"{control_name}: the combo box has no edit field")
        return view.text_of(accessible)

    def click(self, control_name):
        x, y, width, height = self.place(control_name)
        self.x.click(x + width // 2, y + height // 2)


# The steps a scenario is made of. Each says what it does and checks.


@dataclass
class CheckWindow:
    """The window is mapped, titled Form2, with its client area at its size in
    pixels, and a screen reader announces it as a window (a frame) of that name."""

    def __str__(self):
        width, height = FORM_SIZE
        return (f"the window {FORM_TITLE!r} is mapped with a {width}x{height} client area "
                f"and announced as a frame")

    def run(self, session):
        info = session.window_info
        seen = (int(info["Width"]), int(info["Height"]))
        if seen != FORM_SIZE or info["Map State"] != "IsViewable":
            raise Failure(f"expected a viewable {FORM_SIZE} window, saw {seen}, "
                          f"map state {info['Map State']}")
        if view.role_of(session.form) != "frame":
            raise Failure(f"expected the window's role to be frame, "
                          f"saw {view.role_of(session.form)!r}")
        form_place = view.rectangle(session.form)
        if form_place != (*session.origin, *FORM_SIZE):
            raise Failure(f"expected the accessible window at {(*session.origin, *FORM_SIZE)}, "
                          f"saw {form_place}")


@dataclass
class CheckNames:
    """Each control at its place, named by its label or caption, and each input
    labelled by its label, whatever the inputs hold: the combo box too keeps
    its label's name once it holds a text.
    """

    def __str__(self):
        return "every control is named as on screen"

    def run(self, session):
        problems = []
        for control_name, control in FORM2.items():
            try:
                accessible = session.control(control_name)
            except Failure as failure:
                problems.append(str(failure))
                continue
            if accessible.name != control.name:
                problems.append(f"{control_name}: expected the name {control.name!r}, "
                                f"saw {accessible.name!r}")
            if control.is_input and view.labels_of(accessible) != [control.name]:
                problems.append(f"{control_name}: expected to be labelled by {control.name!r}, "
                                f"saw {view.labels_of(accessible)}")
        if problems:
            raise Failure("\n".join(problems))


@dataclass
class Type:
    """Clicks into each input and types its new text over the old."""

    texts: dict

    def __str__(self):
        return f"type {self.texts}"

    def run(self, session):
        for control_name, text in self.texts.items():
            session.click(control_name)
            wait_for(f"{control_name} to take the keyboard after a click on it",
                     lambda: view.has_focus(session.control(control_name)))
            session.x.key("ctrl+a")
            session.x.type(text)
        CheckTexts(self.texts).run(session)


@dataclass
class Click:
    control_name: str

    def __str__(self):
        return f"click {self.control_name} ({FORM2[self.control_name].name!r})"

    def run(self, session):
        session.click(self.control_name)


@dataclass
class CheckTexts:
    """The inputs show these texts."""

    texts: dict

    def __str__(self):
        return f"the inputs show {self.texts}"

    def run(self, session):
        def shown():
            return {name: session.text(name) for name in self.texts}

        wait_for(f"the inputs to show {self.texts}", lambda: shown() == self.texts, seen=shown)


def dismiss_with_enter(session, box):
    # The box takes the keyboard when it opens; Enter presses its OK button.
    wait_for("the message box to take the keyboard", lambda: view.is_active(box))
    session.x.key("Return")


def dismiss_with_ok_button(session, box):
    view.press_button(box, "OK")


@dataclass
class ExpectBoxes:
    """These message boxes, one at a time and in this order, then no more."""

    texts: list
    dismiss: object = field(default=dismiss_with_ok_button)

    def __str__(self):
        return f"message boxes {self.texts}, each dismissed ({self.dismiss.__name__})"

    def run(self, session):
        boxes = session.accessible.message_boxes
        for number, expected in enumerate(self.texts, start=1):
            open_boxes = wait_for(f"message box {number} of {len(self.texts)}: {expected!r}",
                                  boxes)
            if len(open_boxes) != 1:
                raise Failure(f"expected one message box at a time, saw {len(open_boxes)}")
            box = open_boxes[0]
            seen = view.message_box_text(box)
            if seen != expected:
                raise Failure(f"message box {number}: expected {expected!r}, saw {seen!r}")
            self.dismiss(session, box)
            wait_for(f"message box {number} to close", lambda: box not in boxes())
        stays_absent(f"further message box after {self.texts}",
                     lambda: [view.message_box_text(item) for item in boxes()],
                     NO_EXTRA_BOX_PERIOD)


def add(person):
    """The steps of one add through the window: type the person, press добавить."""
    return [Type(person), Click("Command1"), ExpectBoxes(["Запись добавлена"])]


PERSON = {"Text1": "Иванов Иван", "Text2": "1990", "Combo1": "Male", "Text3": "180"}
FIRST_MAN = {"Text1": "Петров Пётр", "Text2": "1985", "Combo1": "Male", "Text3": "180"}
SECOND_MAN = {"Text1": "Сидоров Сидор", "Text2": "1979", "Text3": "180"}  # sex kept: Male
# A woman of the same height: she pairs with no man, and alone with no woman.
WOMAN = {"Text1": "Иванова Анна", "Text2": "1992", "Combo1": "Female", "Text3": "180"}

SCENARIOS = [
    ("the window as it starts", [CheckWindow(), CheckNames()]),
    ("one add", [
        Type(PERSON),
        CheckNames(),
        Click("Command1"),
        ExpectBoxes(["Запись добавлена"], dismiss=dismiss_with_enter),
        CheckTexts({"Text1": "", "Text2": "", "Combo1": "Male", "Text3": ""}),
    ]),
    ("one pair of men", [
        *add(FIRST_MAN),
        *add(SECOND_MAN),
        *add(WOMAN),
        Click("Command2"),
        ExpectBoxes(["Найдена пара мужчин: Петров Пётр   Сидоров Сидор"]),
    ]),
]


def run_scenario(executable, display, name, steps):
    """Runs the steps on a fresh program; returns a failure report, or None."""
    with Program(executable, display) as program:
        session = None
        step = "start the program"
        try:
            session = Session(program, XInput(display))
            for step in steps:
                step.run(session)
            program.check_running()
            return None
        except Exception as error:
            failure = error if isinstance(error, Failure) else traceback.format_exc()
            tree = session.accessible.tree() if session else "(the program was not found)"
            return (f"FAILED: {name}: {step}\n{failure}\n"
                    f"--- what the program shows through AT-SPI:\n{tree}\n"
                    f"--- its stderr:\n{program.stderr_text()}")


def main(executable):
    if missing_tools():
        print(f"FAILED: missing {missing_tools()}; scripts/packages/program-tests.txt lists "
              f"the packages these tests need")
        return 1
    failures = []
    with XServer() as x_server:
        # This test reads the program on the test's display and its own
        # session's accessibility bus, never on a desktop it was started from.
        os.environ["DISPLAY"] = x_server.display
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        view.start_accessibility_bus(x_server.display)
        for name, steps in SCENARIOS:
            failure = run_scenario(executable, x_server.display, name, steps)
            print(failure or f"passed: {name}", flush=True)
            if failure:
                failures.append(name)
    print(f"{len(SCENARIOS) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
