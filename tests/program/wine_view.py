"""The Windows build as the table sees it: started under Wine by a probe of
its own (win32/form2_probe.cpp), which reads the form's state with window
messages and answers in JSON; the input is real X input on Wine's windows."""

import json
import os
import queue
import subprocess
import tempfile
import threading

from clipboard import Clipboard
from form2_places import FORM_TITLE
from x_session import DEFAULT_TIMEOUT, Failure, KeyboardMap, XInput, start_bound, stop

# Starting Wine's processes takes longer than starting the Qt program.
START_TIMEOUT = 60  # seconds
END_TIMEOUT = 20  # seconds: more than the probe waits for the program to close
# The title Wine gives the X window of its virtual desktop, when it uses one.
VIRTUAL_DESKTOP_TITLE = " - Wine desktop$"


class WineView:
    build = "win32"

    def __init__(self, emulator, probe, display, letters):
        self.command = [*emulator, probe]
        self.display = display
        self.x = XInput(display)
        self.clipboard_owner = Clipboard(display, self.x.environment)
        self.process = None
        # Before Wine starts, which reads the map once; held open for the run.
        self.keyboard = KeyboardMap(display, letters)

    def start(self, environment):
        self._errors = tempfile.TemporaryFile()
        self.process = start_bound(self.command, env=dict(os.environ, **environment),
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=self._errors, text=True, encoding="utf-8")
        self._lines = queue.Queue()
        threading.Thread(target=self._read_lines, args=(self.process.stdout, self._lines),
                         daemon=True).start()
        try:
            answer = self._answer(START_TIMEOUT)
            if not answer.get("ready"):
                raise Failure(f"the probe did not start the program: {answer}")
            self._screen = self._desktop()
            self._origin = tuple(self._screen[:2])
            self.refresh()
        except BaseException:
            self.stop()
            raise

    def stop(self):
        self.clipboard_owner.close()
        if self.process is None:
            return
        # The probe closes the program as its user does, and ends it when it
        # does not close within the probe's own time-out.
        try:
            self.process.stdin.write("end\n")
            self.process.stdin.close()
            self.process.wait(timeout=END_TIMEOUT)
        except (OSError, subprocess.TimeoutExpired):
            pass
        stop(self.process)
        self._errors.close()
        self.process = None

    @staticmethod
    def _read_lines(stream, lines):
        for line in stream:
            lines.put(line)
        lines.put("")  # the probe has ended

    def _answer(self, timeout=DEFAULT_TIMEOUT):
        """The probe's next line: it answers each request at once."""
        try:
            line = self._lines.get(timeout=timeout)
        except queue.Empty:
            raise Failure(f"the probe did not answer in {timeout:.0f} s")
        if not line:
            self._errors.seek(0)
            raise Failure(f"the probe ended: {self._errors.read().decode(errors='replace')}")
        return json.loads(line)

    def _desktop(self):
        """Where Wine's virtual desktop stands on the X screen: [x, y, width,
        height]; the whole X screen when Wine shows its windows without one."""
        found = self.x.windows_named(VIRTUAL_DESKTOP_TITLE)
        if not found:
            return [0, 0, *self.x.screen_size()]
        info = self.x.window_info(found[0])
        return [int(info[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                             "Width", "Height")]

    def refresh(self):
        self.process.stdin.write("state\n")
        self.process.stdin.flush()
        self._state = self._answer()

    def _shown(self):
        if not self._state.get("running"):
            raise Failure("the program has ended")
        if self._state["state"].get("form") is None:
            raise Failure("the program shows no form")
        return self._state["state"]

    def _on_screen(self, rectangle):
        x, y, width, height = rectangle
        return [x + self._origin[0], y + self._origin[1], width, height]

    # What the program shows.

    def running(self):
        return self._state.get("running")

    def exit_code(self):
        return self._state.get("exit_code")

    def window(self):
        form = self._shown()["form"]
        return {"title": form["title"], "client": self._on_screen(form["client"])}

    def screen(self):
        return self._screen

    def places(self, names):
        controls = self._shown()["controls"]
        return {name: self._on_screen(controls[name]["rect"]) for name in names}

    def texts(self, names):
        controls = self._shown()["controls"]
        return {name: controls[name]["text"] for name in names}

    def focus(self):
        return self._shown()["focus"]

    def boxes(self):
        return [dict(box, rect=self._on_screen(box["rect"]),
                     buttons=[dict(button, rect=self._on_screen(button["rect"]))
                              for button in box["buttons"]])
                for box in self._shown()["boxes"]]

    def combo_list(self):
        shown = dict(self._shown()["combo_list"])
        if "items" in shown:
            shown["items"] = [dict(item, rect=self._on_screen(item["rect"]))
                              for item in shown["items"]]
        return shown

    def menu_open(self):
        return self._shown()["menu"]["open"]

    def menu_items(self):
        raise Failure("the Windows build's menu items are not read: see the table's reason")

    def clipboard(self):
        return self.clipboard_owner.read()

    def accessible(self, names):
        shown = self._shown()["accessible"]
        return {name: shown.get(name) for name in names}

    def labelled_by(self, names):
        raise Failure("the Windows build's labels are not read: see the table's reason")

    def describe(self):
        return json.dumps(self._state, ensure_ascii=False, indent=1)
