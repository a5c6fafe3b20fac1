#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What keeping the history costs, and what comparing with it costs.

A tree of FILES files in FOLDERS folders (built once and reused) is drive X of two program
folders: one keeps the history as runs do by default ([history] depth = 30), the other keeps
none ([history] depth = 0). Both get their profile first. Then, on the warm page cache:

1. A run that replaces the profile (brinvale-cli run X, which rescans, compares, saves the
   report, keeps the replaced profile as a generation when the history is on, and replaces
   it), timed alternately in the two folders: median of --runs each, and the history's share
   of the run's time (the target is at most +10%). Peak resident memory of one run each.
   The size of the last generation against the size of the profile it holds.
2. 1% of the tree's files change, and one more run keeps the profile it replaces. Then
   brinvale-cli history X --compare -1 (the generation, decompressed as it is read, against
   the stored profile) is timed against brinvale-cli compare of an uncompressed copy of the
   same profile against the stored one, both writing the plain-text report to a file; with
   the peak resident memory of both.

The tree mutates a little every time the second measurement runs; the figures do not depend on it.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_bench  # noqa: E402
import profile_bench  # noqa: E402

WORK = "/tmp/brinvale-bench"


def once(command, ok_codes=(0, 1)):
    start = time.perf_counter()
    profile_bench.run_quietly(command, ok_codes)
    return time.perf_counter() - start


def program_folder(path, root, depth):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    with open(os.path.join(path, "drives.txt"), "w") as f:
        f.write("X\t%s\n" % root)
    with open(os.path.join(path, "brinvale.conf"), "w") as f:
        f.write("[history]\ndepth = %d\n" % depth)


def newest_generation(program):
    folder = os.path.join(program, "History", "X")
    names = sorted(n for n in os.listdir(folder) if n.endswith(".bvp.zst"))
    return os.path.join(folder, names[-1])


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--files", type=int, default=1_000_000)
    parser.add_argument("--folders", type=int, default=60_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--cli", default=profile_bench.CLI)
    args = parser.parse_args()
    cli = args.cli

    root = os.path.join(WORK, "history-tree")
    os.makedirs(WORK, exist_ok=True)
    profile_bench.build_tree(root, args.files, seed=13, folders=args.folders)
    kept = os.path.join(WORK, "history-kept")
    bare = os.path.join(WORK, "history-none")
    program_folder(kept, root, 30)
    program_folder(bare, root, 0)
    run = {p: [cli, "run", "--program-folder", p, "X"] for p in (kept, bare)}
    for p in (kept, bare):
        profile_bench.run_quietly(run[p][:-1] + ["--yes", "X"])
        once(run[p])  # warm-up: also the first generation of `kept`

    print(f"== a run that replaces the profile: {args.files:,} files in {args.folders:,} folders"
          f" (load {profile_bench.load_average()}) ==")
    times = {kept: [], bare: []}
    for _ in range(args.runs):
        for p in (bare, kept):
            times[p].append(once(run[p]))
    t_kept = statistics.median(times[kept])
    t_bare = statistics.median(times[bare])
    rss_kept = profile_bench.peak_rss_kib(run[kept]) / 1024
    rss_bare = profile_bench.peak_rss_kib(run[bare]) / 1024
    print(f"  without history (depth 0)   {t_bare:7.3f} s  peak RSS {rss_bare:6.1f} MiB")
    print(f"  with history (depth 30)     {t_kept:7.3f} s  peak RSS {rss_kept:6.1f} MiB"
          f"  {100 * (t_kept / t_bare - 1):+5.1f}% (target at most +10%)")
    print("  all times: without " + " ".join(f"{t:.2f}" for t in times[bare]) +
          "; with " + " ".join(f"{t:.2f}" for t in times[kept]))
    generation = newest_generation(kept)
    profile = os.path.join(kept, "Prof_X_.bvp")
    g_size = os.path.getsize(generation)
    p_size = os.path.getsize(profile)
    print(f"  a generation: {g_size / 2**20:6.1f} MiB for a profile of {p_size / 2**20:6.1f} MiB"
          f" ({100 * g_size / p_size:.1f}%, {p_size / g_size:.1f}x smaller)")

    print(f"== history --compare -1 against compare of the same profiles, 1% changed"
          f" (load {profile_bench.load_average()}) ==")
    old_copy = os.path.join(WORK, "history-old.bvp")
    shutil.copy2(profile, old_copy)
    compare_bench.mutate_tree(root)
    once(run[kept])
    out = os.path.join(WORK, "history-report.txt")
    history = [cli, "history", "X", "--compare", "-1", "-o", out, "--program-folder", kept]
    plain = [cli, "compare", old_copy, profile, "-o", out, "--text", "--drive", "x:"]
    t_history = profile_bench.timed(history, args.runs, ok_codes=(1,))
    t_plain = profile_bench.timed(plain, args.runs, ok_codes=(1,))
    rss_history = profile_bench.peak_rss_kib(history) / 1024
    rss_plain = profile_bench.peak_rss_kib(plain) / 1024
    print(f"  compare OLD NEW --text      {t_plain:7.3f} s  peak RSS {rss_plain:6.1f} MiB")
    print(f"  history X --compare -1      {t_history:7.3f} s  peak RSS {rss_history:6.1f} MiB"
          f"  ({t_history / t_plain:.2f}x the plain compare)")
    report = subprocess.run(["wc", "-l", out], capture_output=True, text=True).stdout.split()[0]
    print(f"  report lines: {report}")


if __name__ == "__main__":
    main()
