#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Printing speed and memory: made-up change reports printed to the PDF file printer.

Runs build/bin/print_bench (cmake --build build --target print_bench) once per measurement,
each in a process of its own so that the peak resident memory is that print's: both routes,
reports of --lines lines and of half and a quarter of that, and the largest once more with
a top margin that makes many more pages of the same document. Memory that does not grow
with the page count shows as the same peak for the same report whatever its pages.

--versus PRINT_BENCH runs another build's print_bench (an older version of the program, built
the same way) alternately with this one on both routes and prints the medians; a build whose
print_bench predates "print s" shows its "cpu s" there.

"cpu s" is the processor time of the whole print, "print s" that of the calling thread, which
drives the printer while the lines are shaped on a thread of their own: with a core free for
each, a print takes about the longer of "print s" and the difference.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BENCH = os.path.join(HERE, "..", "build", "bin", "print_bench")


def run(route, lines, top_margin, keep, bench=BENCH):
    command = [bench, "--route", route, "--lines", str(lines), "--top-margin", str(top_margin)]
    if keep:
        command += ["--keep", keep]
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    return dict(re.findall(r"(\w+)=(\S+)", out))


def versus(other, lines, rounds):
    """Runs this build's print_bench and `other` (another build's) alternately on both routes,
    `rounds` times each, and prints the medians: on a shared machine the two then see the same
    load."""
    benches = [("this", BENCH), ("other", other)]
    rows = {}
    for _ in range(rounds):
        for route in ("colour", "plain"):
            for name, bench in benches:
                r = run(route, lines, 0.5, None, bench)
                rows.setdefault((route, name), []).append(r)
    print("%-7s %-6s %6s %8s %8s %8s %9s   seconds of each run" % (
        "route", "build", "pages", "seconds", "cpu s", "print s", "peak MiB"))
    for route in ("colour", "plain"):
        for name, _ in benches:
            runs = rows[(route, name)]
            med = lambda key: statistics.median(float(r.get(key, r["cpu_s"])) for r in runs)
            print("%-7s %-6s %6s %8.2f %8.2f %8.2f %9.1f   %s" % (
                route, name, runs[0]["pages"], med("seconds"), med("cpu_s"), med("thread_cpu_s"),
                max(float(r["peak_mib"]) for r in runs), " ".join(r["seconds"] for r in runs)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lines", type=int, default=100000)
    parser.add_argument("--keep", help="folder for the last PDF printed")
    parser.add_argument("--versus", metavar="PRINT_BENCH",
                        help="another build's print_bench, run alternately with this one")
    parser.add_argument("--rounds", type=int, default=5, help="runs of each, with --versus")
    args = parser.parse_args()
    if not os.path.exists(BENCH):
        sys.exit("build print_bench first: cmake --build build --target print_bench")
    if args.versus:
        versus(args.versus, args.lines, args.rounds)
        return

    print("%-7s %8s %6s %6s %8s %8s %8s %8s %9s %9s" % (
        "route", "lines", "top", "pages", "seconds", "cpu s", "print s", "pdf MiB", "doc MiB",
        "peak MiB"))
    for route in ("colour", "plain"):
        runs = [(args.lines // 4, 0.5), (args.lines // 2, 0.5), (args.lines, 0.5),
                (args.lines, 5.5)]
        for lines, top in runs:
            r = run(route, lines, top, args.keep)
            print("%-7s %8s %6s %6s %8s %8s %8s %8s %9s %9s" % (
                route, r["lines"], r["top_margin"], r["pages"], r["seconds"], r["cpu_s"],
                r["thread_cpu_s"], r["pdf_mib"], r["document_mib"], r["peak_mib"]))


if __name__ == "__main__":
    main()
