"""Holds a virtual pointer on a wlroots compositor until it is ended.

A headless sway has no input devices, so its seat offers clients no pointer,
and sway's own cursor commands (swaymsg seat - cursor ...) then reach no
program. A virtual pointer (the wlr-virtual-pointer protocol) gives the seat
one for as long as this process lives; the clicks themselves are sway's.

    WAYLAND_DISPLAY=/path/to/socket python3 virtual_pointer.py

Speaks the Wayland wire protocol directly (no binding is packaged for it):
prints "ready" once the compositor has the pointer, then waits for its end.
"""

import os
import socket
import struct
import sys

# New objects take the next free id in turn, as the protocol requires.
DISPLAY_ID, REGISTRY_ID, CALLBACK_ID, MANAGER_ID, POINTER_ID, SECOND_CALLBACK_ID = 1, 2, 3, 4, 5, 6
MANAGER = "zwlr_virtual_pointer_manager_v1"


def _string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def _message(object_id, opcode, payload=b""):
    return struct.pack("<II", object_id, (8 + len(payload)) << 16 | opcode) + payload


def _events(connection):
    """Yields (object id, opcode, payload) for each event the compositor sends."""
    buffer = b""
    while True:
        while len(buffer) >= 8:
            object_id, size_opcode = struct.unpack_from("<II", buffer)
            size = size_opcode >> 16
            if len(buffer) < size:
                break
            yield object_id, size_opcode & 0xFFFF, buffer[8:size]
            buffer = buffer[size:]
        data = connection.recv(4096)
        if not data:
            return
        buffer += data


def _manager_name(connection):
    """The registry's name of the virtual-pointer manager, read up to the sync's end."""
    connection.sendall(_message(DISPLAY_ID, 1, struct.pack("<I", REGISTRY_ID))  # get_registry
                       + _message(DISPLAY_ID, 0, struct.pack("<I", CALLBACK_ID)))  # sync
    name = None
    for object_id, opcode, payload in _events(connection):
        if object_id == REGISTRY_ID and opcode == 0:  # global: name, interface, version
            global_name, length = struct.unpack_from("<II", payload)
            if payload[8:8 + length - 1].decode() == MANAGER:
                name = global_name
        elif object_id == CALLBACK_ID:  # done: every global has been told
            return name
        elif object_id == DISPLAY_ID and opcode == 0:  # error
            raise SystemExit(f"the compositor reported an error: {payload!r}")
    raise SystemExit("the compositor closed the connection")


def main():
    path = os.environ["WAYLAND_DISPLAY"]
    if not path.startswith("/"):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], path)
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    connection.connect(path)
    name = _manager_name(connection)
    if name is None:
        raise SystemExit(f"the compositor offers no {MANAGER}")
    bind = struct.pack("<I", name) + _string(MANAGER) + struct.pack("<II", 1, MANAGER_ID)
    create = struct.pack("<II", 0, POINTER_ID)  # the default seat
    connection.sendall(_message(REGISTRY_ID, 0, bind) + _message(MANAGER_ID, 0, create)
                       + _message(DISPLAY_ID, 0, struct.pack("<I", SECOND_CALLBACK_ID)))
    for object_id, opcode, payload in _events(connection):
        if object_id == SECOND_CALLBACK_ID:
            print("ready", flush=True)
        elif object_id == DISPLAY_ID and opcode == 0:
            raise SystemExit(f"the compositor reported an error: {payload!r}")


if __name__ == "__main__":
    sys.exit(main())
