"""Started where there is no display, the program says so in one line and fails.

The line must tell the user how to run it anyway (under xvfb-run), and the
toolkit's own start-up messages must not bury it.
"""

import os
import subprocess
import sys

TIMEOUT = 10  # seconds


def main(executable):
    # No display of any kind: neither X nor Wayland, and no platform forced.
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                   "XDG_SESSION_TYPE")}
    result = subprocess.run([executable], env=environment, capture_output=True, text=True,
                            timeout=TIMEOUT, stdin=subprocess.DEVNULL)
    lines = result.stderr.splitlines()
    problems = []
    if result.returncode == 0:
        problems.append("expected a non-zero exit code, saw 0")
    if len(lines) != 1 or "xvfb-run" not in lines[0]:
        problems.append(f"expected exactly one line on stderr that mentions xvfb-run, "
                        f"saw {len(lines)}: {lines}")
    if result.stdout:
        problems.append(f"expected nothing on stdout, saw {result.stdout!r}")
    if problems:
        print("FAILED: the program without a display\n" + "\n".join(problems))
        return 1
    print(f"passed: without a display the program exits {result.returncode} saying: {lines[0]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
