"""The Qt build as the table sees it on a Wayland compositor: started in a
Wayland session on a headless sway (wayland_session.py), read through AT-SPI
as on X, its windows' places and stacking from sway's tree, and what it draws
from pictures of the output.

On Wayland a client knows no global coordinates: AT-SPI gives every place
within the program's own window (a pop-up's within the window it belongs to),
so they are moved by where sway put that window."""

import accessible_view as view
from form2_places import FORM_TITLE
from qt_view import QtView
from wayland_session import SCREEN_SIZE, WaylandClipboard, WaylandInput, picture
from x_session import Failure, Program, wait_for

class WaylandProgram(Program):
    """The program as a user of a Wayland session starts it: no X display, the
    session type set as a desktop sets it, and no platform forced."""

    def __init__(self, executable, compositor, environment=None):
        super().__init__(executable, None, environment)
        self.compositor = compositor

    def user_environment(self, runtime_dir):
        environment = {name: value for name, value in self.compositor.environment().items()
                       if not name.startswith("QT_") and name != "SWAYSOCK"}
        environment.update(XDG_RUNTIME_DIR=runtime_dir, XDG_SESSION_TYPE="wayland",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        return environment


class WaylandView(QtView):
    build = "wayland"

    def __init__(self, executable, compositor):  # pylint: disable=super-init-not-called
        self.executable = executable
        self.compositor = compositor
        self.x = WaylandInput(compositor)
        self.clipboard_owner = WaylandClipboard(compositor)
        self.program = None
        self.own_actions = {"close_by_compositor": self._close_by_compositor,
                            "output_scale": self._set_scale,
                            "remember_picture": self._remember_picture}
        self._pictures = {}

    def _remember_picture(self, name):
        self._pictures[name] = (self.window()["client"], picture(self.compositor))

    def _close_by_compositor(self, title):
        """sway's kill on the program's window of that title: the compositor
        asks the window to close, as its close button or Alt+F4 does."""
        window = next((window for window in self._windows() if window["title"] == title), None)
        if window is None:
            raise Failure(f"the program has no window {title!r}: {self._windows()}")
        self.compositor.message(f"[con_id={window['id']}]", "kill")

    def _set_scale(self, scale):
        self.compositor.set_scale(scale)
        wait_for(f"the output at scale {scale}",
                 lambda: self.compositor.outputs()[0]["scale"] == scale)

    def _program(self, environment):
        return WaylandProgram(self.executable, self.compositor, environment)

    def _wait_for_form(self):
        wait_for(f"a window titled {FORM_TITLE!r}", self._form_window)

    def _windows(self):
        self.program.check_running()
        return self.compositor.windows(self.program.pid)

    def _form_window(self):
        forms = [window for window in self._windows() if window["title"] == FORM_TITLE]
        return forms[0] if len(forms) == 1 else None

    # Places: sway's for windows, AT-SPI's moved by the window's for what is inside.

    def _form_origin(self):
        form = self._form_window()
        if form is None:
            raise Failure(f"sway holds no window {FORM_TITLE!r} of the program: {self._windows()}")
        return form["rect"][:2]

    def _accessible_origin(self):
        return [0, 0]

    def _on_screen(self, rectangle):
        return _moved(rectangle, self._form_origin())

    def window(self):
        form = self._form_window()
        if form is None:
            raise Failure(f"sway holds no window {FORM_TITLE!r} of the program: {self._windows()}")
        return {"title": form["title"], "client": form["rect"], "app_id": form["app_id"]}

    def screen(self):
        output = self.compositor.outputs()[0]["rect"]
        return [output["x"], output["y"], output["width"], output["height"]]

    def boxes(self):
        """The boxes as AT-SPI reads them, with the title and place of the window
        sway shows for each (the program shows one box at a time)."""
        windows = [window for window in self._windows() if window["title"] != FORM_TITLE]
        boxes = self.accessible_program.message_boxes()
        if len(windows) != len(boxes):
            raise Failure(f"sway shows the windows {windows} for the boxes "
                          f"{[box.name for box in boxes]}")
        return [{"title": window["title"], "text": self._box_text(box), "rect": window["rect"],
                 "buttons": [{"text": item.name,
                              "rect": _moved(view.rectangle(item), window["rect"][:2])}
                             for item in view.descendants(box)
                             if view.role_of(item) == "push button"]}
                for box, window in zip(boxes, windows)]

    def stacking(self):
        """The program's windows as sway holds them, the one on top last, with
        which one has the keyboard."""
        return [{"title": window["title"], "focused": window["focused"]}
                for window in self._windows()]

    def menu_open(self):
        # No pop-up is in sway's tree or in the accessible one; the picture
        # shows one: something drawn outside every window of the tree.
        if self.combo_list()["open"]:
            return False
        return self._drawn_outside_windows()

    def _drawn_outside_windows(self):
        """Whether any pixel outside the windows in sway's tree differs from
        the desktop's background (the colour of the output's first pixel)."""
        width, height, pixels = picture(self.compositor)
        background = pixels[0:3]
        frames = self.compositor.frames()
        for y in range(height):
            row = pixels[y * width * 3:(y + 1) * width * 3]
            covered = sorted((max(left, 0), min(left + w, width)) for left, top, w, h in frames
                             if top <= y < top + h)
            start = 0
            for left, right in covered + [(width, width)]:
                if left > start and row[start * 3:left * 3] != background * (left - start):
                    return True
                start = max(start, right)
        return False

    # What the output shows, from pictures of it.

    def highlight_drawn_at(self, rectangle):
        """Whether the place is mostly drawn in a highlight's blue, as the style
        draws the item that has the keyboard in a list or menu."""
        pixels = list(_pixels_in(picture(self.compositor), SCREEN_WIDTH, rectangle, inset=2))
        blue = [pixel for pixel in pixels if pixel[2] - pixel[0] > HIGHLIGHT_BLUE]
        return len(blue) >= len(pixels) * HIGHLIGHT_SHARE

    def differences_from_picture(self, name):
        """The tiles of the form whose colour differs from the remembered
        picture's by more than drawing the same letters with more pixels
        explains: [x, y, difference]."""
        then_client, then_picture = self._pictures[name]
        now_client, now_picture = self.window()["client"], picture(self.compositor)

        def tile(shot, client, x, y):
            return _mean(_pixels_in(shot, SCREEN_WIDTH, [client[0] + x, client[1] + y,
                                                         TILE, TILE]))

        differences = []
        for y in range(0, then_client[3] - TILE + 1, TILE):
            for x in range(TEXT_SHIFT, then_client[2] - TILE - TEXT_SHIFT + 1, TILE):
                now = tile(now_picture, now_client, x, y)
                difference = min(max(abs(a - b) for a, b in zip(
                    tile(then_picture, then_client, x + shift, y), now))
                    for shift in range(-TEXT_SHIFT, TEXT_SHIFT + 1))
                if difference > TILE_TOLERANCE:
                    differences.append([x, y, difference])
        return differences


SCREEN_WIDTH = SCREEN_SIZE[0]  # in the desktop's points, whatever the output's scale
HIGHLIGHT_BLUE = 60  # how much bluer than red a highlight's pixel is (Fusion: 48, 140, 198)
HIGHLIGHT_SHARE = 0.5
TILE = 16  # points: a tile of the form compared between two pictures
# A tile's mean colour may differ this much where the same form is drawn
# with twice the pixels (up to 10 seen: the letters' edges); one added digit
# changes its tile by twice that, a caption cut off or a control out of place
# by more.
TILE_TOLERANCE = 16
# Letters hinted to whole pixels at scale 1 and to half points at scale 2 end
# a line of text up to this many points apart, so a tile is also compared
# with its neighbours in the remembered picture this far to either side.
TEXT_SHIFT = 2


def _moved(rectangle, origin):
    """A place within a window, on the screen: moved by the window's origin."""
    x, y, width, height = rectangle
    return [x + origin[0], y + origin[1], width, height]


def _pixels_in(shot, points_wide, rectangle, inset=0):
    """The (r, g, b) pixels of the picture inside a rectangle given in points."""
    width, height, data = shot
    scale = width // points_wide
    x, y, rect_width, rect_height = (value * scale for value in rectangle)
    inset *= scale
    for row in range(max(y + inset, 0), min(y + rect_height - inset, height)):
        start = (row * width + max(x + inset, 0)) * 3
        end = (row * width + min(x + rect_width - inset, width)) * 3
        line = data[start:end]
        yield from zip(line[0::3], line[1::3], line[2::3])


def _mean(pixels):
    pixels = list(pixels)
    return [round(sum(pixel[channel] for pixel in pixels) / len(pixels)) for channel in range(3)]
