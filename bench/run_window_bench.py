#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A run through the window against brinvale-cli run, on one large synthetic tree.

Builds (or reuses) the tree of bench/profile_bench.py (FILES files), watches it as drive D in
two program folders, makes each folder's first profile, then alternates --runs times: a few
files of the tree change, brinvale-cli run D compares and reports in the one folder, the
window (build/bin/run_window_bench, offscreen, questions answered by a timer) in the other.
Prints every run and the medians: the run's seconds on each side, the window's share over
the command line, and the longest gap between the window's 5 ms timer ticks (how long its
user-interface thread was ever kept from reacting) with the 99th percentile gap.

The command line's time is the whole process; the window's is from the start of the run
to its end inside the already open window, which is what a user waits for.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import profile_bench  # noqa: E402

BIN = os.path.join(HERE, "..", "build", "bin")
CLI = os.path.join(BIN, "brinvale-cli")
WINDOW = os.path.join(BIN, "run_window_bench")


def program_folder(path, tree):
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, "drives.txt"), "w") as f:
        f.write("D\t%s\n" % tree)
    for name in os.listdir(path):
        if name.startswith("Prof_"):
            os.remove(os.path.join(path, name))
    return path


def cli_run(folder, create=False):
    command = [CLI, "run", "--program-folder", folder] + (["--yes"] if create else []) + ["D"]
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode not in (0, 1):
        sys.exit("brinvale-cli run failed (%d): %s" % (result.returncode, result.stderr))
    return time.perf_counter() - start


def window_run(folder):
    result = subprocess.run([WINDOW, "--program-folder", folder, "--letter", "D"],
                            capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("run_window_bench failed (%d): %s" % (result.returncode, result.stderr))
    return {k: float(v) for k, v in re.findall(r"(\w+)=(\S+)", result.stdout)}


def touch_some(tree, round_number):
    """Changes a handful of files so that every run has something to report."""
    for i in range(5):
        with open(os.path.join(tree, "bench-changed-%d.txt" % i), "w") as f:
            f.write("x" * (round_number + i + 1))


def load():
    with open("/proc/loadavg") as f:
        return f.read().split()[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--files", type=int, default=250_000)
    parser.add_argument("--tree", default="/tmp/brinvale-bench/tree")
    parser.add_argument("--work", default="/tmp/brinvale-bench/run-window")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    for program in (CLI, WINDOW):
        if not os.path.exists(program):
            sys.exit("build it first: cmake --build build --target brinvale-cli run_window_bench")

    profile_bench.build_tree(args.tree, args.files)
    cli_folder = program_folder(os.path.join(args.work, "cli"), args.tree)
    window_folder = program_folder(os.path.join(args.work, "window"), args.tree)
    cli_run(cli_folder, create=True)  # the first profiles, and a warm page cache
    window_run(window_folder)

    cli_times, window_times, gaps, p99s = [], [], [], []
    print("%5s %9s %9s %11s %11s %6s" % ("round", "cli s", "window s", "max gap ms",
                                        "p99 gap ms", "load"))
    for r in range(args.runs):
        touch_some(args.tree, r)
        cli_times.append(cli_run(cli_folder))
        figures = window_run(window_folder)
        if figures.get("compared") != 1:
            sys.exit("the window's run compared no drive: %s" % figures)
        window_times.append(figures["seconds"])
        gaps.append(figures["max_gap_ms"])
        p99s.append(figures["p99_gap_ms"])
        print("%5d %9.3f %9.3f %11.1f %11.1f %6s" % (r + 1, cli_times[-1], window_times[-1],
                                                     gaps[-1], p99s[-1], load()))
    cli, window = statistics.median(cli_times), statistics.median(window_times)
    print("median: cli %.3f s, window %.3f s (%+.1f%%), longest gap %.1f ms (worst %.1f ms), "
          "p99 gap %.1f ms; %d files" % (cli, window, (window / cli - 1) * 100,
                                          statistics.median(gaps), max(gaps),
                                          statistics.median(p99s), args.files))


if __name__ == "__main__":
    main()
