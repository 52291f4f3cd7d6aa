#!/usr/bin/env python3
"""Checks of how jumpbound.py reads bench_jumps' report: a row read under the
wrong count of jumps, from the wrong aggregate or from another row would pass
or fail the bound without any sign. Run: python3 bench/test_jumpbound.py"""

import unittest

import jumpbound


def entry(name, to_bound, aggregate="median", **times):
    fields = {"run_name": name, "aggregate_name": aggregate, "real_time": 1e9, "to bound": to_bound}
    fields.update({engine + " ms": ms for engine, ms in times.items()})
    return fields


class JudgeTest(unittest.TestCase):
    def test_paired_rows_are_read_by_jumps_and_aggregate(self):
        suffix = "/min_time:0.100/process_time/manual_time"
        report = {
            "benchmarks": [
                entry("puffer/paired/12" + suffix, 1.2, tiles=40.0, hashlife=20.0, choice=30.1),
                entry("puffer/paired/12" + suffix, 0.1, aggregate="mean", tiles=1.0, hashlife=1.0, choice=1.0),
                entry("puffer/paired8times/12" + suffix, 0.95, hashlife=1.0, choice=6.0),
                entry("puffer/choice/12/min_time:0.100/process_time", 9.0),
                entry("soup/paired/3" + suffix, 1.0, tiles=2.0, hashlife=9.0, choice=2.0),
            ]
        }
        rows = jumpbound.medians(report)
        self.assertEqual(rows[("puffer", 1, 12)], {"choice": 30.1, "to bound": 1.2, "tiles": 40.0, "hashlife": 20.0})
        self.assertEqual(rows[("puffer", 8, 12)], {"choice": 6.0, "to bound": 0.95, "hashlife": 1.0})
        lines, over = jumpbound.judge(rows)
        # Only a ratio above 1 is over: the soup's, exactly at the bound, is not.
        self.assertEqual((len(lines), over), (3, 1))
        self.assertTrue(lines[0].startswith("puffer/12 ") and lines[0].endswith("OVER"))
        self.assertTrue(lines[1].startswith("puffer/8x12 ") and lines[1].endswith("ok"))
        self.assertTrue(lines[2].startswith("soup/3 ") and lines[2].endswith("ok"))


if __name__ == "__main__":
    unittest.main()
