"""The Qt build as the table sees it on a Wayland compositor: started in a
Wayland session on a headless sway (wayland_session.py), read through AT-SPI
as on X, its windows' places and stacking from sway's tree, and what it draws
from pictures of the output.

On Wayland a client knows no global coordinates: AT-SPI gives every place
within the program's own window (a pop-up's within the window it belongs to),
so they are moved by where sway put that window."""

import accessible_view as view
from form2_places import FORM_TITLE
from qt_view import FocusWatch, QtView
from wayland_session import WaylandClipboard, WaylandInput, picture
from x_session import Failure, Program, wait_for

APP_ID = "org.sameheight.SameHeight"  # the desktop id, which the program gives as its app_id


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
                            "output_scale": self._set_scale}
        self._pictures = {}

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

    def start(self, environment):
        self.program = WaylandProgram(self.executable, self.compositor, environment).__enter__()
        try:
            wait_for(f"a window titled {FORM_TITLE!r}", self._form_window)
            self.accessible_program = view.AccessibleProgram(self.program)
            self.form = self.accessible_program.window(FORM_TITLE)
            self._controls = {}
            self.focus_watch = FocusWatch()
        except BaseException:
            self.stop()
            raise

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
        x, y, width, height = rectangle
        origin_x, origin_y = self._form_origin()
        return [x + origin_x, y + origin_y, width, height]

    def window(self):
        form = self._form_window()
        if form is None:
            raise Failure(f"sway holds no window {FORM_TITLE!r} of the program: {self._windows()}")
        return {"title": form["title"], "client": form["rect"], "app_id": form["app_id"]}

    def screen(self):
        output = self.compositor.outputs()[0]["rect"]
        return [output["x"], output["y"], output["width"], output["height"]]

    def boxes(self):
        """The boxes as AT-SPI reads them, each at the place sway gave its window."""
        windows = [window for window in self._windows() if window["title"] != FORM_TITLE]
        shown = []
        for box in self.accessible_program.message_boxes():
            placed = [window for window in windows if window["title"] == box.name]
            rect = placed[0]["rect"] if len(placed) == 1 else None
            shown.append({"title": box.name, "text": self._box_text(box), "rect": rect,
                          "buttons": [{"text": item.name} for item in view.descendants(box)
                                      if view.role_of(item) == "push button"]})
        return shown

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
