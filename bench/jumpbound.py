#!/usr/bin/env python3
"""Checks bench_jumps' table against the bound on the plane's choice of engine.

Every jump the unbounded plane makes by its choice of engine must take at most
1.25 times the faster of the tiles alone and HashLife alone, plus 5 ms, in wall
time. A machine shared with other work has slow spells that last seconds, in
which one run of HashLife alone takes half as long again, so rows measured
apart differ by more than the engines do. The table's "paired" rows therefore run the three engines
one after another in every run, and give the median of the choice's time
against the bound over those runs ("to bound"). This script repeats those rows
in a random interleaved order and judges each by the median of its repetitions.

Usage (from the benchmarks of the Release build, see README.md):
    bench/jumpbound.py                               # the whole table, 3 repetitions (about 7 minutes)
    bench/jumpbound.py --filter '^puffer/' --repetitions 9
Exits 1 if the choice is over the bound on any row, 0 otherwise.
"""

import argparse
import json
import re
import subprocess
import sys

ROW = re.compile(r"([a-z]+)/paired(8times)?/(\d+)(/|$)")


def medians(report):
    """The medians of the paired rows by (pattern, jumps, k): the engines'
    times in ms, alone and by the choice, and the choice's against the bound."""
    rows = {}
    for b in report["benchmarks"]:
        m = ROW.match(b["run_name"])
        if not m or b.get("aggregate_name") != "median":
            continue
        row = {"to bound": b["to bound"]}
        for engine in ("tiles", "hashlife", "choice"):
            if engine + " ms" in b:
                row[engine] = b[engine + " ms"]
        rows[(m.group(1), 8 if m.group(2) else 1, int(m.group(3)))] = row
    return rows


def judge(rows):
    """Lines of the table and the number of rows whose choice is over the bound."""
    lines, over = [], 0
    for (pattern, jumps, k), row in sorted(rows.items()):
        name = f"{pattern}/{'8x' if jumps == 8 else ''}{k}"
        times = " ".join(f"{e} {row[e]:9.2f}" if e in row else f"{e} {'-':>9}" for e in ("tiles", "hashlife", "choice"))
        verdict = "OVER" if row["to bound"] > 1 else "ok"
        over += verdict == "OVER"
        lines.append(f"{name:16} {times}  to bound {row['to bound']:5.2f}  {verdict}")
    return lines, over


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bench", default="build/bench/bench_jumps", help="the bench_jumps executable")
    parser.add_argument("--filter", default=".", help="google benchmark's filter, of which the paired rows run")
    parser.add_argument("--repetitions", type=int, default=3)
    args = parser.parse_args()
    listed = subprocess.run(
        [args.bench, "--benchmark_list_tests", "--benchmark_filter=" + args.filter],
        capture_output=True, text=True, check=True).stdout.split()
    names = [m.group(0).rstrip("/") for m in map(ROW.match, listed) if m]
    if not names:
        sys.exit("no paired rows match " + args.filter)
    command = [
        args.bench,
        "--benchmark_filter=^(" + "|".join(names) + ")/",
        "--benchmark_format=json",
        f"--benchmark_repetitions={args.repetitions}",
        "--benchmark_enable_random_interleaving=true",
        "--benchmark_report_aggregates_only=true",
    ]
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    lines, over = judge(medians(json.loads(result.stdout)))
    print("\n".join(lines))
    print(f"{len(lines)} rows; the choice over the bound on {over}")
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
