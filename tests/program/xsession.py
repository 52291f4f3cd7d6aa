"""Drives the built program from outside, the way a person at the screen would.

Everything goes through the X server: windows are found by their titles,
input comes from xdotool and what the program shows is read back from
screenshots (ImageMagick's import). Nothing here knows the program's code;
the coordinates are those of the window's fixed layout.
"""

import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

MAIN_TITLE = "Conway's Game of Life"
EDITOR_TITLE = "Field editor"

FIELD_SIZE = 120
VIEW_SIZE = 730
CELL_PIXELS = 6
CELL_OFFSET = 4

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
OUTLINE = (50, 50, 50)
FILLS = {
    (240, 120, 120): "red",
    (50, 200, 50): "green",
    (100, 150, 250): "blue",
}

# Panel coordinates (the fixed 950 x 750 panel below the menu bar) of the
# centres of the push buttons, in the order of their boxes.
BUTTONS = {
    "Play": (785, 55),
    "Pause": (845, 55),
    "Stop": (905, 55),
    "Next": (785, 115),
    "Clear": (785, 205),
    "Random": (845, 205),
    "Edit": (905, 205),
    "Save state": (785, 265),
}
IDLE_BUTTONS = {name: name != "Pause" for name in BUTTONS}
RUNNING_BUTTONS = {name: name in ("Pause", "Stop") for name in BUTTONS}
COLOUR_BOX = (892, 385)
INFO_BOX = (750, 570, 190, 170)
# Window coordinates between the Options and Info boxes, where nothing shows a tool tip.
RESTING_PLACE = (845, 545)

COMMAND_TIMEOUT = 15


class Failure(Exception):
    """A check that a person looking at the screen would have seen fail."""


def start_session(screen="1280x1024x24"):
    """Restarts the calling script inside its own virtual X server when there is no display.

    Output is line-buffered so that it interleaves with the program's own
    messages in the order they happened. The server must not reset when its
    last client leaves: it would refuse the next program started right then.
    """
    sys.stdout.reconfigure(line_buffering=True)
    if not os.environ.get("DISPLAY"):
        os.execvp(
            "xvfb-run",
            ["xvfb-run", "-a", "-s", f"-screen 0 {screen} -noreset", sys.executable, *sys.argv],
        )


def _run(*args):
    try:
        result = subprocess.run(
            args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=COMMAND_TIMEOUT
        )
    except subprocess.TimeoutExpired:
        raise Failure(f"{args[0]} did not finish within {COMMAND_TIMEOUT} s: {' '.join(args)}")
    return result


def _xdotool(*args):
    result = _run("xdotool", *args)
    if result.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.decode(errors='replace')}")
    return result.stdout.decode()


def wait_until(description, probe, timeout, interval=0.05):
    """Calls probe until it returns something other than None and returns that.

    Polling instead of sleeping keeps the test fast on an idle machine and
    patient on a loaded one.
    """
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value is not None:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"gave up after {timeout} s waiting for {description}")
        time.sleep(interval)


class Picture:
    """An RGB screenshot, 8 bits per channel, rows top to bottom."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb

    @classmethod
    def from_ppm(cls, data):
        fields = []
        position = 0
        while len(fields) < 4:
            while data[position : position + 1].isspace():
                position += 1
            if data[position : position + 1] == b"#":
                position = data.index(b"\n", position)
                continue
            end = position
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        magic, width, height, maximum = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
        if magic != b"P6" or maximum != 255:
            raise Failure(f"unexpected screenshot format {magic!r} with maximum {maximum}")
        rgb = data[position + 1 : position + 1 + width * height * 3]
        if len(rgb) != width * height * 3:
            raise Failure("truncated screenshot")
        return cls(width, height, rgb)

    def pixel(self, x, y):
        index = (y * self.width + x) * 3
        return tuple(self.rgb[index : index + 3])

    def region(self, x, y, width, height):
        """The bytes of a rectangle, for telling whether an area changed."""
        stride = self.width * 3
        return b"".join(
            self.rgb[row * stride + x * 3 : row * stride + (x + width) * 3]
            for row in range(y, y + height)
        )

    def save_png(self, path):
        stride = self.width * 3
        raw = b"".join(
            b"\x00" + self.rgb[row * stride : (row + 1) * stride] for row in range(self.height)
        )

        def chunk(kind, body):
            return (
                struct.pack(">I", len(body))
                + kind
                + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
            )

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as file:
            file.write(b"\x89PNG\r\n\x1a\n")
            file.write(chunk(b"IHDR", header))
            file.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            file.write(chunk(b"IEND", b""))


def capture(window):
    # import reads the screen's contents, so a popup over the window shows too,
    # just as a person would see it.
    result = _run("import", "-silent", "-window", window, "-depth", "8", "ppm:-")
    if result.returncode != 0:
        raise Failure(f"no screenshot of window {window}: {result.stderr.decode(errors='replace')}")
    return Picture.from_ppm(result.stdout)


def click(window, x, y, rest=RESTING_PLACE):
    """Clicks at window coordinates, then moves the pointer where it shows no tool tip."""
    args = ["mousemove", "--window", window, str(x), str(y), "click", "1"]
    if rest is not None:
        args += ["mousemove", "--window", window, str(rest[0]), str(rest[1])]
    _xdotool(*args)


def drag(window, points, reached):
    """Holds the left button down from the first of the window points over the others.

    reached(point) is called after each move and waits until the program shows
    it: moves sent together may reach the program merged into one.
    """
    first, *others = points
    _xdotool("mousemove", "--window", window, str(first[0]), str(first[1]), "mousedown", "1")
    try:
        for point in others:
            _xdotool("mousemove", "--window", window, str(point[0]), str(point[1]))
            reached(point)
    finally:
        _xdotool("mouseup", "1")


def press(*keys):
    _xdotool("key", *keys)


def visible_windows():
    return set(_xdotool("search", "--onlyvisible", "--name", "").split())


def geometry(window):
    """Absolute x, y, width and height of a window."""
    values = {}
    for line in _xdotool("getwindowgeometry", "--shell", window).split():
        name, _, value = line.partition("=")
        values[name] = int(value)
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def wait_for_popup(known, timeout):
    """The geometry of a window that has appeared since the set known was taken."""

    def probe():
        new = visible_windows() - known
        return geometry(sorted(new)[0]) if new else None

    return wait_until("a popup to open", probe, timeout)


def _title_pattern(title):
    return "^" + "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in title) + "$"


class Program:
    """The program under test, started as a child process and never left behind."""

    def __init__(self, executable, args=(), environment=None):
        """environment: variables to set for the program on top of this script's own."""
        self.config = tempfile.TemporaryDirectory(prefix="gameoflife-config-")
        environment = {"XDG_CONFIG_HOME": self.config.name, **(environment or {})}
        self.process = subprocess.Popen([executable, *args], env={**os.environ, **environment})

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.kill()
        self.config.cleanup()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=COMMAND_TIMEOUT)

    def window(self, title, timeout, named=False):
        """The id of this program's visible top-level window with exactly this title; if named, after any
        pattern's name and a dash, as the main window shows an opened pattern's name."""

        def probe():
            if self.process.poll() is not None:
                raise Failure(f"the program ended with code {self.process.returncode}")
            result = _run(
                "xdotool", "search", "--all", "--onlyvisible",
                "--pid", str(self.process.pid), "--name",
                ("^(.* – )?" + _title_pattern(title)[1:]) if named else _title_pattern(title),
            )
            ids = result.stdout.split()
            return ids[0].decode() if ids else None

        return wait_until(f'a window titled "{title}"', probe, timeout)

    def loaded_libraries(self):
        """File names of the shared objects mapped into the running program."""
        with open(f"/proc/{self.process.pid}/maps") as maps:
            return {os.path.basename(line.split()[-1]) for line in maps if "/" in line}

    def wait_until_closed(self, window, timeout):
        wait_until(
            f"window {window} to close",
            lambda: True if window not in visible_windows() else None,
            timeout,
        )

    def exit_code(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program was still running {timeout} s after Exit")


class Field:
    """The cells a picture of the field view shows: the live ones and their colours."""

    def __init__(self, live, colours):
        self.live = live
        self.colours = colours

    def __eq__(self, other):
        return self.live == other.live and self.colours == other.colours

    def __repr__(self):
        return f"<{len(self.live)} live cells in {'/'.join(sorted(self.colours)) or 'no colour'}>"


class MainWindow:
    """What a user sees of, and does with, the main window.

    The menu bar's height depends on the font, so the position of everything
    below it comes from the view's black frame found in the first screenshot.

    scale is the number of device pixels per window pixel on a scaled screen
    (QT_SCALE_FACTOR): the layout's positions are multiplied by it, while
    screenshots, popups and the panel's found origin are in device pixels.
    """

    def __init__(self, program, timeout, scale=1):
        self.program = program
        self.scale = scale
        self.id = program.window(MAIN_TITLE, timeout, named=True)
        self.panel = wait_until("the field view to be drawn", self._locate_panel, timeout)

    def _scaled(self, point):
        return tuple(self.scale * value for value in point)

    def _click(self, x, y):
        click(self.id, x, y, rest=self._scaled(RESTING_PLACE))

    def _locate_panel(self):
        picture = capture(self.id)
        size = self.view_size()
        probe_x = 300 * self.scale
        # The frame is scale pixels thick: found by its last black row above the white inside.
        for y in range(self.scale - 1, min(200 * self.scale, picture.height - size)):
            if picture.pixel(probe_x, y) == BLACK and picture.pixel(probe_x, y + 1) == WHITE:
                top = y - (self.scale - 1)
                break
        else:
            return None
        left = next(
            (x for x in range(probe_x) if picture.pixel(x, top + 2 * self.scale) == BLACK), None
        )
        if left is None:
            return None
        last = size - 1
        black_row = bytes(BLACK) * size
        if picture.region(left, top, size, 1) != black_row:
            return None
        if picture.region(left, top + last, size, 1) != black_row:
            return None
        for y in range(top, top + size):
            if picture.pixel(left, y) != BLACK or picture.pixel(left + last, y) != BLACK:
                return None
        return left - 10 * self.scale, top - 10 * self.scale

    def view_size(self):
        """The view's width and height in device pixels."""
        return VIEW_SIZE * self.scale

    def at(self, panel_point):
        x, y = self._scaled(panel_point)
        return self.panel[0] + x, self.panel[1] + y

    def press_button(self, name):
        self._click(*self.at(BUTTONS[name]))

    def buttons(self, picture):
        """Which push buttons look enabled, or None while one of them looks neither way.

        The buttons show only icons; a disabled one is drawn in shades of grey.
        """
        states = {}
        reach = 10 * self.scale
        for name, centre in BUTTONS.items():
            x, y = self.at(centre)
            colourful = 0
            for py in range(y - reach, y + reach):
                for px in range(x - reach, x + reach):
                    red, green, blue = picture.pixel(px, py)
                    colourful += max(red, green, blue) - min(red, green, blue) > 60
            if colourful == 0:
                states[name] = False
            elif colourful >= 40 * self.scale * self.scale:
                states[name] = True
            else:
                return None
        return states

    def menu_height(self):
        return self.panel[1]

    def capture(self):
        return capture(self.id)

    def view_origin(self):
        return self.at((10, 10))

    def cell_origin(self, cell):
        """The device pixel at the top left of a cell's outline."""
        row, column = cell
        left, top = self.view_origin()
        return (
            left + self.scale * (CELL_OFFSET + CELL_PIXELS * (column - 1)),
            top + self.scale * (CELL_OFFSET + CELL_PIXELS * (row - 1)),
        )

    def cell_centre(self, cell):
        x, y = self.cell_origin(cell)
        middle = self.scale * CELL_PIXELS // 2
        return x + middle, y + middle

    def field(self, picture):
        """The decoded field, or None while the picture shows anything but whole cells."""
        live = set()
        colours = set()
        middle = self.scale * CELL_PIXELS // 2
        for row in range(1, FIELD_SIZE + 1):
            for column in range(1, FIELD_SIZE + 1):
                x, y = self.cell_origin((row, column))
                fill = picture.pixel(x + middle, y + middle)
                if fill == WHITE:
                    continue
                if fill not in FILLS or picture.pixel(x, y) != OUTLINE:
                    return None
                live.add((row, column))
                colours.add(FILLS[fill])
        return Field(frozenset(live), colours)

    def view_is_empty(self, picture):
        """True when the view shows its frame and nothing but white inside it."""
        left, top = self.view_origin()
        inner = self.view_size() - 2 * self.scale
        return (
            picture.region(left + self.scale, top + self.scale, inner, inner)
            == bytes(WHITE) * inner * inner
        )

    def info(self, picture):
        x, y, width, height = INFO_BOX
        return picture.region(*self.at((x, y)), *self._scaled((width, height)))

    def choose_colour_with_keys(self, keys, timeout):
        known = visible_windows()
        self._click(*self.at(COLOUR_BOX))
        wait_for_popup(known, timeout)
        press(*keys, "Return")
        wait_until("the colour list to close", lambda: True if visible_windows() == known else None, timeout)

    def choose_colour_with_pointer(self, index, timeout):
        """Clicks entry index (0 red, 1 green, 2 blue) of the opened list."""
        known = visible_windows()
        self._click(*self.at(COLOUR_BOX))
        x, y, width, height = wait_for_popup(known, timeout)
        window_x, window_y, _, _ = geometry(self.id)
        self._click(
            x - window_x + width // 2,
            y - window_y + height * (2 * index + 1) // 6,
        )
        wait_until("the colour list to close", lambda: True if visible_windows() == known else None, timeout)

    def exit_through_menu(self, timeout):
        known = visible_windows()
        click(self.id, 18 * self.scale, self.menu_height() // 2, rest=None)
        x, y, width, height = wait_for_popup(known, timeout)
        window_x, window_y, _, _ = geometry(self.id)
        # Exit is the last entry of File: a little above the popup's bottom edge.
        click(self.id, x - window_x + width // 2, y - window_y + height - 10 * self.scale, rest=None)
        return self.program.exit_code(timeout)


def next_generation(live):
    """One step of the rule on a 120 x 120 field whose surroundings stay dead."""
    neighbours = {}
    for row, column in live:
        for dr in (-1, 0, 1):
            for dc in (-1, 0, 1):
                if dr or dc:
                    cell = (row + dr, column + dc)
                    neighbours[cell] = neighbours.get(cell, 0) + 1
    return frozenset(
        (row, column)
        for (row, column), count in neighbours.items()
        if 1 <= row <= FIELD_SIZE
        and 1 <= column <= FIELD_SIZE
        and (count == 3 or (count == 2 and (row, column) in live))
    )


def generations_between(earlier, later, limit):
    """How many steps lead from earlier to later (1 to limit), or None."""
    current = earlier
    for steps in range(1, limit + 1):
        current = next_generation(current)
        if current == later:
            return steps
    return None


class Screenshots:
    """Keeps a screenshot of every step, so a failure can be looked at."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            if name.endswith(".png"):
                os.remove(os.path.join(folder, name))
        self.saved = []

    def keep(self, name, picture):
        path = os.path.join(self.folder, f"{len(self.saved) + 1:02d}-{name}.png")
        picture.save_png(path)
        self.saved.append(path)
        return path

    def report_failure(self, name="failure"):
        """Keeps the whole screen, dialogs and popups included, also as failure.png.

        Then lists every screenshot taken, for the one looking into the failure.
        """
        try:
            picture = capture("root")
            self.keep(name, picture)
            picture.save_png(os.path.join(self.folder, "failure.png"))
        except Failure as failure:
            print(f"no screenshot of the failure: {failure}")
        print("screenshots:")
        for path in self.saved:
            print(f"  {path}")
