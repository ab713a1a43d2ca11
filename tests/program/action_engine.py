"""Runs the table of user actions (user_actions.py) on one build of the
program: real key presses and clicks through X, and after each row a check of
what the program shows, read through the build's view of it."""

import time
import traceback

from action_checks import CHECKS
from form2_places import screen_rectangle
from x_session import DEFAULT_TIMEOUT, Failure, wait_for

POLL_INTERVAL = 0.05
WHEEL_BUTTONS = {"up": "4", "down": "5"}
INPUTS = ("Text1", "Text2", "Text3", "Combo1")
# Pixels: more than the distance within which Wine (4) and Qt (5) take a
# second click for the second half of a double click.
DOUBLE_CLICK_DISTANCE = 6


def typed_letters(groups):
    """Every letter that the table's rows type, for the test keyboard's map."""
    return "".join(sorted({letter for group in groups for row in group["rows"]
                           for kind, *arguments in row["do"] if kind == "type"
                           for letter in arguments[0]}))


def expectation(row, build):
    """What must hold after the row on this build, and why it differs, if it does."""
    differs = row["differs"].get(build)
    if differs is None:
        return row["then"], None
    return differs["then"], differs["reason"]


def _control_place(view, control):
    return screen_rectangle(control, view.window()["client"][:2])


def _click_at(view, rectangle, part="middle", button="1"):
    x, y, width, height = rectangle
    if part == "arrow":  # the drop-down button at the right end of a combo box
        spot = (x + width - 6, y + height // 2)
    else:
        spot = (x + width // 2, y + height // 2)
    _click(view, spot, rectangle, button)


def _click(view, spot, rectangle, button="1"):
    """Clicks at the spot; a click where the last one was lands a little
    higher or lower in the same rectangle instead. Two clicks on one spot
    within the double-click time make a double click, whose second half
    does what a click does not (under Wine, a click on Combo1 that came
    soon after the last one there left the focus where it was); a hand
    moves between its clicks."""
    x, y = spot
    last = getattr(view, "last_click", None)
    near = DOUBLE_CLICK_DISTANCE
    if last and abs(last[0] - x) < near and abs(last[1] - y) < near:
        y = y + near if y + near < rectangle[1] + rectangle[3] else y - near
    view.last_click = (x, y)
    view.x.click(x, y, button=button)


def _click_item(view, text):
    view.refresh()
    items = view.combo_list().get("items") or []
    item = next((item for item in items if item["text"] == text), None)
    if item is None:
        raise Failure(f"no item {text!r} in the open list: {items}")
    _click_at(view, item["rect"])


def _click_box_text(view):
    """A click on the open box's text: across the box a third of the way, and
    down halfway between its top and its OK button."""
    view.refresh()
    boxes = view.boxes()
    if not boxes:
        raise Failure("no box is open to click in")
    x, y, width, _ = boxes[0]["rect"]
    ok_top = boxes[0]["buttons"][0]["rect"][1]
    _click(view, (x + width // 3, (y + ok_top) // 2), [x, y, width, ok_top - y])


def _type(view, text):
    """Types the text into the focused input and waits until it has arrived
    there, so that a lost or doubled letter shows at the key that lost it."""
    view.refresh()
    focus = view.focus()
    if focus not in INPUTS:
        view.x.type(text)
        return

    def held():
        view.refresh()
        return view.texts([focus])[focus]

    def arrived(typed):
        wait_for(f"{typed!r} to arrive in {focus}", lambda: typed in held(), seen=held)

    view.x.type(text, arrived)
    arrived(text)


def perform(view, action):
    kind, *arguments = action
    if kind == "key":
        view.x.key(*arguments)
    elif kind == "type":
        _type(view, arguments[0])
    elif kind == "click":
        view.refresh()
        _click_at(view, _control_place(view, arguments[0]), *arguments[1:])
    elif kind == "click_box_text":
        _click_box_text(view)
    elif kind == "click_item":
        _click_item(view, arguments[0])
    elif kind == "wheel":
        control, direction, turns = arguments
        view.refresh()
        x, y, width, height = _control_place(view, control)
        view.x.wheel(x + width // 2, y + height // 2, WHEEL_BUTTONS[direction], turns)
    elif kind == "middle_click":
        view.refresh()
        _click_at(view, _control_place(view, arguments[0]), button="2")
    elif kind == "set_clipboard":
        view.clipboard_owner.put(arguments[0])
    elif kind == "set_clipboard_picture":
        view.clipboard_owner.put_picture()
    elif kind == "set_selection":
        view.clipboard_owner.put(arguments[0], selection="primary")
    elif kind in getattr(view, "own_actions", {}):  # what only this build's session can do
        view.own_actions[kind](*arguments)
    else:
        raise Failure(f"the table names an unknown action {kind!r}")


def _problem(view, key, value):
    try:
        return CHECKS[key](view, value)
    except Failure as failure:  # what the check reads is not there (yet)
        return f"{key}: {failure}"


def _problems(view, then):
    try:
        view.refresh()
    except Failure as failure:
        return [str(failure)]
    return [problem for key, value in then.items() if (problem := _problem(view, key, value))]


def check(view, then):
    """Waits until everything in `then` holds, then makes sure it still holds."""
    deadline = time.monotonic() + DEFAULT_TIMEOUT
    while problems := _problems(view, then):
        if time.monotonic() >= deadline:
            raise Failure("; ".join(problems))
        time.sleep(POLL_INTERVAL)
    # Then they must still hold once the program has handled all the input: a
    # box too many or a late change of text. The X server has passed every
    # key and click on after a round trip; of two reads through the program's
    # own thread, the first may be answered before those events in a turn of
    # its loop, the second comes after they were handled.
    view.x.round_trip()
    for _ in range(2):
        if problems := _problems(view, then):
            raise Failure("held, then no longer: " + "; ".join(problems))


def run_group(view, group, report):
    """Runs the group's rows on a fresh program; after a failed row the rest of
    the group is not run, as it would start from the wrong state."""
    failed = None
    view.last_click = None  # a fresh program has seen no click
    try:
        view.start(group["environment"])
    except Exception as error:
        report(f"{group['name']}: start the program", "FAILED", str(error))
        return False
    try:
        for row in group["rows"]:
            then, reason = expectation(row, view.build)
            name = f"{group['name']}: {row['name']}"
            if failed is not None:
                report(name, "not run", f"after the failure of {failed!r}")
                continue
            try:
                for action in row["do"]:
                    perform(view, action)
                if then is None:
                    report(name, "not checked", f"on this build: {reason}")
                    continue
                check(view, then)
                report(name, "passed", f"(differs: {reason})" if reason else "")
            except Exception as error:
                detail = str(error) if isinstance(error, Failure) else traceback.format_exc()
                report(name, "FAILED", f"{detail}\n--- what the program shows:\n"
                                       f"{view.describe()}")
                failed = row["name"]
    finally:
        view.stop()
    return failed is None


def run_table(view, groups, only=None):
    """Runs every group (or those whose name contains `only`); prints a line per
    row and the count of rows passed, failed (or not run after a failure) and
    not checked on this build. Returns whether none failed."""
    results = []

    def report(name, outcome, detail):
        results.append(outcome)
        print(f"{outcome}: [{view.build}] {name} {detail}".rstrip(), flush=True)

    for group in groups:
        if group.get("builds") and view.build not in group["builds"]:
            continue  # what only some builds' sessions can do (the output's scale, say)
        if only is None or only in group["name"]:
            run_group(view, group, report)
    passed = results.count("passed")
    unchecked = results.count("not checked")
    failed = len(results) - passed - unchecked
    # Rows that cannot be read on this build count as skipped.
    print(f"{passed} passed, {failed} failed, {unchecked} skipped")
    return failed == 0
