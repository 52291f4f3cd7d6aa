#!/usr/bin/env python3
"""Benchmarks of the whole gameoflife program, running under a virtual X server.

The unit benchmarks time single classes; these time what a person gets from the
built program: whether it really computes 30 generations a second at top speed
and at what CPU cost, how long it takes to show its window compared with an
empty Qt main window, and whether it keeps its memory and its pace over a long
run. The program offers no counter to read, so generations are counted from the
outside: the field is read off the screen before Play and after Pause, and the
first field is stepped here until it equals the second.

Without a window manager the empty window appears at the screen's origin, where
its start-up probe looks; the program centres its own window, which the probes
find by its title.

Usage (build first, see README.md):
    bench/program/programbench.py                      # speed and start-up
    bench/program/programbench.py --soak               # the 10-minute soak
    bench/program/programbench.py --soak-minutes 2     # a shorter soak
"""

import argparse
import collections
import contextlib
import ctypes
import ctypes.util
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TITLE = "^Conway's Game of Life$"
SCREEN_SIZE = (1280, 1024)

SIZE = 120  # cells per side
STRIDE = SIZE + 2  # the packed field keeps a dead column on each side
VIEW_SIZE = 730  # pixels per side of the field view
VIEW_IN_PANEL = (10, 10)
CELL_PITCH = 6  # pixels from one cell to the next
CELL_PROBE = 4 + 3  # view pixel inside the fill of cell (1, 1), on both axes

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
LIVE = (50, 200, 50)  # the fill of live cells in the start colour

BUTTON_SIZE = 50  # pixels per side
# Top-left corners in the window's panel, in pixels.
BUTTONS = {"Play": (760, 30), "Pause": (820, 30), "Random": (820, 180)}
SPEED_TEXT = (750 + 125 + 12, 310 + 23 + 12)  # inside the spin box's text, clear of its arrows
TOP_SPEED = 30
TICK = 0.033  # seconds between generations at top speed: 1000 / 30 ms in whole milliseconds

WINDOW_SECONDS = 10.0
TARGET_RATE = 29.5  # generations per second
TARGET_CPU = 0.03  # CPU seconds per wall second
TARGET_STARTUP_RATIO = 0.8
TARGET_RSS_MIB = 40  # resident memory once the window shows
SETTLE_SECONDS = 0.5  # after the first paint, before memory is read
TARGET_RSS_GROWTH_KIB = 1024


# --- The rule, on fields packed into one integer ------------------------------


def pack(cells):
    """The field with the given (row, column) cells alive, rows and columns 1..120."""
    bits = bytearray(b"0" * (STRIDE * STRIDE))
    for row, column in cells:
        bits[row * STRIDE + column] = ord("1")
    return int(bits[::-1].decode(), 2)


INTERIOR = pack((row, column) for row in range(1, SIZE + 1) for column in range(1, SIZE + 1))


def step(field):
    """One generation: birth on 3 neighbours, survival on 2 or 3, dead beyond the edge."""
    ones = twos = fours = 0  # bit-sliced neighbour count, modulo 8
    for shift in (1, STRIDE - 1, STRIDE, STRIDE + 1):
        for neighbours in (field << shift, field >> shift):
            carry = ones & neighbours
            ones ^= neighbours
            fours ^= twos & carry
            twos ^= carry
    # Eight neighbours count as 0 here, which is neither 2 nor 3 either.
    return twos & ~fours & (ones | field) & INTERIOR


def reached_generation(start, target, most):
    """The one number of steps, at most `most`, that turns `start` into `target`.

    Raises ValueError when no number or several numbers do: then the two fields
    do not tell how many generations were computed.
    """
    matches = []
    field = start
    for generation in range(most + 1):
        if field == target:
            matches.append(generation)
        field = step(field)
    if len(matches) != 1:
        raise ValueError(f"{len(matches)} generations up to {most} give the field read after Pause")
    return matches[0]


def decode_view(data, bytes_per_line):
    """The field shown in a grab of the view, in 32-bit BGRX pixels from its top-left corner."""
    cells = []
    for row in range(SIZE):
        for column in range(SIZE):
            offset = (CELL_PROBE + row * CELL_PITCH) * bytes_per_line + (CELL_PROBE + column * CELL_PITCH) * 4
            colour = (data[offset + 2], data[offset + 1], data[offset])
            if colour == LIVE:
                cells.append((row + 1, column + 1))
            elif colour != WHITE:
                raise ValueError(f"cell ({row + 1}, {column + 1}) shows {colour}, neither live nor dead")
    return pack(cells)


# --- The X server ---------------------------------------------------------------


class _XImage(ctypes.Structure):
    # The leading members of Xlib's XImage, as far as they are read here.
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
    ]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Grab:
    """A rectangle of screen pixels, 32-bit BGRX."""

    def __init__(self, data, bytes_per_line):
        self.data = data
        self.bytes_per_line = bytes_per_line

    def rgb(self, x, y):
        offset = y * self.bytes_per_line + x * 4
        return (self.data[offset + 2], self.data[offset + 1], self.data[offset])


class Screen:
    """The virtual screen, read and driven straight through Xlib and XTest.

    xwd or import take a tenth of a second per picture, too slow to catch a
    window's first paint, and an xdotool click takes as long, too vague to time
    a run of 30 generations a second.
    """

    _Z_PIXMAP = 2
    _ALL_PLANES = ctypes.c_ulong(-1)

    def __init__(self, display_name):
        xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        xlib.XGetImage.restype = ctypes.POINTER(_XImage)
        xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                   ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        xlib.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        xlib.XStringToKeysym.restype = ctypes.c_ulong
        xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
        xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        xtest = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        xtest.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                               ctypes.c_ulong]
        xtest.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        # Xlib's own handler ends the process at once, which would leave Xvfb and
        # the program running; with this one a failed grab returns no image.
        self._error_handler = _ERROR_HANDLER(lambda display, event: 0)
        xlib.XSetErrorHandler.restype = ctypes.c_void_p
        xlib.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
        xlib.XSetErrorHandler(self._error_handler)
        self._xlib = xlib
        self._xtest = xtest
        self._display = xlib.XOpenDisplay(display_name.encode())
        if not self._display:
            raise RuntimeError(f"cannot open the X display {display_name}")
        self._root = xlib.XDefaultRootWindow(self._display)

    def close(self):
        self._xlib.XCloseDisplay(self._display)

    def move_pointer(self, x, y):
        self._xtest.XTestFakeMotionEvent(self._display, 0, x, y, 0)
        self._xlib.XSync(self._display, 0)

    def press_button(self):
        self._xtest.XTestFakeButtonEvent(self._display, 1, 1, 0)
        self._xlib.XSync(self._display, 0)

    def release_button(self):
        self._xtest.XTestFakeButtonEvent(self._display, 1, 0, 0)
        self._xlib.XSync(self._display, 0)

    def tap_key(self, name):
        keycode = self._xlib.XKeysymToKeycode(self._display, self._xlib.XStringToKeysym(name.encode()))
        self._xtest.XTestFakeKeyEvent(self._display, keycode, 1, 0)
        self._xtest.XTestFakeKeyEvent(self._display, keycode, 0, 0)
        self._xlib.XSync(self._display, 0)

    def grab(self, x, y, width, height):
        """Pixels of the screen rectangle, which must lie on the screen."""
        image = self._xlib.XGetImage(self._display, self._root, x, y, width, height, self._ALL_PLANES,
                                     self._Z_PIXMAP)
        if not image:
            raise RuntimeError(f"cannot read the screen rectangle at ({x}, {y}), {width} x {height}")
        try:
            fields = image.contents
            if fields.bits_per_pixel != 32 or fields.byte_order != 0 or fields.red_mask != 0xFF0000:
                raise RuntimeError("the virtual display does not use 32-bit BGRX pixels")
            return Grab(ctypes.string_at(fields.data, fields.bytes_per_line * height), fields.bytes_per_line)
        finally:
            self._xlib.XDestroyImage(image)


@contextlib.contextmanager
def virtual_display():
    """A private Xvfb with a black root window; yields its display name."""
    read_end, write_end = os.pipe()
    width, height = SCREEN_SIZE
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
                             "-nolisten", "tcp", "-br"], pass_fds=[write_end], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as announcement:
            number = announcement.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        yield ":" + number
    finally:
        xvfb.terminate()
        xvfb.wait()


def poll(probe, timeout, interval=0.02):
    """The first true result of probe(), tried until `timeout` seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise RuntimeError(f"gave up waiting for {probe.__name__} after {timeout} s")
        time.sleep(interval)


def find_view(screen, window_x, window_y):
    """Top-left corner of the field view once it shows its white area and black frame, else None."""
    left = window_x + VIEW_IN_PANEL[0]
    column = screen.grab(left + 1, window_y, 1, 120)
    top = next((y for y in range(119) if column.rgb(0, y) == BLACK and column.rgb(0, y + 1) == WHITE), None)
    if top is None:
        return None
    top += window_y
    last = VIEW_SIZE - 1
    across = screen.grab(left, top + 1, VIEW_SIZE, 1)
    down = screen.grab(left + 1, top, 1, VIEW_SIZE)
    framed = (across.rgb(0, 0) == BLACK and across.rgb(1, 0) == WHITE and across.rgb(last, 0) == BLACK
              and down.rgb(0, last - 1) == WHITE and down.rgb(0, last) == BLACK)
    return (left, top) if framed else None


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True, timeout=20).stdout


def window_origin(wait):
    """Top-left corner of the program's visible window; None if there is none yet and not `wait`.

    The program centres its window on the screen, so the probes cannot assume the origin.
    """
    found = subprocess.run(["xdotool", "search", *(["--sync"] if wait else []), "--onlyvisible", "--name", TITLE],
                           capture_output=True, text=True, timeout=20).stdout.split()
    if not found:
        return None
    geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", found[0]).split())
    return int(geometry["X"]), int(geometry["Y"])


# --- One running program ------------------------------------------------------


class Session:
    """The program running on the virtual display, driven through the pointer and keyboard."""

    def __init__(self, program, environment, screen):
        self.screen = screen
        self.process = subprocess.Popen([program], env=environment, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL)
        try:
            x, y = window_origin(wait=True)

            def view_shown():
                return find_view(screen, x, y)

            self.view = poll(view_shown, timeout=10)
        except BaseException:
            self.close()
            raise

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def _click_at(self, x, y):
        """Clicks at the panel point; returns the moment of the release and its uncertainty, in seconds."""
        view_x, view_y = self.view
        self.screen.move_pointer(view_x - VIEW_IN_PANEL[0] + x, view_y - VIEW_IN_PANEL[1] + y)
        self.screen.press_button()
        time.sleep(0.05)
        before = time.monotonic()
        self.screen.release_button()  # the buttons act on release
        after = time.monotonic()
        return (before + after) / 2, (after - before) / 2

    def press(self, button):
        x, y = BUTTONS[button]
        return self._click_at(x + BUTTON_SIZE // 2, y + BUTTON_SIZE // 2)

    def set_top_speed(self):
        self._click_at(*SPEED_TEXT)
        # The spin box stops at its maximum, so a few Ups too many do no harm.
        for _ in range(TOP_SPEED - 20 + 2):
            self.screen.tap_key("Up")
            time.sleep(0.02)

    def field(self):
        grab = self.screen.grab(*self.view, VIEW_SIZE, VIEW_SIZE)
        return decode_view(grab.data, grab.bytes_per_line)

    def steady_field(self, unlike=None):
        """The field once the view shows the same one twice in a row (and, if given, not `unlike`)."""

        def settled_field():
            with contextlib.suppress(ValueError):
                first = self.field()
                time.sleep(0.1)
                if first == self.field() and first != unlike:
                    return (first,)  # the empty field is 0, which poll() would take for "not yet"
            return None

        return poll(settled_field, timeout=10)[0]

    def cpu_seconds(self):
        with open(f"/proc/{self.process.pid}/stat") as stat:
            fields = stat.read().rpartition(")")[2].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def rss_kib(self):
        return rss_kib(self.process.pid)


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


class Window:
    """One timed stretch of play at top speed."""

    def __init__(self, generations, seconds, uncertainty, cpu_seconds):
        self.generations = generations
        self.seconds = seconds
        self.uncertainty = uncertainty  # seconds, from the time the clicks take
        self.cpu_per_second = cpu_seconds / seconds

    @property
    def rate(self):
        return self.generations / self.seconds

    def __str__(self):
        return (f"{self.generations} generations in {self.seconds:.3f} s (±{self.uncertainty * 1000:.1f} ms): "
                f"{self.rate:.2f} per second, CPU {self.cpu_per_second:.3f} s per second")


def measure_window(session, seconds=WINDOW_SECONDS, attempts=3):
    """Plays a fresh random field for `seconds` and counts the generations computed.

    The program must be idle. A soup that has fallen into a cycle leaves the count
    ambiguous; then it is tried again with another one.
    """
    for attempt in range(attempts):
        before = session.steady_field()
        session.press("Random")
        start = session.steady_field(unlike=before)
        cpu_before = session.cpu_seconds()
        played, played_error = session.press("Play")
        time.sleep(seconds)
        paused, paused_error = session.press("Pause")
        cpu_spent = session.cpu_seconds() - cpu_before
        end = session.steady_field()
        elapsed = paused - played
        try:
            # A few more than the timer can tick in that time, so that a
            # second match within reach cannot go unnoticed.
            generations = reached_generation(start, end, int(elapsed / TICK) + 5)
        except ValueError:
            if attempt == attempts - 1:
                raise
            continue
        return Window(generations, elapsed, played_error + paused_error, cpu_spent)


# --- The benchmarks -------------------------------------------------------------


# One line of the results table; passed is None for a figure without a target.
Result = collections.namedtuple("Result", "name value target passed")


def benchmark_speed(program, environment, screen, windows):
    with Session(program, environment, screen) as session:
        session.set_top_speed()
        measured = []
        for number in range(1, windows + 1):
            measured.append(measure_window(session))
            print(f"  window {number}: {measured[-1]}", flush=True)
    slowest = min(window.rate for window in measured)
    busiest = max(window.cpu_per_second for window in measured)
    return [
        Result(f"generations per second at speed 30 (lowest of {windows})", f"{slowest:.2f}",
               f">= {TARGET_RATE}", slowest >= TARGET_RATE),
        Result(f"CPU seconds per second while playing (highest of {windows})", f"{busiest:.3f}",
               f"<= {TARGET_CPU}", busiest <= TARGET_CPU),
    ]


def time_to_first_paint(command, environment, painted):
    """Seconds from starting `command` until painted() is true, and its VmRSS in KiB a moment later."""
    start = time.monotonic()
    process = subprocess.Popen([command], env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    try:
        while not painted():
            if time.monotonic() - start > 20:
                raise RuntimeError(f"{command} showed nothing within 20 s")
            time.sleep(0.001)
        seconds = time.monotonic() - start
        time.sleep(SETTLE_SECONDS)
        return seconds, rss_kib(process.pid)
    finally:
        process.terminate()
        process.wait()


def benchmark_startup(program, minimal, environment, screen, runs):
    origin = None

    def program_painted():
        # The window is looked for once per start; it shows where it was placed.
        nonlocal origin
        if origin is None:
            try:
                origin = window_origin(wait=False)
            except subprocess.CalledProcessError:  # closed between the search and the question
                return False
        return origin is not None and find_view(screen, *origin) is not None

    def minimal_painted():
        # Inside the empty window, which is at least 100 pixels on each side.
        return screen.grab(50, 50, 1, 1).rgb(0, 0) != BLACK

    def screen_cleared():
        return not program_painted() and not minimal_painted()

    times = {program: [], minimal: []}
    memory = {program: [], minimal: []}
    for run in range(runs):
        for command, painted in ((program, program_painted), (minimal, minimal_painted)):
            origin = None
            poll(screen_cleared, timeout=10, interval=0.01)
            origin = None
            seconds, kib = time_to_first_paint(command, environment, painted)
            times[command].append(seconds)
            memory[command].append(kib)
        print(f"  run {run + 1}: program {times[program][-1] * 1000:.0f} ms, {memory[program][-1] / 1024:.1f} MiB; "
              f"empty window {times[minimal][-1] * 1000:.0f} ms, {memory[minimal][-1] / 1024:.1f} MiB", flush=True)
    program_median = statistics.median(times[program])
    minimal_median = statistics.median(times[minimal])
    ratio = program_median / minimal_median
    program_mib = statistics.median(memory[program]) / 1024
    minimal_mib = statistics.median(memory[minimal]) / 1024
    return [
        Result(f"start-up to first paint (median of {runs})", f"{program_median * 1000:.0f} ms", "", None),
        Result(f"empty QMainWindow to first paint (median of {runs})", f"{minimal_median * 1000:.0f} ms", "",
               None),
        Result("start-up, program / empty window", f"{ratio:.2f}", f"<= {TARGET_STARTUP_RATIO}",
               ratio <= TARGET_STARTUP_RATIO),
        Result(f"VmRSS after the window shows (median of {runs})", f"{program_mib:.1f} MiB",
               f"<= {TARGET_RSS_MIB} MiB", program_mib <= TARGET_RSS_MIB),
        Result(f"empty QMainWindow's VmRSS (median of {runs})", f"{minimal_mib:.1f} MiB", "", None),
    ]


def benchmark_soak(program, environment, screen, minutes):
    """Plays at top speed for `minutes`, a fresh random field each minute so the field keeps changing."""
    with Session(program, environment, screen) as session:
        session.set_top_speed()
        session.press("Random")
        start, _ = session.press("Play")
        samples = []
        for minute in range(1, minutes + 1):
            time.sleep(max(0.0, start + 60 * minute - time.monotonic()))
            samples.append(session.rss_kib())
            print(f"  minute {minute}: VmRSS {samples[-1]} KiB", flush=True)
            session.press("Pause")
            if minute < minutes:
                session.press("Random")
                session.press("Play")
        final = measure_window(session)
        print(f"  final window: {final}", flush=True)
    growth = samples[-1] - samples[0]
    return [
        Result(f"VmRSS after {minutes} min minus after 1 min", f"{growth:+d} KiB",
               f"within {TARGET_RSS_GROWTH_KIB} KiB", abs(growth) <= TARGET_RSS_GROWTH_KIB),
        Result(f"generations per second after {minutes} min", f"{final.rate:.2f}", f">= {TARGET_RATE}",
               final.rate >= TARGET_RATE),
    ]


def print_table(results):
    rows = [("measure", "value", "target", "result")]
    rows += [(r.name, r.value, r.target, {True: "PASS", False: "MISS", None: ""}[r.passed]) for r in results]
    widths = [max(len(row[i]) for row in rows) for i in range(4)]
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build-dir", type=Path, default=Path(__file__).resolve().parents[2] / "build",
                        help="a Release build folder with the benchmarks built (default: build/)")
    parser.add_argument("--speed", action="store_true", help="generations and CPU per second at top speed")
    parser.add_argument("--startup", action="store_true", help="time to the window's first paint")
    parser.add_argument("--soak", action="store_true", help="a long run at top speed (10 minutes)")
    parser.add_argument("--soak-minutes", type=int, help="length of the soak; implies --soak")
    parser.add_argument("--windows", type=int, default=3, help="10-second windows of the speed benchmark")
    parser.add_argument("--runs", type=int, default=10, help="start-ups of each program")
    arguments = parser.parse_args()
    if arguments.soak_minutes is not None:
        if arguments.soak_minutes < 1:
            parser.error("--soak-minutes must be at least 1")
        arguments.soak = True
    elif arguments.soak:
        arguments.soak_minutes = 10
    if not (arguments.speed or arguments.startup or arguments.soak):
        arguments.speed = arguments.startup = True
    return arguments


def main():
    arguments = parse_arguments()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    program = arguments.build_dir / "app" / "gameoflife"
    minimal = arguments.build_dir / "bench" / "minimalwindow"
    needed = [program] + ([minimal] if arguments.startup else [])
    missing = [str(path) for path in needed if not os.access(path, os.X_OK)]
    missing += [tool for tool in ("Xvfb", "xdotool") if shutil.which(tool) is None]
    if missing:
        sys.exit(f"missing: {', '.join(missing)} (build with Google Benchmark installed; "
                 "tools/ensure-packages.sh xvfb xdotool)")

    # Other work on the machine slows the program down: the load tells whether it was quiet.
    print("load average before: {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()), flush=True)
    results = []
    with virtual_display() as display, tempfile.TemporaryDirectory() as runtime_dir:
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        # The program starts from its defaults and leaves the user's settings alone.
        environment.update(DISPLAY=display, XDG_RUNTIME_DIR=runtime_dir,
                           XDG_CONFIG_HOME=os.path.join(runtime_dir, "config"))
        os.environ["DISPLAY"] = display  # for xdotool
        screen = Screen(display)
        try:
            if arguments.speed:
                print("speed:", flush=True)
                results += benchmark_speed(str(program), environment, screen, arguments.windows)
            if arguments.startup:
                print("start-up:", flush=True)
                results += benchmark_startup(str(program), str(minimal), environment, screen, arguments.runs)
            if arguments.soak:
                print(f"soak, {arguments.soak_minutes} min:", flush=True)
                results += benchmark_soak(str(program), environment, screen, arguments.soak_minutes)
        finally:
            screen.close()
    print()
    print_table(results)
    return 0 if all(result.passed is not False for result in results) else 1


if __name__ == "__main__":
    sys.exit(main())
