#!/usr/bin/env python3
"""Reads the window as a screen reader does, over the AT-SPI bus, in a D-Bus session of its own.

Usage: accessibility.py <program>

Exits 0 when every push button's name and the field's description are found,
77 (skipped) when the AT-SPI packages are not installed.
"""

import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402

SKIPPED = 77
TIMEOUT = 60
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
BUTTONS = {"Play", "Pause", "Stop", "Next", "Clear field", "Random field", "Edit field", "Save state"}
FIELD_DESCRIPTION = "120 by 120 cells"


def walk(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


def main():
    xsession.start_session()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    if not os.environ.get("GAMEOFLIFE_OWN_DBUS") and shutil.which("dbus-run-session"):
        os.environ["GAMEOFLIFE_OWN_DBUS"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    try:
        import pyatspi
    except ImportError:
        pyatspi = None
    if not os.environ.get("GAMEOFLIFE_OWN_DBUS") or pyatspi is None or not os.access(BUS_LAUNCHER, os.X_OK):
        print("SKIP: dbus-run-session, at-spi2-core or python3-pyatspi is not installed")
        return SKIPPED

    def application():
        desktop = pyatspi.Registry.getDesktop(0)
        found = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        return next((app for app in found if app is not None and app.name == "gameoflife"), None)

    def names_and_description(app):
        nodes = list(walk(app))
        buttons = {node.name for node in nodes if node.getRole() == pyatspi.ROLE_PUSH_BUTTON}
        fields = [node.description for node in nodes if node.name == "Field" and node.description]
        return buttons, fields

    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"])
    try:
        with xsession.Program(sys.argv[1], environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}) as program:
            window = xsession.MainWindow(program, TIMEOUT)
            app = xsession.wait_until('"gameoflife" on the accessibility bus', application, TIMEOUT)

            def complete():
                buttons, fields = names_and_description(app)
                return (BUTTONS <= buttons and any(FIELD_DESCRIPTION in text for text in fields)) or None

            try:
                xsession.wait_until("every button's name and the field's description", complete, TIMEOUT, 0.5)
            finally:
                print("push buttons: {}\nfield: {}".format(*names_and_description(app)))
            code = window.exit_through_menu(TIMEOUT)
    except xsession.Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        launcher.terminate()
        launcher.wait()
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
