"""When the program cannot start its window, it says why in the toolkit's own words.

It ends with a failure (not an abort, not a core dump) and prints nothing on
stdout. Only where neither DISPLAY nor WAYLAND_DISPLAY is set does it add
that there is no display and how to run it anyway (under xvfb-run); where a
display is set but cannot be used, or the toolkit fails for another reason,
saying "no display" would send the user the wrong way.
"""

import os
import subprocess
import sys
from dataclasses import dataclass

TIMEOUT = 10  # seconds
HINT = "xvfb-run"


def unused_display():
    """An X display name that no server listens on here."""
    number = 97
    while os.path.exists(f"/tmp/.X11-unix/X{number}"):
        number += 1
    return f":{number}"


@dataclass
class Case:
    what: str
    environment: dict  # set on top of the caller's, less every display and platform setting
    toolkit_says: str  # part of the toolkit's own message that must be there
    hint: bool  # whether the xvfb-run hint must follow


def cases():
    display = unused_display()
    return [
        Case("no display set at all", {},
             "no Qt platform plugin could be initialized", hint=True),
        Case("a display set that no server answers", {"DISPLAY": display},
             f"could not connect to display {display}", hint=False),
        Case("only a Wayland display set", {"WAYLAND_DISPLAY": "wayland-97"},
             "no Qt platform plugin could be initialized", hint=False),
        Case("a display set, and a platform the toolkit does not have",
             {"DISPLAY": display, "QT_QPA_PLATFORM": "bogus"},
             'Could not find the Qt platform plugin "bogus"', hint=False),
    ]


def run(executable, case):
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                   "XDG_SESSION_TYPE")}
    environment.update(case.environment)
    result = subprocess.run([executable], env=environment, capture_output=True, text=True,
                            timeout=TIMEOUT, stdin=subprocess.DEVNULL)
    lines = result.stderr.strip().splitlines()
    problems = []
    if result.returncode != 1:
        problems.append(f"expected exit code 1, saw {result.returncode}")
    if case.toolkit_says not in result.stderr:
        problems.append(f"expected the toolkit's words {case.toolkit_says!r} on stderr")
    if case.hint and not (lines and HINT in lines[-1] and "DISPLAY" in lines[-1]):
        problems.append(f"expected the last line to say no display is set and to name {HINT}")
    if not case.hint and (HINT in result.stderr or "no display" in result.stderr):
        problems.append(f"expected no word of a missing display and no {HINT} hint")
    if result.stdout:
        problems.append(f"expected nothing on stdout, saw {result.stdout!r}")
    if problems:
        return "\n".join(problems) + f"\n--- its stderr:\n{result.stderr}"
    return None


def main(executable):
    failures = 0
    for case in cases():
        problem = run(executable, case)
        if problem:
            failures += 1
            print(f"FAILED: {case.what}\n{problem}")
        else:
            print(f"passed: {case.what}")
    print(f"{len(cases()) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
