"""What each key of a row's `then` means: a check of the program's view that
returns None when it holds, or what was seen instead."""

from form2_places import CONTROLS, screen_rectangle

CENTRE_TOLERANCE = 4  # pixels: rounding
# A window manager centres a window's frame, title bar included, where the
# program's view may give the client area: up to a title bar's height apart.
VERTICAL_CENTRE_TOLERANCE = 30
POPUP_GAP = 4  # pixels between a control and the pop-up that opens at it: a frame's width
MENU_REACH = 40  # pixels below a text box where its menu may start: at the text cursor


def _centre(rectangle):
    x, y, width, height = rectangle
    return (x + width / 2, y + height / 2)


def _inside(inner, outer):
    x, y, width, height = inner
    left, top, outer_width, outer_height = outer
    return (x >= left and y >= top and x + width <= left + outer_width
            and y + height <= top + outer_height)


def _expect(what, expected, seen):
    return None if seen == expected else f"{what}: expected {expected!r}, saw {seen!r}"


def focus(view, expected):
    return _expect("focus", expected, view.focus())


def texts(view, expected):
    seen = view.texts(tuple(expected))
    return _expect("texts", expected, {name: seen[name] for name in expected})


def boxes(view, expected):
    return _expect("message boxes", expected, [box["text"] for box in view.boxes()])


def box_titles(view, expected):
    return _expect("box titles", expected, [box["title"] for box in view.boxes()])


def box_buttons(view, expected):
    seen = [[button["text"] for button in box["buttons"]] for box in view.boxes()]
    return _expect("box buttons", expected, seen)


def box_fits_screen(view, expected):
    screen = view.screen()
    seen = [_inside(box["rect"], screen) for box in view.boxes()]
    if not seen:
        return "no box is open"
    return None if all(seen) == expected else (
        f"boxes {[box['rect'] for box in view.boxes()]} on the screen {screen}: "
        f"expected inside {expected}")


def box_centred_on(view, expected):
    target = view.screen() if expected == "screen" else view.window()["client"]
    found = view.boxes()
    if len(found) != 1:
        return f"expected one box, saw {len(found)}"
    box_x, box_y = _centre(found[0]["rect"])
    x, y = _centre(target)
    if abs(box_x - x) <= CENTRE_TOLERANCE and abs(box_y - y) <= VERTICAL_CENTRE_TOLERANCE:
        return None
    return (f"box at {found[0]['rect']} (centre {box_x, box_y}) is not centred on the "
            f"{expected} at {target} (centre {x, y})")


def combo_list(view, expected):
    seen = view.combo_list()
    return _expect("the drop-down list", expected, {key: seen.get(key) for key in expected})


def menu_open(view, expected):
    return _expect("a context menu open", expected, view.menu_open())


def menu_items_include(view, expected):
    seen = view.menu_items()
    missing = [item for item in expected if item not in seen]
    return f"menu items: expected {expected!r} among them, saw {seen!r}" if missing else None


def clipboard(view, expected):
    seen = view.clipboard()
    if isinstance(expected, dict):
        return None if expected["contains"] in seen else (
            f"clipboard: expected it to contain {expected['contains']!r}, saw {seen!r}")
    return _expect("clipboard", expected, seen)


def running(view, expected):
    return _expect("the program running", expected, view.running())


def exit_code(view, expected):
    return _expect("exit code", expected, view.exit_code())


def window(view, expected):
    seen = view.window()
    shown = {"title": seen["title"], "client_size": list(seen["client"][2:]),
             "app_id": seen.get("app_id")}
    return _expect("the window", expected, {key: shown[key] for key in expected})


def controls_in_place(view, expected):
    origin = view.window()["client"][:2]
    wanted = {name: list(screen_rectangle(name, origin)) for name in CONTROLS}
    seen = view.places(CONTROLS)
    wrong = {name: f"at {seen.get(name)}, described at {place}"
             for name, place in wanted.items() if seen.get(name) != place}
    return None if (not wrong) == expected else f"controls out of place: {wrong}"


def accessible(view, expected):
    seen = view.accessible(tuple(expected))
    shown = {name: {key: (seen.get(name) or {}).get(key) for key in wanted}
             for name, wanted in expected.items()}
    return _expect("what a screen reader is told", expected, shown)


def labelled_by(view, expected):
    return _expect("labelled by", expected, view.labelled_by(tuple(expected)))


def box_on_top(view, expected):
    """The program's windows, bottom to top: a box the topmost, with the keyboard."""
    seen = view.stacking()
    on_top = bool(seen) and seen[-1]["title"] != view.window()["title"] and seen[-1]["focused"]
    return None if on_top == expected else f"box on top with the keyboard: expected {expected}, " \
                                           f"saw the windows, bottom to top: {seen}"


def _popup_drawn(view, rectangle):
    """Where the view can see pixels, the highlighted item is drawn at its place."""
    drawn = getattr(view, "highlight_drawn_at", None)
    if drawn is None or drawn(rectangle):
        return None
    return f"nothing drawn highlighted at {rectangle}"


def list_under_combo(view, expected):
    """The open list stands right under the combo box, within its width."""
    shown = view.combo_list()
    combo_x, combo_y, combo_width, combo_height = view.places(["Combo1"])["Combo1"]
    items = shown.get("items") or []
    if not items:
        return "no open list"
    first_x, first_y = items[0]["rect"][:2]
    under = (0 <= first_y - (combo_y + combo_height) <= POPUP_GAP
             and all(combo_x - POPUP_GAP <= item["rect"][0] <= combo_x + combo_width
                     for item in items))
    if under != expected:
        return (f"list under the combo box at {[combo_x, combo_y, combo_width, combo_height]}: "
                f"expected {expected}, its items at {[item['rect'] for item in items]}")
    highlighted = [item["rect"] for item in items if item["text"] == shown.get("highlight")]
    return _popup_drawn(view, highlighted[0]) if highlighted else None


def menu_at(view, control):
    """The open menu's highlighted item stands at the control: its left within the
    control's width, its top from the control's top to a few lines below it."""
    item = view.menu_item_place()
    if item is None:
        return "no menu item has the focus"
    x, y, width, height = view.places([control])[control]
    if not (x <= item[0] <= x + width and y <= item[1] <= y + height + MENU_REACH):
        return f"menu item at {item}, not at {control} at {[x, y, width, height]}"
    return _popup_drawn(view, item)


def drawn_like(view, name):
    """The form looks as in the picture taken before, control by control."""
    differences = view.differences_from_picture(name)
    return f"the form is not drawn as in the picture {name!r}: {differences}" if differences \
        else None


CHECKS = {check.__name__: check for check in (
    focus, texts, boxes, box_titles, box_buttons, box_fits_screen, box_centred_on, combo_list,
    menu_open, menu_items_include, clipboard, running, exit_code, window, controls_in_place, accessible, labelled_by,
    box_on_top, list_under_combo, menu_at, drawn_like)}
