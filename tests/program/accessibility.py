#!/usr/bin/env python3
"""Reads the program's window the way a screen reader does, over the AT-SPI bus.

Usage: accessibility.py <program>

Runs in a D-Bus session of its own (dbus-run-session) with the accessibility
bus launched, starts the program with Qt's accessibility bridge on, finds the
application "gameoflife" on the bus and walks its tree: each push button must
carry its name and the field its description. Exits 0 when all are found, 1
when any is missing, 77 (skipped) when the AT-SPI packages are not installed.
"""

import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402

SKIPPED = 77
TIMEOUT = 60
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
BUTTONS = ["Play", "Pause", "Stop", "Next", "Clear field", "Random field", "Edit field", "Save state"]
FIELD_DESCRIPTION = "120 by 120 cells"
OWN_SESSION = "GAMEOFLIFE_OWN_DBUS_SESSION"


def in_own_session():
    """Restarts the script inside a D-Bus session of its own, leaving the user's alone."""
    if os.environ.get(OWN_SESSION):
        return
    if not shutil.which("dbus-run-session"):
        print("SKIP: dbus-run-session is not installed")
        sys.exit(SKIPPED)
    os.environ[OWN_SESSION] = "1"
    os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])


def walk(node, depth=0):
    """Every accessible below node, node included; nodes that vanish are left out."""
    if node is None or depth > 40:
        return
    yield node
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:  # a child may go away while we read
            continue
        yield from walk(child, depth + 1)


def find_application(pyatspi):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is not None and application.name == "gameoflife":
            return application
    return None


def main():
    xsession.start_session()
    in_own_session()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    try:
        import pyatspi
    except ImportError:
        print("SKIP: python3-pyatspi is not installed")
        return SKIPPED
    if not os.access(BUS_LAUNCHER, os.X_OK):
        print("SKIP: at-spi2-core is not installed")
        return SKIPPED

    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"])
    try:
        with xsession.Program(sys.argv[1], environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}) as program:
            window = xsession.MainWindow(program, TIMEOUT)
            application = xsession.wait_until(
                'the application "gameoflife" on the accessibility bus', lambda: find_application(pyatspi), TIMEOUT
            )

            def everything_named():
                nodes = list(walk(application))
                buttons = {node.name for node in nodes if node.getRole() == pyatspi.ROLE_PUSH_BUTTON}
                fields = [node.description for node in nodes if node.name == "Field" and node.description]
                if set(BUTTONS) <= buttons and any(FIELD_DESCRIPTION in text for text in fields):
                    return buttons, fields
                return None

            try:
                buttons, fields = xsession.wait_until("every button's name and the field's description",
                                                      everything_named, TIMEOUT, interval=0.5)
            except xsession.Failure:
                nodes = list(walk(application))
                print("push buttons found:", sorted(n.name for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON))
                print("objects named Field:", [(n.getRoleName(), n.description) for n in nodes if n.name == "Field"])
                raise
            print("push buttons:", ", ".join(sorted(buttons)))
            print("field:", fields[0])
            code = window.exit_through_menu(TIMEOUT)
    except xsession.Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        launcher.terminate()
        launcher.wait()
    print(f"exit code {code}")
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
