"""What each key of a row's `then` means: a check of the program's view that
returns None when it holds, or what was seen instead."""

from form2_places import CONTROLS, screen_rectangle

CENTRE_TOLERANCE = 4  # pixels: rounding
# A window manager centres a window's frame, title bar included, where the
# program's view may give the client area: up to a title bar's height apart.
VERTICAL_CENTRE_TOLERANCE = 30


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
    shown = {"title": seen["title"], "client_size": list(seen["client"][2:])}
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


CHECKS = {check.__name__: check for check in (
    focus, texts, boxes, box_titles, box_buttons, box_fits_screen, box_centred_on, combo_list,
    menu_open, menu_items_include, clipboard, running, exit_code, window, controls_in_place, accessible, labelled_by)}
