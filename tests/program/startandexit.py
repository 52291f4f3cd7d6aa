#!/usr/bin/env python3
"""Starts the program, waits for its window, checks that no OpenGL driver came with it
and quits it through File > Exit.

Usage: startandexit.py <program>

Exits 0 when the window showed and the program ended with exit code 0.
"""

import os
import sys

# The helper module is imported from the source tree, which must stay clean.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402

TIMEOUT = 60


def main():
    xsession.start_session()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    with xsession.Program(sys.argv[1]) as program:
        try:
            window = xsession.MainWindow(program, TIMEOUT)
            print(f"window {window.id} is shown")
            # The program draws without OpenGL: a GL driver in its memory means
            # the platform probed GL after all, with tens of MiB and a leak at exit.
            drivers = sorted(name for name in program.loaded_libraries() if "_dri" in name or "LLVM" in name)
            if drivers:
                raise xsession.Failure(f"OpenGL driver libraries loaded: {', '.join(drivers)}")
            code = window.exit_through_menu(TIMEOUT)
        except xsession.Failure as failure:
            print(f"FAIL: {failure}")
            return 1
    print(f"exit code {code}")
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
