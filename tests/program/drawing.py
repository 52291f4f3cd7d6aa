#!/usr/bin/env python3
"""Draws one stroke on the field view with the real pointer, on a plain screen
and on one scaled to 200 %: the window has the size of its layout times the
scale, exactly the cells on the lines between the places the pointer visited
come alive, the Info box changes, every pixel of the view keeps one of the
view's own colours (no blending from scaling), and File > Exit ends with 0.

Usage: drawing.py <program> <screenshot folder>
"""

import os
import sys

# The helper module is imported from the source tree, which must stay clean.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

TIMEOUT = 20
WINDOW_SIZE = (955, 775)
# (row, column) cells the pointer jumps between while the button is held: long
# steep and shallow segments, one of them upwards, so that a stroke joined only
# from press to release shows. Each segment passes exactly halfway between two
# cells somewhere, where a line rounding the other way differs.
VISITED = [(20, 20), (44, 35), (30, 71), (60, 90)]
# The keyboard's cell cursor shows too: a click gives the view the focus.
CURSOR = (255, 140, 0)
VIEW_COLOURS = {
    bytes(colour) for colour in (xsession.WHITE, xsession.BLACK, xsession.OUTLINE, CURSOR, *xsession.FILLS)
}


def line(start, end):
    """The cells after start up to end that Bresenham's line passes, as (row, column)."""
    (y, x), (y1, x1) = start, end
    dx, dy = abs(x1 - x), -abs(y1 - y)
    sx, sy = (1 if x1 > x else -1), (1 if y1 > y else -1)
    err = dx + dy
    cells = []
    while (x, y) != (x1, y1):
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x += sx
        if e2 <= dx:
            err += dx
            y += sy
        cells.append((y, x))
    return cells


def foreign_colours(window, picture):
    left, top = window.view_origin()
    size = window.view_size()
    view = picture.region(left, top, size, size)
    return {view[i : i + 3] for i in range(0, len(view), 3)} - VIEW_COLOURS


def check(program, scale, screenshots):
    window = xsession.MainWindow(program, TIMEOUT, scale=scale)
    size = xsession.geometry(window.id)[2:]
    if size != (WINDOW_SIZE[0] * scale, WINDOW_SIZE[1] * scale):
        raise Failure(f"the window is {size[0]} x {size[1]} px")
    before = window.capture()
    if not window.view_is_empty(before):
        raise Failure("the field view is not empty right after start")

    drawn = {VISITED[0]}
    seen = [None]

    def stroke_shown():
        picture = window.capture()
        seen[0] = window.field(picture)
        return picture if seen[0] is not None and seen[0].live == drawn else None

    def shown(description):
        try:
            return wait_until(description, stroke_shown, TIMEOUT)
        except Failure as failure:
            if seen[0] is None:
                raise
            missing, extra = sorted(drawn - seen[0].live), sorted(seen[0].live - drawn)
            raise Failure(f"{failure}; cells missing {missing}, cells extra {extra}")

    centres = [window.cell_centre(cell) for cell in VISITED]

    def reached(point):
        index = centres.index(point)
        drawn.update(line(VISITED[index - 1], VISITED[index]))
        shown(f"the stroke to reach {VISITED[index]}")

    xsession.drag(window.id, centres, reached)
    picture = shown("exactly the cells of the stroke after the release")
    path = screenshots.keep(f"scale{scale}-stroke", picture)
    print(f"scale {scale}: {len(drawn)} cells drawn ({path})")
    if window.info(picture) == window.info(before):
        raise Failure("the Info box did not change after the stroke")
    foreign = foreign_colours(window, picture)
    if foreign:
        raise Failure(f"the view shows colours not its own: {sorted(tuple(c) for c in foreign)[:5]}")
    code = window.exit_through_menu(TIMEOUT)
    if code != 0:
        raise Failure(f"File > Exit ended the program with exit code {code}")


def main():
    xsession.start_session("2048x1700x24")
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program_path, folder = sys.argv[1], sys.argv[2]
    screenshots = xsession.Screenshots(folder)
    for scale in (1, 2):
        with xsession.Program(program_path, environment={"QT_SCALE_FACTOR": str(scale)}) as program:
            try:
                check(program, scale, screenshots)
            except Failure as failure:
                print(f"scale {scale}: FAIL: {failure}")
                screenshots.report_failure()
                return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
