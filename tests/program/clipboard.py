"""The X clipboard as other programs see it, through xclip: text put on it by
a program of the test's own, and read back from whichever program owns it.
The same for the primary selection, which a middle click pastes."""

import struct
import subprocess
import zlib

from x_session import DEFAULT_TIMEOUT, Failure, start_bound, stop, wait_for


class Clipboard:
    def __init__(self, display, environment):
        self.display = display
        self.environment = dict(environment, DISPLAY=display)
        self._owners = {}  # selection: the xclip that holds it

    def read(self, selection="clipboard"):
        """The clipboard's text; empty when no program owns it or it holds no text."""
        try:
            result = subprocess.run(["xclip", "-o", "-selection", selection],
                                    env=self.environment, capture_output=True,
                                    timeout=DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("the clipboard's owner did not answer in time")
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""

    def put(self, text, selection="clipboard"):
        """Puts the text on the clipboard, held by xclip until another program takes it."""
        if selection in self._owners:
            stop(self._owners.pop(selection))
        # -quiet keeps xclip in the foreground, bound to the test, serving the text.
        owner = start_bound(["xclip", "-i", "-quiet", "-selection", selection],
                            env=self.environment, stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._owners[selection] = owner
        owner.stdin.write(text.encode())
        owner.stdin.close()
        wait_for(f"the {selection} selection to hold {text!r}",
                 lambda: self.read(selection) == text, seen=lambda: self.read(selection))

    def put_picture(self, selection="clipboard"):
        """Puts a picture, and no text, on the clipboard (a 1x1 PNG), held by xclip."""
        if selection in self._owners:
            stop(self._owners.pop(selection))
        owner = start_bound(["xclip", "-i", "-quiet", "-selection", selection, "-t", "image/png"],
                            env=self.environment, stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._owners[selection] = owner
        owner.stdin.write(_one_pixel_png())
        owner.stdin.close()
        wait_for(f"the {selection} selection to offer a picture",
                 lambda: "image/png" in self._targets(selection),
                 seen=lambda: self._targets(selection))

    def _targets(self, selection):
        result = subprocess.run(["xclip", "-o", "-selection", selection, "-t", "TARGETS"],
                                env=self.environment, capture_output=True,
                                timeout=DEFAULT_TIMEOUT)
        return result.stdout.decode(errors="replace").split() if result.returncode == 0 else []

    def close(self):
        for owner in self._owners.values():
            stop(owner)
        self._owners.clear()


def _one_pixel_png():
    """A PNG of one red pixel, made here so that the tests need no image file."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)
    pixels = zlib.compress(b"\x00\xff\x00\x00")
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels)
            + chunk(b"IEND", b""))
