"""Holds a virtual pointer on a wlroots compositor until it is ended.

A headless sway has no input devices, so its seat offers clients no pointer,
and sway's own cursor commands (swaymsg seat - cursor ...) then reach no
program. A virtual pointer (the wlr-virtual-pointer protocol) gives the seat
one for as long as this process lives; the clicks themselves are sway's.

    WAYLAND_DISPLAY=/path/to/socket python3 virtual_pointer.py

Prints "ready" once the compositor has the pointer, then waits for its end.
"""

import sys

from wayland_wire import Connection, uints


def main():
    connection = Connection()
    manager = connection.bind("zwlr_virtual_pointer_manager_v1", 1)
    connection.send(manager, 0, uints(0, connection.new_id()))  # create on the default seat
    connection.round_trip()
    print("ready", flush=True)
    connection.wait_for_end()


if __name__ == "__main__":
    sys.exit(main())
