#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Printing speed and memory: made-up change reports printed to the PDF file printer.

Runs build/bin/print_bench (cmake --build build --target print_bench) once per measurement,
each in a process of its own so that the peak resident memory is that print's: both routes,
reports of --lines lines and of half and a quarter of that, and the largest once more with
a top margin that makes many more pages of the same document. Memory that does not grow
with the page count shows as the same peak for the same report whatever its pages.
"""
import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BENCH = os.path.join(HERE, "..", "build", "bin", "print_bench")


def run(route, lines, top_margin, keep):
    command = [BENCH, "--route", route, "--lines", str(lines), "--top-margin", str(top_margin)]
    if keep:
        command += ["--keep", keep]
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    return dict(re.findall(r"(\w+)=(\S+)", out))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lines", type=int, default=100000)
    parser.add_argument("--keep", help="folder for the last PDF printed")
    args = parser.parse_args()
    if not os.path.exists(BENCH):
        sys.exit("build print_bench first: cmake --build build --target print_bench")

    print("%-7s %8s %6s %6s %8s %8s %9s %9s" % ("route", "lines", "top", "pages", "seconds",
                                                "pdf MiB", "doc MiB", "peak MiB"))
    for route in ("colour", "plain"):
        runs = [(args.lines // 4, 0.5), (args.lines // 2, 0.5), (args.lines, 0.5),
                (args.lines, 5.5)]
        for lines, top in runs:
            r = run(route, lines, top, args.keep)
            print("%-7s %8s %6s %6s %8s %8s %9s %9s" % (
                route, r["lines"], r["top_margin"], r["pages"], r["seconds"], r["pdf_mib"],
                r["document_mib"], r["peak_mib"]))


if __name__ == "__main__":
    main()
