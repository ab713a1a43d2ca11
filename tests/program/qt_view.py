"""The Qt build as the table sees it: started on an X server with a window
manager, and read through AT-SPI the way a screen reader reads it."""

import subprocess

import accessible_view as view
import pyatspi
from gi.repository import Atspi, GLib
from clipboard import Clipboard
from form2_places import CONTROLS, FORM2, FORM_TITLE, COMBO_BOX, screen_rectangle
from x_session import DEFAULT_TIMEOUT, Failure, Program, XInput, wait_for


class FocusWatch:
    """Remembers the object that last took the focus, as a screen reader hears
    of it: the toolkit leaves pop-up menus out of the accessible tree and
    tells of their items only as they take the focus."""

    EVENT = "object:state-changed:focused"

    def __init__(self):
        self.last = None
        self._listener = Atspi.EventListener.new(self._on_event)
        self._listener.register(self.EVENT)

    def _on_event(self, event):
        if event.detail1:
            self.last = event.source

    def catch_up(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def close(self):
        self._listener.deregister(self.EVENT)


class QtView:
    build = "qt"

    def __init__(self, executable, display):
        self.executable = executable
        self.display = display
        self.x = XInput(display)
        self.clipboard_owner = Clipboard(display, self.x.environment)
        self.program = None

    # The program's life: one start per group of rows.

    def start(self, environment):
        self.program = self._program(environment).__enter__()
        try:
            self._wait_for_form()
            self.accessible_program = view.AccessibleProgram(self.program)
            self.form = self.accessible_program.window(FORM_TITLE)
            self._controls = {}
            self.focus_watch = FocusWatch()
        except BaseException:
            self.stop()
            raise

    def stop(self):
        self.clipboard_owner.close()
        if getattr(self, "focus_watch", None) is not None:
            self.focus_watch.close()
            self.focus_watch = None
        if self.program is not None:
            self.program.__exit__(None, None, None)
            self.program = None

    def _program(self, environment):
        return Program(self.executable, self.display, environment)

    def _wait_for_form(self):
        self.window_id = wait_for(f"a mapped window titled {FORM_TITLE!r}", self._form_window)

    def _form_window(self):
        self.program.check_running()
        windows = self.x.visible_windows(self.program.pid, FORM_TITLE)
        return windows[0] if len(windows) == 1 else None

    def refresh(self):
        """AT-SPI is asked afresh on every query; nothing to read ahead."""

    # What the program shows.

    def running(self):
        return self.program.process.poll() is None

    def exit_code(self):
        return self.program.process.poll()

    def window(self):
        info = self.x.window_info(self.window_id)
        client = [int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                  int(info["Width"]), int(info["Height"])]
        return {"title": self.form.name, "client": client}

    def screen(self):
        return [0, 0, *self.x.screen_size()]

    def control(self, name):
        """The accessible object that stands at the control's place and fits its kind."""
        if name not in self._controls:
            place = screen_rectangle(name, self._accessible_origin())
            found = [item for item in self.accessible_program.at(place)
                     if view.role_of(item) in FORM2[name].role]
            if not found:
                raise Failure(f"{name}: no {' or '.join(FORM2[name].role)} at {place}")
            self._controls[name] = found[0]
        return self._controls[name]

    def _accessible_origin(self):
        """Where the form's client area starts, in the places AT-SPI gives."""
        return self.window()["client"][:2]

    def _on_screen(self, rectangle):
        """A place AT-SPI gives, on the screen: on X they are the same."""
        return list(rectangle)

    def places(self, names):
        places = {}
        for name in names:
            try:
                places[name] = self._on_screen(view.rectangle(self.control(name)))
            except Failure:
                places[name] = None
        return places

    def _edit_part(self, name):
        accessible = self.control(name)
        if FORM2[name].role != COMBO_BOX:
            return accessible
        return next(item for item in view.descendants(accessible) if view.role_of(item) == "text")

    def texts(self, names):
        return {name: view.text_of(self._edit_part(name)) for name in names}

    def focus(self):
        for box in self.accessible_program.message_boxes():
            if view.has_focus(box):
                return "box"
        return next((name for name in CONTROLS if view.has_focus(self.control(name))), None)

    def boxes(self):
        return [{"title": box.name, "text": self._box_text(box),
                 "rect": list(view.rectangle(box)),
                 "buttons": [{"text": item.name, "rect": list(view.rectangle(item))}
                             for item in view.descendants(box)
                             if view.role_of(item) == "push button"]}
                for box in self.accessible_program.message_boxes()]

    @staticmethod
    def _box_text(box):
        """The box's prompt: its labels, or the view that holds a prompt too long for one."""
        text = view.message_box_text(box)
        if text:
            return text
        views = [item for item in view.descendants(box) if view.role_of(item) == "text"]
        return view.text_of(views[0]) if views else ""

    def combo_list(self):
        combo = self.control("Combo1")
        if not combo.getState().contains(pyatspi.STATE_EXPANDED):
            return {"open": False}
        items = [item for item in view.descendants(combo) if view.role_of(item) == "list item"]
        highlighted = [item.name for item in items
                       if item.getState().contains(pyatspi.STATE_FOCUSED)]
        return {"open": True, "highlight": highlighted[0] if highlighted else None,
                "items": [{"text": item.name, "rect": self._on_screen(view.rectangle(item))}
                          for item in items]}

    def menu_open(self):
        # The toolkit leaves pop-up windows out of the accessible tree (a
        # screen reader learns of them from events), so the X server tells:
        # a pop-up is a window the window manager does not manage, and when
        # the combo box's list is not the one open, it is a menu.
        if self.combo_list()["open"]:
            return False
        return any(self.x.window_info(window).get("Override Redirect State") == "yes"
                   for window in self.x.process_windows(self.program.pid))

    def menu_items(self):
        """The items of the open menu, once one of them has taken the focus."""
        self.focus_watch.catch_up()
        item = self.focus_watch.last
        if item is None or view.role_of(item) != "menu item":
            return []
        # An item's name ends in its shortcut, after a tab.
        return [child.name.split("\t")[0] for child in view.children(item.parent)]

    def menu_item_place(self):
        """Where the open menu's item with the focus stands on the screen."""
        self.focus_watch.catch_up()
        item = self.focus_watch.last
        if item is None or view.role_of(item) != "menu item":
            return None
        return self._on_screen(view.rectangle(item))

    def stacking(self):
        """The program's managed windows, bottom to top, as the window manager
        stacks them, with which one is active."""
        own = set(self.x.process_windows(self.program.pid))
        order = [window for window in _root_windows(self.x, "_NET_CLIENT_LIST_STACKING")
                 if window in own]
        active = _root_windows(self.x, "_NET_ACTIVE_WINDOW")
        return [{"title": self.x.window_name(window), "focused": window in active}
                for window in order]

    def clipboard(self):
        return self.clipboard_owner.read()

    def accessible(self, names):
        shown = {}
        for name in names:
            accessible = self.form if name == FORM_TITLE else self.control(name)
            shown[name] = {"name": accessible.name, "role": view.role_of(accessible)}
        return shown

    def labelled_by(self, names):
        labels = {name: view.labels_of(self.control(name)) for name in names}
        return {name: found[0] if len(found) == 1 else found for name, found in labels.items()}

    def describe(self):
        if self.program is None or not self.running():
            return f"the program has ended; its stderr:\n{self.program.stderr_text()}"
        return self.accessible_program.tree()


def _root_windows(x, name):
    """The window ids a property of the root window lists."""
    output = subprocess.run(["xprop", "-root", name], env=x.environment, capture_output=True,
                            text=True, timeout=DEFAULT_TIMEOUT).stdout
    _, found, values = output.partition("window id # ")
    return [int(value, 16) for value in values.split(", ")] if found else []
