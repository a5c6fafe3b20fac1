#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Profiling speed: brinvale-cli profile against its floor and against mtree -c (and find).

Builds (or reuses) a tree of FILES files in FOLDERS folders (default FILES/10) with mixed
depths, name lengths and letter case, some names with blanks and commas. Then, on the warm
page cache (one warm-up run each, then the median of --runs), times:

- the floor: build/bin/walk_floor, two threads that read every folder once with getdents64
  and fstatat every entry, nothing else: the least any tool must do to profile the tree;
- brinvale-cli profile, and its share of the floor (floor time / Brinvale's time; 1.0 would
  be the floor itself);
- the peer mtree -c -k size,time (with --with-find also find -printf), and Brinvale's
  speed-up over each.

Prints absolute times, files per second, Brinvale's peak resident memory and the machine's
load average before and after, since other work on the machine slows every figure.

Needs mtree: bash scripts/install-bench-deps.sh installs it.
"""
import argparse
import os
import random
import resource
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
BIN = os.path.join(HERE, "..", "build", "bin")
CLI = os.path.join(BIN, "brinvale-cli")
WALK_FLOOR = os.path.join(BIN, "walk_floor")
SYLLABLES = ["ka", "Lo", "mi", "RE", "tu", "Xan", "pe", "do", "Vi", "q", "z", "Or"]


def name(rng, extension=True):
    n = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(1, 6)))
    roll = rng.random()
    if roll < 0.05:
        n += " copy"
    elif roll < 0.08:
        n += ", old"
    elif roll < 0.10:
        n = n.upper()
    if extension and rng.random() < 0.8:
        n += rng.choice([".txt", ".DLL", ".jpg", ".tar.gz", ".c", ".H"])
    return n


def build_tree(root, files, seed=7, folders=None):
    folder_count = folders or max(1, files // 10)
    marker = os.path.join(root, ".bench-%d-%d" % (files, folder_count))
    if os.path.exists(marker):
        return
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    rng = random.Random(seed)
    folders = [root]
    while len(folders) < folder_count:
        parent = rng.choice(folders[-200:] if rng.random() < 0.6 else folders)
        path = os.path.join(parent, name(rng, extension=rng.random() < 0.1))
        if not os.path.exists(path):
            os.mkdir(path)
            folders.append(path)
    made = 0
    while made < files:
        path = os.path.join(rng.choice(folders), name(rng))
        if os.path.exists(path):
            continue
        with open(path, "wb") as f:
            f.truncate(rng.choice([0, 1, 100, 4096, 65536, rng.randint(0, 10**7)]))
        stamp = rng.randint(600_000_000, 1_700_000_000)
        os.utime(path, (stamp, stamp))
        made += 1
    open(marker, "w").close()


def run_quietly(command, ok_codes=(0,)):
    """Runs a command with its output discarded; fails unless it exits with one of ok_codes."""
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if result.returncode not in ok_codes:
        raise SystemExit("failed (%d): %s" % (result.returncode, " ".join(command)))


COLD = False  # set by --cold: every timed run starts with empty page and inode caches


def drop_caches():
    subprocess.run(["sync"], check=True)
    with open("/proc/sys/vm/drop_caches", "w") as f:
        f.write("3\n")


def timed(command, runs, ok_codes=(0,)):
    """Median wall time over `runs` runs, after one warm-up run (warm) or each after the
    caches were dropped (cold)."""
    if not COLD:
        run_quietly(command, ok_codes)
    times = []
    for _ in range(runs):
        if COLD:
            drop_caches()
        start = time.perf_counter()
        run_quietly(command, ok_codes)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def load_average():
    return "%.2f %.2f %.2f" % os.getloadavg()


def peak_rss_kib(command):
    """Peak resident memory of one run, measured in a fresh child process."""
    code = ("import resource,subprocess,sys;"
            "subprocess.run(sys.argv[1:],stdout=subprocess.DEVNULL,stderr=subprocess.DEVNULL);"
            "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    out = subprocess.run([sys.executable, "-c", code] + command, capture_output=True, text=True,
                         check=True)
    return int(out.stdout.strip())


def main():
    if shutil.which("mtree") is None:
        sys.exit("mtree is missing: bash scripts/install-bench-deps.sh")
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--files", type=int, default=1_000_000)
    parser.add_argument("--folders", type=int, default=60_000)
    parser.add_argument("--tree", default="/tmp/brinvale-bench/tree")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--cli", default=CLI)
    parser.add_argument("--with-find", action="store_true",
                        help="also time find -printf (slow: its time formatting dominates)")
    parser.add_argument("--cold", action="store_true",
                        help="drop the caches before every timed run (needs root)")
    args = parser.parse_args()
    global COLD
    COLD = args.cold

    build_tree(args.tree, args.files, folders=args.folders)
    out = os.path.join(os.path.dirname(args.tree), "profile.bvp")
    brinvale = [args.cli, "profile", args.tree, "-o", out]
    peers = {"mtree -c": ["mtree", "-c", "-x", "-k", "size,time", "-p", args.tree]}
    if args.with_find:
        peers["find -printf"] = ["find", args.tree, "-xdev", "-type", "f", "-printf",
                                 "%s,%TY-%Tm-%Td %TH:%TM:%TS,%h/,%f\n"]
    print(f"load average before: {load_average()}")
    t_floor = timed([WALK_FLOOR, args.tree], args.runs)
    t_b = timed(brinvale, args.runs)
    with open(out, "rb") as f:
        records = sum(1 for _ in f)
    print(f"tree: {args.tree}, {records} files profiled; medians of {args.runs} warm runs"
          if not COLD else f"tree: {args.tree}, {records} files; medians of {args.runs} cold runs")
    print(f"{'floor (walk_floor)':22s} {t_floor:8.3f} s  {records / t_floor:12,.0f} files/s")
    print(f"{'brinvale-cli profile':22s} {t_b:8.3f} s  {records / t_b:12,.0f} files/s"
          f"   share of the floor {t_floor / t_b:5.2f} (target 0.80)")
    for label, command in peers.items():
        t = timed(command, args.runs)
        print(f"{label:22s} {t:8.3f} s  {records / t:12,.0f} files/s"
              f"   Brinvale's speed-up {t / t_b:5.2f}x")
    print(f"brinvale peak RSS: {peak_rss_kib(brinvale) / 1024:.1f} MiB")
    print(f"load average after: {load_average()}")


if __name__ == "__main__":
    main()
