#!/usr/bin/env python3
"""The program's own command line: --help and --version answer without a
display and without loading the widget libraries, and exit 0, --settle, --census and --generations answer on the terminal in
each of their forms, a command line that cannot be used is refused there, a pattern file named on the command line shows centred on
the field, and one that cannot be read is reported in a message box, after
which the program runs with its usual empty field.

Usage: commandline.py <program> <screenshot folder>
"""

import os
import struct
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
    for option, expected in (("--help", "--settle"), ("-?", "--generations"), ("--help-all", "[PATTERN]"),
                             ("--version", "gameoflife ")):
        result = subprocess.run([program, option], env=environment, capture_output=True, text=True,
                                timeout=TIMEOUT)
        if result.returncode != 0 or expected not in result.stdout:
            raise Failure(f"{option} without a display gave code {result.returncode} and {result.stdout!r}")
    # The window lives in a module of its own: an answer maps no widget library.
    result = subprocess.run([program, "--version"], env={**environment, "LD_DEBUG": "files"}, capture_output=True,
                            text=True, timeout=TIMEOUT)
    for library in ("libQt5Widgets", "libQt5Charts", "gameoflife_window"):
        if f"file={library}" in result.stderr:
            raise Failure(f"--version loaded {library}")
    if "file=libQt5Core" not in result.stderr:
        raise Failure("LD_DEBUG=files shows no libraries loaded: the check above would see none either")


def run_without_display(program, *arguments):
    environment = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "WAYLAND_DISPLAY")}
    return subprocess.run([program, *arguments], env=environment, capture_output=True, text=True, timeout=120)


def check_answers(program, folder):
    """Every form of --settle once, a file it cannot read, --generations and a bad --rule."""
    files = {
        "diehard.rle": "x = 8, y = 3\n6bo$2o$bo3b3o!\n",
        "blinker.cells": "OOO\n",
        "block.lif": "#Life 1.06\n0 0\n1 0\n0 1\n1 1\n",
        "seed.rle": "x = 1, y = 1, rule = Replicator\no!\n",
        "notes.txt": "shopping list\n",
    }
    paths = {}
    for name, text in files.items():
        paths[name] = os.path.join(folder, name)
        with open(paths[name], "w") as file:
            file.write(text)
    names = ["diehard.rle", "blinker.cells", "notes.txt", "block.lif", "seed.rle"]
    result = run_without_display(program, "--settle", *[paths[name] for name in names])
    expected = [
        f"{paths['diehard.rle']}: died out at generation 131",
        f"{paths['blinker.cells']}: period 2 since generation 1, 3 cells",
        f"{paths['block.lif']}: still since generation 1, 4 cells",
        f"{paths['seed.rle']}: not settled after 1000000 generations",
    ]
    if result.returncode != 1 or result.stdout.splitlines() != expected:
        raise Failure(f"--settle gave code {result.returncode} and {result.stdout!r}")
    if result.stderr != f"gameoflife: {paths['notes.txt']}: not a pattern file: expected RLE, plaintext, Life 1.05, Life 1.06 or macrocell\n":
        raise Failure(f"--settle reported {result.stderr!r} for a file it cannot read")

    # The command line's rule overrides the file's: under Conway's the seed dies at once.
    output = os.path.join(folder, "after.cells")
    result = run_without_display(program, "--rule", "b3/s23", "--generations", "1", paths["seed.rle"],
                                 "--output", output)
    with open(output) as file:
        written = file.read().splitlines()
    # Only the box around the live cells is written: none at all here.
    if result.returncode != 0 or written != ["!Name: "]:
        raise Failure(f"--generations gave code {result.returncode}, {result.stderr!r} and {written[:3]!r}")
    result = run_without_display(program, "--generations", "3", paths["blinker.cells"], "--output", output)
    with open(output) as file:
        lines = file.read().splitlines()
    rows = [row for row in lines if not row.startswith("!")]
    # The box's top-left cell, counted from the field's centre cell, column 60 counted from 0.
    left = [int(line.split(":")[1].split(",")[0]) for line in lines if line.startswith("!Position:")]
    if result.returncode != 0 or [60 + left[0] + row.find("O") for row in rows if "O" in row] != [59, 59, 59]:
        raise Failure(f"--generations 3 of a blinker gave code {result.returncode} and other cells")
    output = os.path.join(folder, "later.rle")
    run_without_display(program, "--generations", "100", paths["diehard.rle"], "--output", output)
    with open(output) as file:
        if "#C Generation 101\n" not in file.read():
            raise Failure("--generations 100 did not write the field as generation 101")
    # Life 1.06 out as in: the block keeps its place around the centre.
    output = os.path.join(folder, "after.lif")
    result = run_without_display(program, "--generations", "0", paths["block.lif"], "--output", output)
    with open(output) as file:
        written = file.read()
    if result.returncode != 0 or written != files["block.lif"]:
        raise Failure(f"--output as Life 1.06 gave code {result.returncode} and {written!r}")

    # An animation of 1 + 3 generations; a picture of an unknown kind is refused, leaving nothing.
    animation = os.path.join(folder, "blinker.gif")
    result = run_without_display(program, "--export", animation, paths["blinker.cells"], "--generations", "3")
    frames = subprocess.run(["identify", animation], capture_output=True, text=True).stdout.splitlines()
    if result.returncode != 0 or len(frames) != 4:
        raise Failure(f"--export to .gif gave code {result.returncode}, {result.stderr!r} and {len(frames)} frames")
    # Its first frame is the pattern as opened, as its picture shows it; diehard, unlike a blinker, never repeats.
    picture, animation = os.path.join(folder, "diehard.png"), os.path.join(folder, "diehard.gif")
    run_without_display(program, "--export", picture, paths["diehard.rle"])
    run_without_display(program, "--export", animation, paths["diehard.rle"], "--generations", "1")
    compared = subprocess.run(["compare", "-metric", "AE", picture, animation + "[0]", "null:"], capture_output=True, text=True)
    if compared.stderr.strip() != "0":
        raise Failure(f"the animation's first frame differs from the picture in {compared.stderr!r} pixels")
    result = run_without_display(program, "--export", os.path.join(folder, "x.bmp"), paths["blinker.cells"])
    if result.returncode != 2 or os.path.exists(os.path.join(folder, "x.bmp")):
        raise Failure(f"--export to .bmp gave code {result.returncode}")

    # Refused before any display is needed: one line on standard error, status 2.
    for arguments in (["--bogus"], [paths["diehard.rle"], paths["blinker.cells"]]):
        result = run_without_display(program, *arguments)
        if result.returncode != 2 or len(result.stderr.splitlines()) != 1:
            raise Failure(f"{arguments} gave code {result.returncode} and {result.stderr!r}")

    for arguments in (["--rule", "B2x/S12"], ["--rule", "B2x/S12", "--settle", paths["blinker.cells"]]):
        result = run_without_display(program, *arguments)
        if result.returncode != 2 or "non-totalistic" not in result.stderr:
            raise Failure(f"{arguments} gave code {result.returncode} and {result.stderr!r}")

    # The census runs in the unbounded plane, where the R-pentomino's gliders escape; never on a torus.
    pentomino = os.path.join(folder, "pentomino.rle")
    with open(pentomino, "w") as file:
        file.write(PATTERN)
    result = run_without_display(program, "--census", pentomino, paths["diehard.rle"])
    lines = result.stdout.splitlines()
    if (result.returncode != 0 or lines[0] != f"{pentomino}: lifespan 1103, 116 cells, period 2"
            or "  6 gliders (escaping)" not in lines or lines[-1] != f"{paths['diehard.rle']}: dies out, lifespan 130"):
        raise Failure(f"--census gave code {result.returncode} and {result.stdout!r}")
    result = run_without_display(program, "--census", "--universe", "torus:10x10", pentomino)
    if result.returncode != 2 or len(result.stderr.splitlines()) != 1:
        raise Failure(f"--census on a torus gave code {result.returncode} and {result.stderr!r}")


def check_universes(program, folder):
    """A rule's suffix and --universe choose the universe; a file too large for the field opens unbounded."""
    glider = os.path.join(folder, "glider.rle")
    with open(glider, "w") as file:
        file.write("x = 3, y = 3\nbo$2bo$3o!\n")
    for arguments, expected in (
            (["--rule", "B3/S23:T10,10"], "period 40 since generation 1, 5 cells"),
            (["--universe", "unbounded"], "moves (1, 1) every 4 generations since generation 1, 5 cells"),
            ([], "still since generation 240, 4 cells")):
        result = run_without_display(program, *arguments, "--settle", glider)
        if result.returncode != 0 or result.stdout != f"{glider}: {expected}\n":
            raise Failure(f"{arguments} --settle gave code {result.returncode} and {result.stdout!r}")
    result = run_without_display(program, "--universe", "plane:10x10", "--rule", "B3/S23:T10,10", glider)
    if result.returncode != 2 or len(result.stderr.splitlines()) != 1:
        raise Failure(f"--universe disagreeing with the rule gave code {result.returncode} and {result.stderr!r}")
    # A 200-cell row of blinkers is no classic pattern: a jump far ahead keeps it, as macrocell and gzip.
    row = os.path.join(folder, "row.rle")
    with open(row, "w") as file:
        file.write("x = 199, y = 1\n" + "3o2b" * 39 + "3o!\n")
    written = os.path.join(folder, "row.mc.gz")
    result = run_without_display(program, "--generations", "1000000000001", row, "--output", written)
    again = run_without_display(program, "--settle", written)
    # Written at generation 1 + 1000000000001, the file opens there again.
    settled = f"{written}: period 2 since generation 1000000000002, 120 cells\n"
    if result.returncode != 0 or again.stdout != settled:
        raise Failure(f"--generations to .mc.gz gave {result.returncode}, {result.stderr!r}, then {again.stdout!r}")
    big = os.path.join(folder, "big.png")
    result = run_without_display(program, "--export", big, "--universe", "torus:9000x10", "--scale", "2", glider)
    if result.returncode != 1 or "16384 pixels" not in result.stderr:
        raise Failure(f"an export too large gave code {result.returncode} and {result.stderr!r}")
    # Without a scale asked for, or with a size to fit, it is drawn zoomed out instead.
    for arguments, size in ((["--universe", "torus:9000x10"], (9000, 10)), (["--fit", "2x2"], (2, 2))):
        result = run_without_display(program, "--export", big, *arguments, glider)
        with open(big, "rb") as file:
            written = struct.unpack(">II", file.read(24)[16:24]) if result.returncode == 0 else None
        if written != size:
            raise Failure(f"--export {arguments} gave code {result.returncode}, {result.stderr!r}, {written}")


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
            check_answers(program, scratch)
            print("--settle, --census, --generations and --rule: PASS")
            check_universes(program, scratch)
            print("universes: PASS")
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
