"""What the program shows, read through AT-SPI the way a screen reader reads it."""

import pyatspi
from gi.repository import Atspi, Gio, GLib

from x_session import DEFAULT_TIMEOUT, Failure, wait_for

MESSAGE_BOX_ROLES = ("alert", "dialog")
TIMEOUT_MS = int(DEFAULT_TIMEOUT * 1000)


def start_accessibility_bus(display, variables=None):
    """Starts the session's accessibility bus on the display, before the program starts.

    The toolkit's bridge only joins a bus that is already there; asking for
    its address starts it, as a desktop session does at log-in.
    """
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(service, path, interface, method, arguments, reply):
        session.call_sync(service, path, interface, method, arguments,
                          GLib.VariantType.new(reply) if reply else None,
                          Gio.DBusCallFlags.NONE, TIMEOUT_MS, None)

    # The bus's services run on the test's display, never on the one the
    # session was started from (or on the display the variables name).
    call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
         "UpdateActivationEnvironment",
         GLib.Variant("(a{ss})", (variables or {"DISPLAY": display},)), None)
    call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, "(s)")


def rectangle(accessible):
    """The object's place on the screen: (x, y, width, height). An object that
    is going away (a box as it closes) may have lost its place already: that
    is a state to wait out, as a check that does not hold yet."""
    try:
        extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except (NotImplementedError, GLib.GError) as error:
        raise Failure(f"an object has no place on the screen ({error!r}): it is going away")
    return (extents.x, extents.y, extents.width, extents.height)


def text_of(accessible):
    """The text the object holds, through its Text interface."""
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def labels_of(accessible):
    """The names of the objects that label this one (its labelled-by relation)."""
    names = []
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def role_of(accessible):
    """The object's role name; empty when the object has gone meanwhile (a closed box)."""
    try:
        return accessible.getRoleName()
    except GLib.GError:
        return ""


def children(accessible):
    """The object's children that are still there."""
    try:
        return [child for child in accessible if child is not None]
    except GLib.GError:
        return []


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def describe(accessible, indent=0):
    """One line per object: role, name, place and text, for failure reports."""
    try:
        line = f"{'  ' * indent}{accessible.getRoleName()} {accessible.name!r}"
        try:
            line += f" at {rectangle(accessible)}"
        except NotImplementedError:
            pass
        try:
            line += f" text {text_of(accessible)!r}"
        except NotImplementedError:
            pass
        labels = labels_of(accessible)
        if labels:
            line += f" labelled by {labels}"
    except Exception as error:  # the object went away while we looked
        return f"{'  ' * indent}<gone: {error}>"
    return "\n".join([line] + [describe(child, indent + 1) for child in children(accessible)])


class AccessibleProgram:
    """The program's accessible objects, found by its process id."""

    def __init__(self, program):
        self.program = program
        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            program.check_running()
            for candidate in children(desktop):
                if candidate.get_process_id() == program.pid:
                    return candidate
            return None

        self.application = wait_for("the program to join the accessibility bus", application,
                                    seen=lambda: [app.name for app in children(desktop)])
        # Every question goes to the program itself: what it answers is what
        # it shows now, not what a cache kept from before.
        self.application.set_cache_mask(Atspi.Cache.NONE)

    def tree(self):
        return describe(self.application)

    def window(self, title):
        """The top-level object of the window with this title."""
        return wait_for(f"a window titled {title!r} in the accessibility tree",
                        lambda: next((child for child in children(self.application)
                                      if child.name == title
                                      and role_of(child) not in MESSAGE_BOX_ROLES), None),
                        seen=self.tree)

    def at(self, place):
        """The objects that occupy exactly this rectangle on the screen, outermost first."""
        found = []
        for accessible in descendants(self.application):
            try:
                if rectangle(accessible) == place:
                    found.append(accessible)
            except (NotImplementedError, GLib.GError):  # no place, or gone meanwhile
                pass
        return found

    def message_boxes(self):
        return [child for child in children(self.application)
                if role_of(child) in MESSAGE_BOX_ROLES]


def message_box_text(box):
    """What the box says: the texts of its labels, the buttons left out."""
    return "\n".join(accessible.name for accessible in descendants(box)
                     if role_of(accessible) == "label" and accessible.name)


def press_button(container, caption):
    """Presses the named button through its accessible action, as a switch user does."""
    button = next((accessible for accessible in descendants(container)
                   if role_of(accessible) == "push button" and accessible.name == caption),
                  None)
    if button is None:
        raise Failure(f"no button {caption!r} in:\n{describe(container)}")
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise Failure(f"button {caption!r} offers no Press action, only {names}")
    action.doAction(names.index("Press"))


def is_active(accessible):
    return accessible.getState().contains(pyatspi.STATE_ACTIVE)


def has_focus(accessible):
    """Whether the object, or a part of it such as a combo box's edit field, has the focus."""
    return any(item.getState().contains(pyatspi.STATE_FOCUSED)
               for item in [accessible, *descendants(accessible)])
