#!/usr/bin/env python3
"""Plays one whole session with the built program in a real X server.

Random, Play, Pause, Next, Save state, Clear, Stop, both ways of choosing a
colour, painting cells in the field editor and File > Exit, each followed by
a screenshot whose field is decoded cell by cell and compared with what the
rule of the game says the user must see.

Usage: endtoend.py <program> <screenshot folder>
"""

import os
import sys
import time

# The helper module is imported from the source tree, which must stay clean.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

TIMEOUT = 20
# Far more generations than a loaded machine runs between two screenshots.
MAX_STEPS_BETWEEN_SHOTS = 150
EDITOR_LIVE = (0, 128, 0)
EDITOR_CELL_PIXELS = 15


class Editor:
    """The field editor as a user sees it: a table of cells, three tools, OK and Cancel.

    The table's cell size is measured from its grid lines rather than assumed,
    so that a wrong size is reported as such instead of making every click miss.
    """

    def __init__(self, program):
        # The field's cell shown in the table's top-left corner, 1-based.
        self.first_row, self.first_column = 1, 1
        self.id = program.window(xsession.EDITOR_TITLE, TIMEOUT)
        _, _, self.width, self.height = xsession.geometry(self.id)
        wait_until("the editor's table to be drawn", self._measure, TIMEOUT)

    def _measure(self):
        picture = xsession.capture(self.id)
        background = picture.pixel(2, 2)
        cell_colours = (xsession.WHITE, EDITOR_LIVE)

        def first_cell_pixel(pixels):
            # Past the dialog's background and the table's frame; None where
            # the scan line runs along a grid line.
            frame = next((i for i, colour in enumerate(pixels) if colour != background), None)
            if frame is None:
                return None
            return next((i for i in range(frame, frame + 6) if pixels[i] in cell_colours), None)

        for y in (self.height // 3, self.height // 3 + 5):
            left = first_cell_pixel([picture.pixel(x, y) for x in range(60)])
            if left is not None:
                break
        else:
            return None
        top = first_cell_pixel([picture.pixel(left + 1, y) for y in range(60)])
        if top is None:
            return None
        # The first grid line right of and below the first cell.
        grid_x = next(
            (x for x in range(left, left + 60) if picture.pixel(x, top + 1) not in cell_colours), None
        )
        grid_y = next(
            (y for y in range(top, top + 60) if picture.pixel(left + 1, y) not in cell_colours), None
        )
        if grid_x is None or grid_y is None:
            return None
        line = picture.pixel(grid_x, top + 1)
        self.left, self.top = left, top
        self.pitch_x, self.pitch_y = grid_x - left + 1, grid_y - top + 1
        self.columns = 0
        while self._grid_line_at(picture, left + (self.columns + 1) * self.pitch_x - 1, top + 1, line):
            self.columns += 1
        self.rows = 0
        while self._grid_line_at(picture, left + 1, top + (self.rows + 1) * self.pitch_y - 1, line):
            self.rows += 1
        return True if self.columns >= 20 and self.rows >= 20 else None

    @staticmethod
    def _grid_line_at(picture, x, y, line):
        return x < picture.width and y < picture.height and picture.pixel(x, y) == line

    def scrolled_to(self, live):
        """Where the editor opens on these cells: a box of live cells larger than the table starts at its corner."""
        rows = [row for row, _ in live]
        columns = [column for _, column in live]
        if max(rows) - min(rows) < self.rows or max(columns) - min(columns) < self.columns:
            raise Failure("the field's live cells fit the editor's table: this run expects a fuller field")
        self.first_row, self.first_column = min(rows), min(columns)

    def cell_centre(self, cell):
        row, column = cell
        return (
            self.left + (column - self.first_column) * self.pitch_x + self.pitch_x // 2,
            self.top + (row - self.first_row) * self.pitch_y + self.pitch_y // 2,
        )

    def visible_live_cells(self, picture):
        """Live cells of the visible corner, 1-based, or None while a cell shows anything else."""
        live = set()
        for row in range(self.first_row, self.first_row + self.rows):
            for column in range(self.first_column, self.first_column + self.columns):
                colour = picture.pixel(*self.cell_centre((row, column)))
                if colour == EDITOR_LIVE:
                    live.add((row, column))
                elif colour != xsession.WHITE:
                    return None
        return frozenset(live)

    def is_visible(self, cell):
        return (
            self.first_row <= cell[0] < self.first_row + self.rows
            and self.first_column <= cell[1] < self.first_column + self.columns
        )

    def choose_tool(self, name):
        # Centres of the radio buttons' labels in the tool panel at the bottom left.
        label_x = {"None": 42, "On": 107}[name]
        xsession.click(self.id, 10 + label_x, self.height - 25, rest=None)

    def paint(self, cell):
        xsession.click(self.id, *self.cell_centre(cell), rest=None)

    def press_ok(self):
        xsession.click(self.id, self.width - 125, self.height - 25, rest=None)


class Session:
    def __init__(self, program, screenshots):
        self.program = program
        self.screenshots = screenshots
        self.problems = []

    def shoot(self, name, picture):
        path = self.screenshots.keep(name, picture)
        print(f"{name}: ok ({path})")

    def picture_when(self, description, accept):
        def probe():
            picture = self.window.capture()
            return picture if accept(picture) else None

        return wait_until(description, probe, TIMEOUT)

    def field_when(self, description, accept):
        """Polls the view until its decoded field passes accept; returns the picture and the field."""
        seen = [None]

        def accept_field(picture):
            seen[0] = self.window.field(picture)
            return seen[0] is not None and accept(seen[0])

        try:
            picture = self.picture_when(description, accept_field)
        except Failure as failure:
            raise Failure(f"{failure}; the view showed {seen[0] or 'no whole cells'} last")
        return picture, seen[0]

    def run(self):
        self.window = xsession.MainWindow(self.program, TIMEOUT)
        print(f"menu bar height {self.window.menu_height()} px")
        start = self.window.capture()
        if not self.window.view_is_empty(start):
            raise Failure("the field view is not empty right after start")
        if self.window.buttons(start) != xsession.IDLE_BUTTONS:
            raise Failure(f"after start the buttons look {self.window.buttons(start)}")
        self.shoot("start", start)

        self.window.press_button("Random")
        picture, randomised = self.field_when(
            "green cells after Random", lambda f: f.live and f.colours == {"green"}
        )
        self.shoot("random", picture)

        last = self.play(randomised)
        paused = self.pause(last)

        self.window.press_button("Next")
        expected = xsession.next_generation(paused.live)
        picture, _ = self.field_when("the next generation after Next", lambda f: f.live == expected)
        self.shoot("next", picture)

        saved = self.save_state(picture)

        self.window.press_button("Clear")
        picture = self.picture_when("an empty field after Clear", self.window.view_is_empty)
        self.shoot("clear", picture)

        self.window.press_button("Stop")
        picture, _ = self.field_when("the saved field after Stop", lambda f: f == saved)
        self.shoot("stop", picture)

        self.window.choose_colour_with_keys(["Down"], TIMEOUT)
        picture, _ = self.field_when(
            "blue cells after choosing Blue", lambda f: f.live == saved.live and f.colours == {"blue"}
        )
        self.shoot("blue", picture)

        self.window.choose_colour_with_pointer(0, TIMEOUT)
        picture, _ = self.field_when(
            "red cells after choosing Red", lambda f: f.live == saved.live and f.colours == {"red"}
        )
        self.shoot("red", picture)

        self.edit(saved)

        code = self.window.exit_through_menu(TIMEOUT)
        print(f"exit code {code}")
        if code != 0:
            raise Failure(f"File > Exit ended the program with exit code {code}")
        if self.problems:
            raise Failure("; ".join(self.problems))

    def buttons_become(self, description, expected):
        self.picture_when(description, lambda picture: self.window.buttons(picture) == expected)

    def play(self, start):
        self.window.press_button("Play")
        self.buttons_become("only Pause and Stop to look enabled while playing", xsession.RUNNING_BUTTONS)
        changes = []
        previous = start

        def changed_by_whole_generations():
            picture = self.window.capture()
            field = self.window.field(picture)
            if field is None or field.live == previous.live:
                return None
            steps = xsession.generations_between(previous.live, field.live, MAX_STEPS_BETWEEN_SHOTS)
            return (picture, field, steps) if steps is not None else None

        for _ in range(3):
            picture, previous, steps = wait_until(
                "the field to move on while playing", changed_by_whole_generations, TIMEOUT
            )
            changes.append(steps)
        print(f"play: the field moved on by {changes} generations between screenshots")
        self.shoot("play", picture)
        return previous

    def pause(self, last):
        self.window.press_button("Pause")
        self.buttons_become("all buttons but Pause to look enabled after Pause", xsession.IDLE_BUTTONS)
        previous = [None]

        def settled():
            # Ticks already queued may still land just after the click.
            picture = self.window.capture()
            field = self.window.field(picture)
            if field is None:
                return None
            result = (picture, field) if previous[0] is not None and field == previous[0] else None
            previous[0] = field
            return result

        picture, paused = wait_until("the field to stand still after Pause", settled, TIMEOUT, interval=0.3)
        if paused.live != last.live and xsession.generations_between(
            last.live, paused.live, MAX_STEPS_BETWEEN_SHOTS
        ) is None:
            raise Failure("after Pause the field is not a later generation of the one playing")
        if xsession.next_generation(paused.live) == paused.live:
            raise Failure("the paused field is a still life, so Pause cannot be told from a stop")
        # A running 20-per-second timer would step about twenty times meanwhile.
        time.sleep(1.0)
        later = self.window.field(self.window.capture())
        if later != paused:
            raise Failure("the field kept changing after Pause")
        self.shoot("pause", picture)
        return paused

    def save_state(self, picture):
        before = self.window.field(picture)
        info_before = self.window.info(picture)
        self.window.press_button("Save state")
        # The field does not change; only the generation label tells that it happened.
        picture = self.picture_when(
            "the generation label to change after Save state",
            lambda picture: self.window.info(picture) != info_before,
        )
        if self.window.field(picture) != before:
            raise Failure("Save state changed the picture of the field")
        self.shoot("save-state", picture)
        return before

    def edit(self, field):
        self.window.press_button("Edit")
        editor = Editor(self.program)
        if (editor.pitch_x, editor.pitch_y) != (EDITOR_CELL_PIXELS, EDITOR_CELL_PIXELS):
            self.problems.append(
                f"the editor's cells are {editor.pitch_x} x {editor.pitch_y} px, "
                f"not {EDITOR_CELL_PIXELS} x {EDITOR_CELL_PIXELS}"
            )
        editor.scrolled_to(field.live)
        print(
            f"editor: cells of {editor.pitch_x} x {editor.pitch_y} px, "
            f"{editor.columns} columns and {editor.rows} rows visible from row {editor.first_row}, "
            f"column {editor.first_column}"
        )
        corner = frozenset(cell for cell in field.live if editor.is_visible(cell))

        def editor_shows(expected):
            def probe():
                picture = xsession.capture(editor.id)
                return picture if editor.visible_live_cells(picture) == expected else None

            return probe

        picture = wait_until("the editor to show the field", editor_shows(corner), TIMEOUT)
        self.shoot("editor-opened", picture)

        painted = set()
        for row, column in [(2, 3), (7, 20), (15, 8), (16, 8), (17, 8), (19, 17)]:
            row += editor.first_row - 1
            column += editor.first_column - 1
            while (row, column) in field.live or (row, column) in painted:
                column += 1
            if not editor.is_visible((row, column)):
                raise Failure(f"cell {(row, column)} is outside the editor's visible corner")
            painted.add((row, column))
        editor.choose_tool("On")
        for cell in sorted(painted):
            editor.paint(cell)
        # Choosing a tool also drops the orange selection, so every painted cell shows its colour.
        editor.choose_tool("None")
        picture = wait_until(
            f"the editor to show the painted cells {sorted(painted)}",
            editor_shows(corner | painted),
            TIMEOUT,
        )
        self.shoot("editor-painted", picture)

        editor.press_ok()
        self.program.wait_until_closed(editor.id, TIMEOUT)
        expected = field.live | painted
        picture, _ = self.field_when(
            "exactly the painted cells added after OK",
            lambda f: f.live == expected and f.colours == {"red"},
        )
        self.shoot("edited", picture)


def main():
    xsession.start_session()
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program_path, folder = sys.argv[1], sys.argv[2]
    screenshots = xsession.Screenshots(folder)
    with xsession.Program(program_path) as program:
        try:
            Session(program, screenshots).run()
        except Failure as failure:
            print(f"FAIL: {failure}")
            screenshots.report_failure()
            return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
