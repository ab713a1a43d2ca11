"""What a user does with Form2 and what the window must show after each step:
the one table that the whole-program drivers run (run_user_actions.py): the
Qt build on an X server with a window manager and natively on a Wayland
compositor, and the Windows build under Wine.

The table is data only. A group starts the program afresh and runs its rows
in order; each row is what the user does (`do`) and what must then hold
(`then`). A row that may differ between the builds says so in `differs`:
what the build named there shows instead, and why; None there when what
the row checks cannot be read on that build at all.

Actions, in the order they are done:
    ("key", "Tab", ...)          key presses, as xdotool names them
    ("type", "text")              typed at the keyboard, into the focused control
    ("click", "Text1")            a click in the middle of the control
    ("click", "Combo1", "arrow")  a click on the combo box's drop-down arrow
    ("click_item", "Female")      a click on an item of the open drop-down list
    ("click_box_text",)           a click on the text of the open message box
    ("middle_click", "Text1")     a click with the middle button on the control
    ("wheel", "Combo1", "down", n) n turns of the mouse wheel over the control
    ("set_clipboard", "text")     another program puts the text on the clipboard
    ("set_selection", "text")     another program selects the text (the primary selection)
    ("set_clipboard_picture",)    another program puts a picture, and no text, on the clipboard
  and what only the Wayland run's session does (groups run by that build alone):
    ("output_scale", 2)           the compositor draws the desktop at that scale
    ("remember_picture", name)    a picture of the output, kept under the name
    ("close_by_compositor", title) the compositor asks that window to close (sway's kill)

What must hold (every key is optional; all given keys must hold together):
    "focus": the control that has the keyboard, "box" for an open message box
    "texts": {control: text} the inputs' texts
    "boxes": [text, ...] the texts of the open message boxes (none: [])
    "box_titles": [title, ...] their titles
    "box_buttons": [[caption, ...], ...] their buttons
    "box_fits_screen": the open box lies wholly on the screen
    "box_centred_on": "form" or "screen": centred across within a few pixels,
        and down within a title bar's height
    "combo_list": {"open": bool, "highlight": item or None}
    "menu_open": whether a context menu is open
    "menu_items_include": [item, ...] items of the open menu, once one has the focus
    "clipboard": the text on the clipboard, or the text it must contain as
        {"contains": text}
    "running": whether the program still runs; "exit_code" once it ended
    "window": {"title": ..., "client_size": [width, height], "app_id": ...}
        (the app_id: the id a Wayland compositor knows the window by)
    "controls_in_place": every control stands where the form description
        puts it (at 96 dots per inch: 15 twips a pixel)
    "accessible": {control or "Form2": {"name": ..., "role": ...}} what a
        screen reader is told
    "labelled_by": {control: label} the label a screen reader names it by
    "box_on_top": the topmost of the program's windows is a box, with the keyboard
    "list_under_combo": the open list's items stand right under the combo box
        (and, where the view takes pictures, its highlighted item is drawn there)
    "menu_at": control: the open menu's focused item stands at the control
    "drawn_like": name: the form looks, tile by tile, as in the remembered picture
"""

EMPTY = {"Text1": "", "Text2": "", "Combo1": "", "Text3": ""}
NO_BOX = []
ADDED = "Запись добавлена"
TITLE = "Same Height"

# Each `differs` note on the Windows build is backed by a test that fails
# once the platform's limit goes: tests/runtime/win32/platform_limits_test.cpp
# (the accessibility proxy, the system message box's place, the middle click)
# and tests/program/win32/form2_program_test.cpp (another process reading the
# program's context menu).
#
# Screen readers: the Windows build's controls are the system's own, and what
# a screen reader hears of them comes from the system's accessibility proxy
# (oleacc), not from the program. The proxy names an edit control after the
# label just before it in Z order, which the form sees to, and a button after
# its caption. Wine's proxy (Wine 8) names no combo box and calls it and the
# buttons "client", and the proxies have no "labelled by" relation to read.
SCREEN_READER_REASON = (
    "the Windows build's controls are announced by the system's accessibility proxy, "
    "which names the text boxes by their labels and the buttons by their captions; Wine's "
    "names no combo box, and the proxies offer no labelled-by relation")


def row(name, do=(), then=None, differs=None):
    return {"name": name, "do": list(do), "then": then or {}, "differs": differs or {}}


def group(name, rows, environment=None, builds=None):
    """A group of rows on a fresh program; `builds` names the only builds that
    run it, where the others' sessions cannot do what it does."""
    return {"name": name, "rows": rows, "environment": environment or {}, "builds": builds}


def tab(count=1):
    return ("key",) + ("Tab",) * count


def type_into(control, text):
    """A click into the control, its old text selected and deleted, the new text typed."""
    clear = [("click", control), ("key", "End", "shift+Home", "BackSpace")]
    return clear + ([("type", text)] if text else [])


def fill(person):
    steps = []
    for control, text in person.items():
        steps += type_into(control, text)
    return steps


def add(name, person):
    """Types the person in and adds them; the confirmation is dismissed with Return."""
    return [
        row(f"type {name} in", fill(person), {"texts": person}),
        row(f"добавить confirms {name}", [("click", "Command1")],
            {"boxes": [ADDED], "focus": "box"}),
        row("Return closes the confirmation", [("key", "Return")],
            {"boxes": NO_BOX, "texts": {"Text1": "", "Text2": "", "Text3": ""}}),
    ]


def copying_from_a_box(name, key):
    """The copy key pressed in the confirmation copies the box's text."""
    return group(f"{name} in a message box", [
        row("the confirmation opens", [("set_clipboard", "before"), ("click", "Command1")],
            {"boxes": [ADDED]}),
        row(f"{name} copies the box's text", [("key", key)],
            {"clipboard": {"contains": ADDED}, "boxes": [ADDED]}),
        row("Return closes the box", [("key", "Return")], {"boxes": NO_BOX}),
    ])


IVAN = {"Text1": "Иванов Иван", "Text2": "1990", "Combo1": "Male", "Text3": "180"}
PETR = {"Text1": "Петров Пётр", "Text2": "1985", "Combo1": "Male", "Text3": "180"}
SIDOR = {"Text1": "Сидоров Сидор", "Text2": "1979", "Combo1": "Male", "Text3": "180.0"}
# Typed in lower case: never paired, whatever the height.
LOWER_CASE_MAN = {"Text1": "Lower Case", "Text2": "1970", "Combo1": "male", "Text3": "180"}
ANNA = {"Text1": "Иванова Анна", "Text2": "1992", "Combo1": "Female", "Text3": "180"}
OLGA = {"Text1": "Орлова Ольга", "Text2": "1993", "Combo1": "Female", "Text3": "180"}
MEN_PAIR = "Найдена пара мужчин: Петров Пётр   Сидоров Сидор"
# A name of 1,950 letters without a blank: no line of a box can break it.
LONG_NAME = "W" * 1950
# A name holding "&", which dialog boxes take as the mark of an access key.
AMPERSAND_MAN = {"Text1": "A & B", "Text2": "1990", "Combo1": "Male", "Text3": "175"}
AMPERSAND_PAIR = "Найдена пара мужчин: A & B   C & D"
WOMEN_PAIR = "Найдена пара женщин: Иванова Анна   Орлова Ольга"

# The rules that both builds take from window/ and runtime/core/: the keys that
# press a focused button, a paste with no text, a long name's report.
EMOJI_NAME = "\U0001F600e\u0301" * 700  # emoji and accented letters, no blank
RULE_GROUPS = [
    group("Return with Ctrl or Shift on a focused button", [
        row("a man typed in", fill(IVAN), {"texts": IVAN, "focus": "Text3"}),
        row("Ctrl+Return on the focused добавить adds him", [tab(), ("key", "ctrl+Return")],
            {"boxes": [ADDED]}),
        row("Return closes the confirmation", [("key", "Return")],
            {"boxes": NO_BOX, "focus": "Command1"}),
        row("Shift+Return on добавить confirms again", [("key", "shift+Return")],
            {"boxes": [ADDED]}),
        row("Return closes it", [("key", "Return")], {"boxes": NO_BOX, "focus": "Command1"}),
        row("Ctrl with keypad Enter on добавить confirms again", [("key", "ctrl+KP_Enter")],
            {"boxes": [ADDED]}),
        row("Return closes it too", [("key", "Return")], {"boxes": NO_BOX, "focus": "Command1"}),
        row("Alt+Return on добавить does nothing", [("key", "alt+Return")],
            {"boxes": NO_BOX, "focus": "Command1", "running": True}),
    ]),
    group("a paste with no text on offer", [
        row("abc typed into Text1 and selected", [("type", "abc"), ("key", "shift+Home")],
            {"texts": {"Text1": "abc"}, "focus": "Text1"}),
        row("Ctrl+V with a picture on the clipboard keeps abc",
            [("set_clipboard_picture",), ("key", "ctrl+v")], {"texts": {"Text1": "abc"}}),
        row("Shift+Insert of the picture keeps abc", [("key", "shift+Insert")],
            {"texts": {"Text1": "abc"}}),
        row("typing then replaces the selection as usual", [("type", "x")],
            {"texts": {"Text1": "x"}}),
    ]),
    group("a report of a long name of emoji and accented letters", [
        row("the name pasted", [("set_clipboard", EMOJI_NAME), ("key", "ctrl+v")],
            {"texts": {"Text1": EMOJI_NAME}}),
        *add("a man with that name", {"Text2": "1990", "Combo1": "Male", "Text3": "180"}),
        *add("a second man", {"Text1": "B", "Text2": "1991", "Combo1": "Male", "Text3": "180"}),
        row("Найти shows the whole report, every letter whole, in a box that fits the screen",
            [("click", "Command2")],
            {"boxes": [f"Найдена пара мужчин: {EMOJI_NAME}   B"], "box_fits_screen": True}),
        row("Return closes it", [("key", "Return")], {"boxes": NO_BOX}),
    ]),
]


# What a user meets where the window system, not the program, has the last
# word: which window is on top and has the keyboard, where a pop-up opens,
# the output's scale, a close request from the compositor. Written for the
# Wayland run (a compositor places every window, and a click raises and
# focuses the window clicked), and held by the X run wherever it can be read.
STACKING_REASON = "the probe reads no stacking order of Wine's windows"
WINDOW_SYSTEM_GROUPS = [
    group("a box above the form", [
        row("добавить opens the confirmation on top, with the keyboard", [("click", "Command1")],
            {"boxes": [ADDED], "box_titles": [TITLE], "focus": "box", "box_on_top": True},
            differs={"win32": {"then": {"boxes": [ADDED], "box_titles": [TITLE], "focus": "box"},
                               "reason": STACKING_REASON}}),
        row("a click on the form leaves the box on top, with the keyboard", [("click", "Text2")],
            {"boxes": [ADDED], "focus": "box", "box_on_top": True},
            differs={"win32": {"then": {"boxes": [ADDED], "focus": "box"},
                               "reason": STACKING_REASON},
                     "wayland": {"then": {"boxes": [ADDED], "focus": "box", "box_on_top": False},
                                 "reason": "sway raises and focuses the form clicked; the program "
                                           "then asks for the box to be activated, and sway "
                                           "gives it the keyboard back but does not raise it: "
                                           "the box has the keyboard under the form"}}),
        row("so Return still closes it", [("key", "Return")], {"boxes": NO_BOX}),
    ]),
    group("pop-ups at their control", [
        row("F4 opens the list right under the combo box",
            [*type_into("Combo1", "Fe"), ("key", "F4")],
            {"combo_list": {"open": True, "highlight": "Female"}, "list_under_combo": True}),
        row("Escape closes it", [("key", "Escape")], {"combo_list": {"open": False}}),
        row("the Menu key opens Text1's menu at Text1",
            [*type_into("Text1", "abc"), ("key", "Menu"), ("key", "Down")],
            {"menu_open": True, "menu_at": "Text1"},
            differs={"win32": {"then": {"menu_open": True},
                               "reason": "Wine's menus cannot be read from another process"}}),
        row("Escape closes it", [("key", "Escape")], {"menu_open": False, "focus": "Text1"}),
    ]),
    group("a Wayland window", [
        row("the program runs as a Wayland client, its window known by the desktop id", [],
            {"window": {"title": "Form2", "app_id": "org.sameheight.SameHeight"}}),
    ], builds=("wayland",)),
    group("the form at output scale 2", [
        # The focus on a button: no text cursor blinks between two pictures.
        row("the form at scale 1, kept as a picture",
            [*type_into("Text1", "Иванов Иван"), tab(4), ("remember_picture", "scale 1")],
            {"texts": {"Text1": "Иванов Иван"}, "focus": "Command1"}),
        row("at scale 2 the form keeps its size and every control its place, nothing cut off",
            [("output_scale", 2)],
            {"window": {"client_size": [305, 277]}, "controls_in_place": True,
             "drawn_like": "scale 1"}),
        row("and it works there", [("click", "Command1")], {"boxes": [ADDED], "focus": "box"}),
        row("Return closes the box", [("key", "Return")], {"boxes": NO_BOX}),
    ], builds=("wayland",)),
    group("the compositor closing windows in the middle of a search", [
        *add("a man", PETR),
        *add("a man of height 180.0", SIDOR),
        *add("a woman", ANNA),
        *add("a second woman", OLGA),
        row("Найти shows the pair of men", [("click", "Command2")], {"boxes": [MEN_PAIR]}),
        row("the compositor closing the report closes that box only; the search goes on",
            [("close_by_compositor", TITLE)], {"boxes": [WOMEN_PAIR], "running": True}),
        # The X run's counterpart, a close request to the form while a box is
        # open, is refused there: program.boxes_under_a_window_manager.
        row("the compositor closing the form closes it with its box; the program ends with 0",
            [("close_by_compositor", "Form2")], {"running": False, "exit_code": 0}),
    ], builds=("wayland",)),
]

GROUPS = [
    group("the window as it starts", [
        row("the form opens empty, with the focus in Text1 and no box", [], {
            "window": {"title": "Form2", "client_size": [305, 277]},
            "controls_in_place": True,
            "focus": "Text1", "texts": EMPTY, "boxes": NO_BOX, "running": True,
        }),
        row("a screen reader names each input by its label and each button by its caption",
            [], {
                "accessible": {"Text1": {"name": "Фамилия,Имя"}, "Text2": {"name": "Год рождения"},
                               "Combo1": {"name": "Пол"}, "Text3": {"name": "Рост"},
                               "Command1": {"name": "добавить"}, "Command2": {"name": "Найти"}},
                "labelled_by": {"Text1": "Фамилия,Имя", "Text2": "Год рождения",
                                "Combo1": "Пол", "Text3": "Рост"},
            }, differs={"win32": {
                "then": {"accessible": {"Text1": {"name": "Фамилия,Имя"},
                                        "Text2": {"name": "Год рождения"},
                                        "Text3": {"name": "Рост"},
                                        "Command1": {"name": "добавить"},
                                        "Command2": {"name": "Найти"}}},
                "reason": SCREEN_READER_REASON}}),
        row("a screen reader announces the window as a frame named Form2", [], {
            "accessible": {"Form2": {"name": "Form2", "role": "frame"}},
        }, differs={"win32": {
            "then": None,
            "reason": "a top-level window is announced by the system's own proxy, which "
                      "under Wine gives it neither a name nor a role"}}),
        row("the combo box keeps the name Пол once it holds a text",
            [*type_into("Combo1", "Male")],
            {"texts": {"Combo1": "Male"}, "accessible": {"Combo1": {"name": "Пол"}}},
            differs={"win32": {
                "then": None,
                "reason": "the combo box is announced by the system's own proxy, which under "
                          "Wine names it by nothing, whatever it holds"}}),
    ]),
    group("Tab order", [
        row("Tab goes to Text2", [tab()], {"focus": "Text2"}),
        row("Tab goes to Combo1", [tab()], {"focus": "Combo1"}),
        row("Tab goes to Text3", [tab()], {"focus": "Text3"}),
        row("Tab goes to добавить", [tab()], {"focus": "Command1"}),
        row("Tab goes to Найти, skipping the labels and the frame", [tab()],
            {"focus": "Command2"}),
        row("Tab comes round to Text1", [tab()], {"focus": "Text1"}),
        row("Shift+Tab goes back to Найти", [("key", "shift+Tab")], {"focus": "Command2"}),
        row("nothing was typed or shown on the way", [], {"texts": EMPTY, "boxes": NO_BOX}),
    ]),
    group("typing and adding", [
        row("text typed at the start goes into Text1", [("type", "Иванов Иван")],
            {"texts": {"Text1": "Иванов Иван"}, "focus": "Text1"}),
        row("Return in an input does nothing", [("key", "Return")],
            {"texts": {"Text1": "Иванов Иван"}, "focus": "Text1", "boxes": NO_BOX}),
        row("Escape in an input does nothing", [("key", "Escape")],
            {"texts": {"Text1": "Иванов Иван"}, "focus": "Text1", "boxes": NO_BOX}),
        row("Tab and typing fill the other inputs",
            [tab(), ("type", "1990"), tab(), ("type", "Male"), tab(), ("type", "180")],
            {"texts": IVAN, "focus": "Text3"}),
        row("Return and keypad Enter in Text3 do nothing", [("key", "Return", "KP_Enter")],
            {"texts": IVAN, "focus": "Text3", "boxes": NO_BOX}),
        row("a click on добавить confirms in a box titled Same Height, with one OK",
            [("click", "Command1")],
            {"boxes": [ADDED], "box_titles": [TITLE], "box_buttons": [["OK"]],
             "focus": "box", "box_fits_screen": True}),
        row("the confirmation lies centred on the form", [], {"box_centred_on": "form"},
            differs={"win32": {
                "then": {"box_centred_on": "screen"},
                "reason": "the system message box centres itself on the screen's work area; "
                          "on the X desktop the window manager puts a dialog over its parent"}}),
        row("a click on добавить while the box is open is not taken", [("click", "Command1")],
            {"boxes": [ADDED]}),
        row("Return closes it: Text1, Text2, Text3 emptied, the sex kept", [("key", "Return")],
            {"boxes": NO_BOX, "texts": {"Text1": "", "Text2": "", "Combo1": "Male", "Text3": ""}}),
        row("the focus went back to добавить", [], {"focus": "Command1"}),
        row("adding with every input empty confirms as usual",
            [*type_into("Combo1", ""), ("click", "Command1")], {"boxes": [ADDED]}),
        row("Escape closes the confirmation", [("key", "Escape")], {"boxes": NO_BOX}),
        row("Найти finds no pair: one man and one empty person", [("click", "Command2")],
            {"boxes": NO_BOX}),
    ]),
    group("finding pairs", [
        *add("a man", PETR),
        *add("a man of height 180.0", SIDOR),
        *add("a man typed as male", LOWER_CASE_MAN),
        *add("a woman", ANNA),
        *add("a second woman", OLGA),
        row("Найти shows the pair of men first", [("click", "Command2")],
            {"boxes": [MEN_PAIR], "box_titles": [TITLE], "focus": "box"}),
        row("a click on добавить while a report is open is not taken", [("click", "Command1")],
            {"boxes": [MEN_PAIR]}),
        row("Space on OK shows the pair of women next", [("key", "space")],
            {"boxes": [WOMEN_PAIR]}),
        row("Escape closes the last report; no box follows", [("key", "Escape")],
            {"boxes": NO_BOX}),
        row("Найти again reports the same pairs", [("click", "Command2")],
            {"boxes": [MEN_PAIR]}),
        row("Alt+F4 on a report closes that box only; the search goes on",
            [("key", "alt+F4")], {"boxes": [WOMEN_PAIR], "running": True}),
        row("Return closes the last report", [("key", "Return")],
            {"boxes": NO_BOX, "running": True}),
    ]),
    group("closing", [
        row("typing in a person", fill(IVAN), {"texts": IVAN}),
        row("Alt+F4 closes the window and the program ends without a question",
            [("click", "Text2"), ("key", "alt+F4")], {"running": False, "exit_code": 0}),
    ]),
    group("Space and Return on a button", [
        row("Space on a focused добавить clicks it", [tab(4), ("key", "space")],
            {"boxes": [ADDED]}),
        row("Return closes the box; добавить keeps the focus", [("key", "Return")],
            {"boxes": NO_BOX, "focus": "Command1"}),
        row("Return on a focused добавить clicks it", [("key", "Return")], {"boxes": [ADDED]}),
        row("Escape closes the box", [("key", "Escape")], {"boxes": NO_BOX, "focus": "Command1"}),
    ]),
    group("keypad Enter on a button", [
        row("keypad Enter on a focused добавить clicks it", [tab(4), ("key", "KP_Enter")],
            {"boxes": [ADDED]}),
        row("Return closes the box", [("key", "Return")], {"boxes": NO_BOX}),
    ]),
    group("Alt with a letter or digit", [
        row("Alt+d, Alt+F and Alt+1 in Text1 type nothing",
            [("click", "Text1"), ("key", "alt+d", "alt+F", "alt+1")],
            {"texts": {"Text1": ""}, "focus": "Text1", "boxes": NO_BOX}),
        row("the same letters without Alt are typed", [("type", "dF1")],
            {"texts": {"Text1": "dF1"}}),
    ]),
    group("the context menu by the Menu key", [
        row("the Menu key opens Text1's context menu", [("type", "abc"), ("key", "Menu")],
            {"menu_open": True}),
        row("Escape closes it; the text stays", [("key", "Escape")],
            {"menu_open": False, "texts": {"Text1": "abc"}, "focus": "Text1"}),
    ]),
    group("the context menu by Shift+F10", [
        row("Shift+F10 opens Text1's context menu", [("type", "abc"), ("key", "shift+F10")],
            {"menu_open": True}),
        row("Escape closes it; the text stays", [("key", "Escape")],
            {"menu_open": False, "texts": {"Text1": "abc"}, "focus": "Text1"}),
    ]),
    group("the context menu in the desktop's language", [
        row("under a Russian locale the menu's items are in Russian",
            [("type", "abc"), ("key", "Menu"), ("key", "Down")],
            {"menu_open": True, "menu_items_include": ["Выделить всё"]},
            differs={"win32": {
                "then": {"menu_open": True},
                "reason": "the edit control's menu is the system's own, in the system's "
                          "language; Wine's menus cannot be read from another process"}}),
        row("Escape closes it", [("key", "Escape")], {"menu_open": False, "focus": "Text1"}),
    ], environment={"LANG": "ru_RU.UTF-8", "LANGUAGE": "ru"}),
    group("the sex combo box: typed text", [
        row("typed text stays as typed: no completion, no change of case",
            [*type_into("Combo1", "fem"), tab()], {"texts": {"Combo1": "fem"}, "focus": "Text3"}),
        row("an item's name typed in lower case stays so",
            [*type_into("Combo1", "male"), tab()], {"texts": {"Combo1": "male"}, "focus": "Text3"}),
    ]),
    group("the sex combo box: Alt+Down highlights the item the typed text starts", [
        row("Alt+Down after Fe opens the list with Female highlighted",
            [*type_into("Combo1", "Fe"), ("key", "alt+Down")],
            {"combo_list": {"open": True, "highlight": "Female"}}),
        row("Return picks Female", [("key", "Return")],
            {"combo_list": {"open": False}, "texts": {"Combo1": "Female"}, "boxes": NO_BOX}),
    ]),
    group("the sex combo box: F4 highlights the item, ignoring case", [
        row("F4 after male in lower case highlights Male",
            [*type_into("Combo1", "male"), ("key", "F4")],
            {"combo_list": {"open": True, "highlight": "Male"}}),
        row("Escape closes the list and keeps the typed text", [("key", "Escape")],
            {"combo_list": {"open": False}, "texts": {"Combo1": "male"}}),
    ]),
    group("the sex combo box: a text that starts no item", [
        row("F4 after x opens the list with nothing highlighted",
            [*type_into("Combo1", "x"), ("key", "F4")],
            {"combo_list": {"open": True, "highlight": None}}),
        row("Escape closes it; x stays", [("key", "Escape")],
            {"combo_list": {"open": False}, "texts": {"Combo1": "x"}}),
    ]),
    group("the sex combo box: picking from an empty combo box", [
        row("Alt+Down, Down, Return gives Male",
            [("click", "Combo1"), ("key", "alt+Down"), ("key", "Down"), ("key", "Return")],
            {"combo_list": {"open": False}, "texts": {"Combo1": "Male"}}),
    ]),
    group("the sex combo box: the mouse", [
        row("a click on the arrow opens the list", [("click", "Combo1", "arrow")],
            {"combo_list": {"open": True}}),
        row("a click on Female picks it", [("click_item", "Female")],
            {"combo_list": {"open": False}, "texts": {"Combo1": "Female"}}),
        row("the mouse wheel over the combo box while Text1 has the focus changes nothing",
            [("click", "Text1"), ("wheel", "Combo1", "down", 2), ("wheel", "Combo1", "up", 1)],
            {"texts": {"Combo1": "Female"}, "focus": "Text1"}),
        row("with the focus on the combo box, a turn of the wheel up steps to Male",
            [("click", "Combo1"), ("wheel", "Combo1", "up", 1)],
            {"texts": {"Combo1": "Male"}, "focus": "Combo1"}),
        row("and two turns down step to Female and stay on the last item",
            [("wheel", "Combo1", "down", 2)], {"texts": {"Combo1": "Female"}, "focus": "Combo1"}),
    ]),
    group("the mouse wheel over an empty combo box", [
        row("the wheel over the combo box while Text1 has the focus changes nothing",
            [("wheel", "Combo1", "down", 2)], {"texts": {"Combo1": ""}, "focus": "Text1"}),
    ]),
    group("pasting into Text1", [
        row("Ctrl+V of one line pastes it", [("set_clipboard", "Ivan"), ("key", "ctrl+v")],
            {"texts": {"Text1": "Ivan"}}),
        row("Ctrl+V of two lines keeps the first",
            [("set_clipboard", "Petrov\nIvan"), *type_into("Text1", ""), ("key", "ctrl+v")],
            {"texts": {"Text1": "Petrov"}}),
    ]),
    group("pasting into Text3", [
        row("Ctrl+V of two lines keeps the first",
            [("set_clipboard", "175\nsecond line"), ("click", "Text3"), ("key", "ctrl+v")],
            {"texts": {"Text3": "175"}}),
    ]),
    group("pasting into Text2", [
        row("Shift+Insert of two lines keeps the first",
            [("set_clipboard", "1990\n1991"), ("click", "Text2"), ("key", "shift+Insert")],
            {"texts": {"Text2": "1990"}}),
    ]),
    group("pasting the selection with the middle button", [
        row("a middle click pastes the first line of the selected text",
            [("set_clipboard", "Petrov\nIvan"), ("set_selection", "Ivan\nPetrov"),
             ("middle_click", "Text1")],
            {"texts": {"Text1": "Ivan"}},
            differs={"win32": {
                "then": {"texts": {"Text1": "Petrov"}},
                "reason": "Windows has no selection that a middle click pastes; Wine's edit "
                          "control pastes the clipboard instead, keeping its first line"}}),
    ]),
    group("a report too wide for the screen", [
        row("a pasted name of 1,950 letters", [("set_clipboard", LONG_NAME), ("key", "ctrl+v")],
            {"texts": {"Text1": LONG_NAME}}),
        *add("a man with that name", {"Text2": "1990", "Combo1": "Male", "Text3": "180"}),
        *add("a second man", {"Text1": "B", "Text2": "1991", "Combo1": "Male", "Text3": "180"}),
        row("Найти shows the whole report in a box that fits the screen", [("click", "Command2")],
            {"boxes": [f"Найдена пара мужчин: {LONG_NAME}   B"], "box_titles": [TITLE],
             "box_fits_screen": True}),
        row("Return closes it", [("key", "Return")], {"boxes": NO_BOX}),
    ]),
    group("a click on a box's text", [
        *add("a man named A & B", AMPERSAND_MAN),
        *add("a man named C & D", {**AMPERSAND_MAN, "Text1": "C & D"}),
        row("Найти reports them, ampersands shown as typed", [("click", "Command2")],
            {"boxes": [AMPERSAND_PAIR], "focus": "box"}),
        row("a click on the text leaves the keyboard on OK: Space closes the box",
            [("click_box_text",), ("key", "space")], {"boxes": NO_BOX}),
    ]),
    group("a click in the view of a report too long for a box", [
        row("a pasted name of 1,950 letters", [("set_clipboard", LONG_NAME), ("key", "ctrl+v")],
            {"texts": {"Text1": LONG_NAME}}),
        *add("a man with that name", {"Text2": "1990", "Combo1": "Male", "Text3": "180"}),
        *add("a second man", {"Text1": "B", "Text2": "1991", "Combo1": "Male", "Text3": "180"}),
        row("Найти shows the report in a scrollable view", [("click", "Command2")],
            {"boxes": [f"Найдена пара мужчин: {LONG_NAME}   B"]}),
        row("a click in the view takes the keyboard, to scroll and select: Space keeps the "
            "box open", [("click_box_text",), ("key", "space")],
            {"boxes": [f"Найдена пара мужчин: {LONG_NAME}   B"]}),
        row("Escape closes it", [("key", "Escape")], {"boxes": NO_BOX}),
    ]),
    group("copying", [
        row("Ctrl+C in an input copies its selected text",
            [("type", "Ivan"), ("key", "shift+Home", "ctrl+c")],
            {"clipboard": "Ivan", "texts": {"Text1": "Ivan"}}),
    ]),
    *[copying_from_a_box(name, key) for name, key in (("Ctrl+C", "ctrl+c"),
                                                      ("Ctrl+Insert", "ctrl+Insert"))],
    *RULE_GROUPS,
    *WINDOW_SYSTEM_GROUPS,
]
