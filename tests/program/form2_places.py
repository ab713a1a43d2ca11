"""Where Form2's controls stand and what kind they are: the form description's
rectangles in twips, as pixels on a screen of 96 dots per inch."""

from dataclasses import dataclass

TWIPS_PER_PIXEL = 15  # at 96 dots per inch
FORM_TITLE = "Form2"
FORM_SIZE = (305, 277)  # the client area, 4575 x 4155 twips

TEXT_BOX = ("text",)
COMBO_BOX = ("combo box",)
BUTTON = ("push button",)
FRAME = ("panel", "grouping")


@dataclass(frozen=True)
class Control:
    role: tuple  # the accessible roles that fit this kind of control
    twips: tuple  # left, top, width, height within its container
    container: str = FORM_TITLE


FORM2 = {
    "Text1": Control(TEXT_BOX, (1800, 240, 2535, 375)),
    "Text2": Control(TEXT_BOX, (1800, 840, 2535, 375)),
    "Combo1": Control(COMBO_BOX, (1800, 1440, 2535, 315)),
    "Text3": Control(TEXT_BOX, (1800, 2040, 2535, 375)),
    "Command1": Control(BUTTON, (2040, 2640, 2295, 375)),
    "Frame1": Control(FRAME, (120, 3240, 4335, 855)),
    "Command2": Control(BUTTON, (2280, 240, 1935, 495), container="Frame1"),
}
# The controls that take the focus and hold a text or caption.
CONTROLS = ("Text1", "Text2", "Combo1", "Text3", "Command1", "Command2")
INPUTS = ("Text1", "Text2", "Combo1", "Text3")


def pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def screen_rectangle(control_name, client_origin):
    """The control's rectangle on the screen, its containers' offsets added up."""
    control = FORM2[control_name]
    left, top, width, height = (pixels(value) for value in control.twips)
    if control.container == FORM_TITLE:
        x, y = client_origin
    else:
        x, y, _, _ = screen_rectangle(control.container, client_origin)
    return (x + left, y + top, width, height)
