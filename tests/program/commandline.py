#!/usr/bin/env python3
"""The program's own command line: --help and --version answer without a
display and exit 0, a pattern file named on the command line shows centred on
the field, and one that cannot be read is reported in a message box, after
which the program runs with its usual empty field.

Usage: commandline.py <program> <screenshot folder>
"""

import os
import subprocess
import sys
import tempfile

# The helper module is imported from the source tree, which must stay clean.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

TIMEOUT = 20

# An R-pentomino in a 3 x 3 box: its top-left cell lands on row and column 59 (counted from 1).
PATTERN = "x = 3, y = 3\nb2o$2ob$bo!\n"
CENTRED = frozenset({(59, 60), (59, 61), (60, 59), (60, 60), (61, 60)})


def check_text_options(program):
    environment = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "WAYLAND_DISPLAY")}
    for option, expected in (("--help", "[PATTERN]"), ("-?", "[PATTERN]"), ("--help-all", "[PATTERN]"),
                             ("--version", "gameoflife ")):
        result = subprocess.run([program, option], env=environment, capture_output=True, text=True,
                                timeout=TIMEOUT)
        if result.returncode != 0 or expected not in result.stdout:
            raise Failure(f"{option} without a display gave code {result.returncode} and {result.stdout!r}")


def check_pattern(program, path, screenshots):
    with xsession.Program(program, [path]) as running:
        window = xsession.MainWindow(running, TIMEOUT)

        def shown():
            picture = window.capture()
            field = window.field(picture)
            return (picture, field) if field is not None and field.live == CENTRED else None

        picture, _ = wait_until("the pattern centred on the field", shown, TIMEOUT)
        screenshots.keep("pattern", picture)
        if window.exit_through_menu(TIMEOUT) != 0:
            raise Failure("File > Exit did not end the program with code 0")


def check_unreadable(program, path, screenshots):
    with xsession.Program(program, [path]) as running:
        window = xsession.MainWindow(running, TIMEOUT)
        box = running.window("Open pattern", TIMEOUT)
        screenshots.keep("message", xsession.capture(box))
        xsession.press("Return")
        running.wait_until_closed(box, TIMEOUT)
        if not window.view_is_empty(window.capture()):
            raise Failure("the field is not empty after a file that could not be opened")
        if window.exit_through_menu(TIMEOUT) != 0:
            raise Failure("File > Exit did not end the program with code 0")


def main():
    xsession.start_session()
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program, folder = sys.argv[1], sys.argv[2]
    screenshots = xsession.Screenshots(folder)
    with tempfile.TemporaryDirectory() as scratch:
        pattern = os.path.join(scratch, "r-pentomino.rle")
        unreadable = os.path.join(scratch, "notes.txt")
        with open(pattern, "w") as file:
            file.write(PATTERN)
        with open(unreadable, "w") as file:
            file.write("shopping list\n")
        try:
            check_text_options(program)
            print("--help and --version: PASS")
            check_pattern(program, pattern, screenshots)
            print("pattern on the command line: PASS")
            check_unreadable(program, unreadable, screenshots)
            print("unreadable file on the command line: PASS")
        except Failure as failure:
            print(f"FAIL: {failure}")
            screenshots.report_failure()
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
