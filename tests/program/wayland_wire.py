"""A Wayland client connection spoken in the wire protocol itself (Debian
packages no Python binding for it): enough to bind a compositor's globals,
make objects, send requests, file descriptors among them, and wait for a
round trip. The test's virtual input devices are made with it."""

import os
import socket
import struct

DISPLAY_ID = 1
REGISTRY_ID = 2


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def uints(*values):
    return struct.pack(f"<{len(values)}I", *values)


class Connection:
    """One client of the compositor at $WAYLAND_DISPLAY; its globals are read
    once at the start, {interface: registry name}."""

    def __init__(self, environment=None):
        environment = os.environ if environment is None else environment
        path = environment["WAYLAND_DISPLAY"]
        if not path.startswith("/"):
            path = os.path.join(environment["XDG_RUNTIME_DIR"], path)
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.connect(path)
        self._buffer = b""
        self._next_id = DISPLAY_ID
        self.globals = {}
        self.send(DISPLAY_ID, 1, uints(self.new_id()))  # get_registry: REGISTRY_ID
        self.round_trip(self._note_global)

    def close(self):
        self._socket.close()

    def new_id(self):
        """The next free object id: the protocol wants them in turn."""
        self._next_id += 1
        return self._next_id

    def send(self, object_id, opcode, payload=b"", fds=()):
        message = struct.pack("<II", object_id, (8 + len(payload)) << 16 | opcode) + payload
        if fds:
            socket.send_fds(self._socket, [message], list(fds))
        else:
            self._socket.sendall(message)

    def bind(self, interface, version):
        """A new object for the global of that interface."""
        if interface not in self.globals:
            raise RuntimeError(f"the compositor offers no {interface}")
        object_id = self.new_id()
        self.send(REGISTRY_ID, 0, uints(self.globals[interface]) + string(interface)
                  + uints(version, object_id))
        return object_id

    def round_trip(self, on_event=None):
        """Returns once the compositor has carried out every request sent
        before: it answers a sync after them, in order. Events that come
        first go to on_event(object id, opcode, payload)."""
        callback = self.new_id()
        self.send(DISPLAY_ID, 0, uints(callback))  # sync
        for object_id, opcode, payload in self._events():
            if object_id == callback:
                return
            if object_id == DISPLAY_ID and opcode == 0:
                raise RuntimeError(f"the compositor reported an error: {payload!r}")
            if on_event:
                on_event(object_id, opcode, payload)
        raise RuntimeError("the compositor closed the connection")

    def wait_for_end(self):
        """Holds the connection until the compositor closes it."""
        for object_id, opcode, payload in self._events():
            if object_id == DISPLAY_ID and opcode == 0:
                raise RuntimeError(f"the compositor reported an error: {payload!r}")

    def _note_global(self, object_id, opcode, payload):
        if object_id == REGISTRY_ID and opcode == 0:  # global: name, interface, version
            name, length = struct.unpack_from("<II", payload)
            self.globals[payload[8:8 + length - 1].decode()] = name

    def _events(self):
        """Yields (object id, opcode, payload) for each event the compositor sends."""
        while True:
            while len(self._buffer) >= 8:
                object_id, size_opcode = struct.unpack_from("<II", self._buffer)
                size = size_opcode >> 16
                if len(self._buffer) < size:
                    break
                event, self._buffer = self._buffer[:size], self._buffer[size:]
                yield object_id, size_opcode & 0xFFFF, event[8:]
            data = self._socket.recv(4096)
            if not data:
                return
            self._buffer += data
