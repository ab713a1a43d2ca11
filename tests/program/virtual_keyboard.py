"""The keyboard of the test's Wayland seat: a virtual keyboard (the
virtual-keyboard protocol) that a Russian user's "us,ru" map is given once,
when it is made, and that keeps it for the whole session.

Tools that type by making a keyboard for each run (wtype) upload a new map
each time, and a key that reaches the program before it has taken the new
map is read with the old one; hence a pause after every map. Here the map
never changes: keys are sent by their place on it, the layout group and the
modifiers as the keyboard's state, all on one connection, which the
compositor and the program read in order. Each step ends on a round trip,
so it has reached the compositor before the caller looks."""

import ctypes
import ctypes.util
import os
import time

from wayland_wire import Connection, uints
from x_session import LATIN_GROUP, Failure, group_runs, keyless, keysym

LAYOUTS = b"us,ru"
XKB_KEYMAP_FORMAT_TEXT_V1 = 1
EVDEV_OFFSET = 8  # an xkb key code is the kernel's key code plus 8
PRESSED, RELEASED = 1, 0
# The modifier keys a chord's names stand for, and the key that sends each.
MODIFIERS = {"shift": ("Shift", "Shift_L"), "ctrl": ("Control", "Control_L"),
             "alt": ("Mod1", "Alt_L"), "super": ("Mod4", "Super_L")}


class _RuleNames(ctypes.Structure):
    _fields_ = [(name, ctypes.c_char_p) for name in ("rules", "model", "layout", "variant", "options")]


def _xkbcommon():
    xkb = ctypes.CDLL(ctypes.util.find_library("xkbcommon"))
    signatures = {
        "xkb_context_new": (ctypes.c_void_p, [ctypes.c_int]),
        "xkb_keymap_new_from_names": (ctypes.c_void_p, [ctypes.c_void_p,
                                                        ctypes.POINTER(_RuleNames), ctypes.c_int]),
        "xkb_keymap_get_as_string": (ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_int]),
        "xkb_keymap_min_keycode": (ctypes.c_uint32, [ctypes.c_void_p]),
        "xkb_keymap_max_keycode": (ctypes.c_uint32, [ctypes.c_void_p]),
        "xkb_keymap_num_layouts": (ctypes.c_uint32, [ctypes.c_void_p]),
        "xkb_keymap_num_layouts_for_key": (ctypes.c_uint32, [ctypes.c_void_p, ctypes.c_uint32]),
        "xkb_keymap_key_get_syms_by_level": (
            ctypes.c_int, [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32, ctypes.c_uint32,
                           ctypes.POINTER(ctypes.POINTER(ctypes.c_uint32))]),
        "xkb_keymap_mod_get_index": (ctypes.c_uint32, [ctypes.c_void_p, ctypes.c_char_p]),
        "xkb_keysym_from_name": (ctypes.c_uint32, [ctypes.c_char_p, ctypes.c_int]),
        "xkb_keymap_unref": (None, [ctypes.c_void_p]),
        "xkb_context_unref": (None, [ctypes.c_void_p]),
    }
    for name, (result, arguments) in signatures.items():
        getattr(xkb, name).restype = result
        getattr(xkb, name).argtypes = arguments
    return xkb


class KeyMap:
    """The us,ru map as xkbcommon compiles it: its text for the compositor,
    {key symbol: {layout group: (xkb key code, level)}} for the first two
    levels (the second is Shift's), and the mask of each modifier."""

    def __init__(self):
        self.xkb = _xkbcommon()
        context = self.xkb.xkb_context_new(0)
        names = _RuleNames(b"evdev", b"pc105", LAYOUTS, b"", b"")
        keymap = self.xkb.xkb_keymap_new_from_names(context, ctypes.byref(names), 0)
        if not keymap:
            raise Failure(f"xkbcommon could not compile the {LAYOUTS.decode()} keyboard map")
        try:
            libc = ctypes.CDLL(None)
            libc.free.argtypes = [ctypes.c_void_p]
            text = self.xkb.xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1)
            self.text = ctypes.string_at(text)
            libc.free(text)
            self.keys = self._keys(keymap)
            self.masks = {name: 1 << self.xkb.xkb_keymap_mod_get_index(keymap, xkb_name.encode())
                          for name, (xkb_name, _) in MODIFIERS.items()}
        finally:
            self.xkb.xkb_keymap_unref(keymap)
            self.xkb.xkb_context_unref(context)

    def _keys(self, keymap):
        groups = self.xkb.xkb_keymap_num_layouts(keymap)
        keys = {}
        symbols = ctypes.POINTER(ctypes.c_uint32)()
        for code in range(self.xkb.xkb_keymap_min_keycode(keymap),
                          self.xkb.xkb_keymap_max_keycode(keymap) + 1):
            own = self.xkb.xkb_keymap_num_layouts_for_key(keymap, code)
            # A key with fewer layouts than the map, Return say, types the
            # same in the others (xkbcommon wraps the group round).
            for group in range(groups if own else 0):
                for level in (0, 1):
                    count = self.xkb.xkb_keymap_key_get_syms_by_level(
                        keymap, code, group % own, level, ctypes.byref(symbols))
                    if count == 1:
                        keys.setdefault(symbols[0], {}).setdefault(group, (code, level))
        return keys

    def key(self, name):
        """(xkb key code, level) of a key named as xdotool names it, in the first group."""
        symbol = self.xkb.xkb_keysym_from_name(name.encode(), 0)
        if symbol not in self.keys or LATIN_GROUP not in self.keys[symbol]:
            raise Failure(f"the test keyboard has no key {name!r}")
        return self.keys[symbol][LATIN_GROUP]


class VirtualKeyboard:
    """The seat's keyboard for as long as it is open."""

    def __init__(self, environment):
        self.map = KeyMap()
        self._connection = Connection(environment)
        try:
            seat = self._connection.bind("wl_seat", 1)
            manager = self._connection.bind("zwp_virtual_keyboard_manager_v1", 1)
            self._keyboard = self._connection.new_id()
            self._connection.send(manager, 0, uints(seat, self._keyboard))  # create_virtual_keyboard
            self._upload_map()
            self._held = 0  # the modifier masks down now
            self._group = LATIN_GROUP
            self._connection.round_trip()
        except BaseException:
            self._connection.close()
            raise

    def close(self):
        self._connection.close()

    def _upload_map(self):
        data = self.map.text + b"\0"
        fd = os.memfd_create("us-ru-keymap", os.MFD_CLOEXEC)
        try:
            os.write(fd, data)
            self._connection.send(self._keyboard, 0, uints(XKB_KEYMAP_FORMAT_TEXT_V1) + uints(len(data)),
                                  fds=[fd])
        finally:
            os.close(fd)

    def _key(self, code, state):
        milliseconds = int(time.monotonic() * 1000) & 0xFFFFFFFF
        self._connection.send(self._keyboard, 1, uints(milliseconds, code - EVDEV_OFFSET, state))

    def _state(self):
        # depressed, latched, locked modifiers, then the locked layout group
        self._connection.send(self._keyboard, 2, uints(self._held, 0, 0, self._group))

    def _modifier(self, name, state):
        code, _ = self.map.key(MODIFIERS[name][1])
        self._key(code, state)
        self._held = self._held | self.map.masks[name] if state else self._held & ~self.map.masks[name]
        self._state()

    def _tap(self, code, level, modifiers=()):
        """The key pressed and released with the modifiers held round it, as a hand does."""
        held = [*modifiers, *(["shift"] if level and "shift" not in modifiers else [])]
        for name in held:
            self._modifier(name, PRESSED)
        self._key(code, PRESSED)
        self._key(code, RELEASED)
        for name in reversed(held):
            self._modifier(name, RELEASED)

    def key(self, chord):
        """A key by its name (Return, KP_Enter, F4), or a chord such as alt+Down."""
        *modifiers, last = chord.split("+")
        self._tap(*self.map.key(last), modifiers)
        self._connection.round_trip()

    def type(self, text):
        """Types the text, each run of letters in the layout group that has
        them, switched to as a user switches the layout."""
        if missing := keyless(self.map.keys, text):
            raise Failure(f"the test keyboard has no key for {missing!r}")
        for group, run in group_runs(self.map.keys, text):
            self._group = group
            self._state()
            for letter in run:
                self._tap(*self.map.keys[keysym(letter)][group])
        self._group = LATIN_GROUP
        self._state()
        self._connection.round_trip()
