#!/usr/bin/env python3
"""Checks of the parts of programbench.py that its figures rest on: a wrong rule,
a wrong match or a misread screen would give a wrong generation count without
any sign. Run: python3 bench/program/test_programbench.py"""

import random
import unittest

import programbench as bench


def run(field, generations):
    for _ in range(generations):
        field = bench.step(field)
    return field


def soup(seed):
    chance = random.Random(seed)
    return bench.pack((r, c) for r in range(1, 121) for c in range(1, 121) if chance.random() < 1 / 3)


class RuleTest(unittest.TestCase):
    def test_blinker_has_period_two(self):
        horizontal = bench.pack([(20, 10), (20, 11), (20, 12)])
        vertical = bench.pack([(19, 11), (20, 11), (21, 11)])
        self.assertEqual(bench.step(horizontal), vertical)
        self.assertEqual(bench.step(vertical), horizontal)

    def test_block_in_each_corner_stays(self):
        for top, left in ((1, 1), (1, 119), (119, 1), (119, 119)):
            with self.subTest(corner=(top, left)):
                block = bench.pack([(top, left), (top, left + 1), (top + 1, left), (top + 1, left + 1)])
                self.assertEqual(bench.step(block), block)

    def test_line_along_each_edge_dies_instead_of_oscillating(self):
        # A line of three on an edge leaves a pair, then nothing: nothing is born
        # beyond the edge, nor on the far side of the field or in the next row.
        cases = {
            "left": ([(10, 1), (11, 1), (12, 1)], [(11, 1), (11, 2)]),
            "right": ([(10, 120), (11, 120), (12, 120)], [(11, 119), (11, 120)]),
            "top": ([(1, 10), (1, 11), (1, 12)], [(1, 11), (2, 11)]),
            "bottom": ([(120, 10), (120, 11), (120, 12)], [(119, 11), (120, 11)]),
        }
        for edge, (line, pair) in cases.items():
            with self.subTest(edge=edge):
                self.assertEqual(bench.step(bench.pack(line)), bench.pack(pair))
                self.assertEqual(run(bench.pack(line), 2), 0)

    def test_glider_ends_as_block_in_corner(self):
        glider = bench.pack([(10, 10), (10, 11), (10, 12), (11, 10), (12, 11)])
        block = bench.pack([(1, 1), (1, 2), (2, 1), (2, 2)])
        self.assertNotEqual(run(glider, 38), block)
        self.assertEqual(run(glider, 39), block)
        self.assertEqual(run(glider, 139), block)


class MatchTest(unittest.TestCase):
    def test_finds_the_generations_between_two_fields_of_a_soup(self):
        start = soup(1)
        for generations in (0, 1, 2, 150):
            with self.subTest(generations=generations):
                self.assertEqual(bench.reached_generation(start, run(start, generations), 310), generations)

    def test_refuses_a_count_it_cannot_tell(self):
        blinker = bench.pack([(20, 10), (20, 11), (20, 12)])
        with self.assertRaisesRegex(ValueError, "^6 generations"):
            bench.reached_generation(blinker, blinker, 10)
        with self.assertRaisesRegex(ValueError, "^0 generations"):
            bench.reached_generation(soup(1), soup(2), 50)
        with self.assertRaisesRegex(ValueError, "^0 generations"):
            bench.reached_generation(soup(1), run(soup(1), 51), 50)


def render(cells, colour=bench.LIVE, bytes_per_line=bench.VIEW_SIZE * 4 + 8):
    """A grab of the view as the program paints it: white, a black frame, and per
    live cell a grey 7-pixel outline around a 5-pixel fill."""
    size = bench.VIEW_SIZE
    pixels = bytearray(b"\xff\xff\xff\x00" * (size * bytes_per_line // 4))

    def put(x, y, rgb):
        offset = y * bytes_per_line + x * 4
        pixels[offset:offset + 3] = bytes(reversed(rgb))

    for i in range(size):
        for x, y in ((i, 0), (i, size - 1), (0, i), (size - 1, i)):
            put(x, y, bench.BLACK)
    for row, column in cells:
        left, top = 4 + 6 * (column - 1), 4 + 6 * (row - 1)
        for dy in range(7):
            for dx in range(7):
                inside = 0 < dx < 6 and 0 < dy < 6
                put(left + dx, top + dy, colour if inside else (50, 50, 50))
    return bytes(pixels), bytes_per_line


class DecodeTest(unittest.TestCase):
    def test_reads_the_cells_back_from_the_picture(self):
        chance = random.Random(7)
        layouts = {
            "empty": [],
            "corners": [(1, 1), (1, 120), (120, 1), (120, 120)],
            "neighbours": [(60, 60), (60, 61), (61, 60), (61, 61), (62, 62)],
            "soup": [(r, c) for r in range(1, 121) for c in range(1, 121) if chance.random() < 0.3],
        }
        for name, cells in layouts.items():
            with self.subTest(layout=name):
                self.assertEqual(bench.decode_view(*render(cells)), bench.pack(cells))

    def test_refuses_a_picture_that_is_not_the_field(self):
        with self.assertRaisesRegex(ValueError, r"cell \(5, 9\)"):
            bench.decode_view(*render([(5, 9)], colour=(240, 120, 120)))
        black = bytes(bench.VIEW_SIZE * bench.VIEW_SIZE * 4)
        with self.assertRaises(ValueError):
            bench.decode_view(black, bench.VIEW_SIZE * 4)


if __name__ == "__main__":
    unittest.main()
