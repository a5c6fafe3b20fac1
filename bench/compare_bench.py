#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Comparison speed and memory, against the floors and the peers.

1. Two synthetic profiles of RECORDS records, the second a mutation of the first (files
   added, deleted, grown, shrunk and re-timed, one folder added and one removed). Times, on
   the warm page cache (median of --runs after a warm-up):
   - the floor: build/bin/listing_floor, which reads both files in large blocks on two
     threads and splits them into lines, nothing else;
   - brinvale-cli compare OLD NEW, with its speed against LC_ALL=C comm -3 (the target is
     at least 1.0) and against diff, and its peak resident memory above that of a compare
     of two empty profiles (the target is under 2 MiB, whatever the size).
2. Rescan and compare: a tree of FILES files in FOLDERS folders is a drive named in
   drives.txt; its profile and an mtree -c snapshot are taken, then 1% of its files change
   (deleted, grown, truncated, re-timed, added; a folder added and one removed).
   brinvale-cli run --info-only rescans it, compares and saves the report, keeping the
   profile; it is timed against mtree -f SNAPSHOT (the target is twice as fast) with the
   walk floor beside it, and the peak resident memory of both (Brinvale's target: under
   64 MiB). The changed tree and its snapshot are kept and reused by later runs.

Needs mtree: bash scripts/install-bench-deps.sh installs it.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import profile_bench  # noqa: E402

WORK = "/tmp/brinvale-bench"


def make_profiles(records, old_path, new_path, seed=11):
    """Writes a sorted profile of `records` lines and a mutated copy."""
    rng = random.Random(seed)
    folders = set()
    while len(folders) < records // 50:
        depth = rng.randint(1, 5)
        folders.add(tuple("d%x" % rng.randint(0, 40) for _ in range(depth)))
    folders = sorted(folders)
    per_folder = records // len(folders)

    def line(folder, name, size, stamp):
        return '%d,#%s#,"/data/%s/","%s"\r\n' % (size, stamp, "/".join(folder), name)

    stamps = ["20%02d-%02d-%02d %02d:%02d:%02d" % (rng.randint(0, 25), rng.randint(1, 12),
              rng.randint(1, 28), rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
              for _ in range(1000)]
    removed = folders[len(folders) // 3]
    added_folder = ("zzznew",)  # sorts after every "d.." folder
    with open(old_path, "w", newline="") as old, open(new_path, "w", newline="") as new:
        for folder in folders:
            names = sorted("f%07d.dat" % rng.randint(0, 9_999_999) for _ in range(per_folder))
            names = sorted(set(names))
            for name in names:
                size = rng.randint(0, 10**8)
                stamp = rng.choice(stamps)
                old.write(line(folder, name, size, stamp))
                if folder == removed:
                    continue
                roll = rng.random()
                if roll < 0.002:
                    continue  # deleted
                if roll < 0.004:
                    size += rng.randint(1, 10**6)  # grew
                elif roll < 0.006:
                    size //= 2  # shrunk
                elif roll < 0.008:
                    stamp = rng.choice(stamps)  # re-timed
                new.write(line(folder, name, size, stamp))
                if roll > 0.998:
                    new.write(line(folder, name + "x", 1234, stamp))  # added
        for i in range(100):
            new.write(line(added_folder, "n%03d" % i, i, stamps[0]))


def median_time(command, runs):
    """diff, comm and brinvale-cli compare exit 1 when the files differ."""
    return profile_bench.timed(command, runs, ok_codes=(0, 1))


def peak_rss_mib(command):
    return profile_bench.peak_rss_kib(command) / 1024


def profiles_part(cli, records_list, runs):
    print("== compare of two profiles ==")
    empty = os.path.join(WORK, "empty.bvp")
    open(empty, "w").close()
    base = peak_rss_mib([cli, "compare", empty, empty, "-o", os.path.join(WORK, "e.rtf"),
                         "--since", "then"])
    print(f"peak RSS of a compare of two empty profiles (libraries alone): {base:.1f} MiB")
    for records in records_list:
        old = os.path.join(WORK, "old-%d.bvp" % records)
        new = os.path.join(WORK, "new-%d.bvp" % records)
        if not (os.path.exists(old) and os.path.exists(new)):
            make_profiles(records, old, new)
        report = os.path.join(WORK, "report-%d.rtf" % records)
        brinvale = [cli, "compare", old, new, "-o", report, "--since", "then"]
        comm = ["env", "LC_ALL=C", "comm", "-3", old, new]
        diff = ["diff", old, new]
        t_floor = median_time([profile_bench.BIN + "/listing_floor", old, new], runs)
        t_b = median_time(brinvale, runs)
        t_c = median_time(comm, runs)
        t_d = median_time(diff, runs)
        with open(old, "rb") as f:
            n = sum(1 for _ in f)
        size = os.path.getsize(old) / 1e6
        growth = peak_rss_mib(brinvale) - base
        print(f"{n:>10,} records ({size:.0f} MB each)")
        print(f"  floor (listing_floor)   {t_floor:7.3f} s")
        print(f"  brinvale-cli compare    {t_b:7.3f} s  ({n / t_b:12,.0f} rec/s)"
              f"  share of the floor {t_floor / t_b:5.2f}")
        print(f"  LC_ALL=C comm -3        {t_c:7.3f} s  Brinvale's speed-up {t_c / t_b:5.2f}x"
              f" (target 1.00)")
        print(f"  diff                    {t_d:7.3f} s  Brinvale's speed-up {t_d / t_b:5.2f}x")
        print(f"  brinvale memory above an empty compare: {growth:5.2f} MiB (target under 2)")


def mutate_tree(root, fraction=0.01, seed=5):
    rng = random.Random(seed)
    files = []
    folders = []
    for dirpath, dirnames, filenames in os.walk(root):
        folders.append(dirpath)
        files.extend(os.path.join(dirpath, f) for f in filenames if not f.startswith("."))
    rng.shuffle(files)
    each = max(1, int(len(files) * fraction) // 5)
    for path in files[:each]:
        os.remove(path)
    for path in files[each:2 * each]:
        with open(path, "ab") as f:
            f.write(b"more")
    for path in files[2 * each:3 * each]:
        os.truncate(path, 0)
    for path in files[3 * each:4 * each]:
        os.utime(path, (1_234_567_890, 1_234_567_890))
    for i in range(each):
        with open(os.path.join(rng.choice(folders), "added-%d.new" % i), "wb") as f:
            f.write(b"x" * (i % 5000))
    new_folder = os.path.join(root, "a brand new folder")
    os.makedirs(new_folder, exist_ok=True)
    for i in range(50):
        open(os.path.join(new_folder, "f%d" % i), "w").close()
    victim = max(folders[1:], key=lambda f: len(os.listdir(f)))
    shutil.rmtree(victim)


def tree_part(cli, files, folders, runs):
    """The run's own path: the tree is a drive named in drives.txt; an info-only run
    rescans it, compares it with its profile and saves the report, keeping the profile."""
    print("== rescan and compare of a changed tree ==")
    root = os.path.join(WORK, "changed-tree")
    program = os.path.join(WORK, "program")
    snapshot = os.path.join(WORK, "changed-tree.mtree")
    marker = os.path.join(WORK, "changed-tree-%d-%d.done" % (files, folders))
    run = [cli, "run", "--program-folder", program]
    if not os.path.exists(marker):
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(program, ignore_errors=True)
        for stale in [f for f in os.listdir(WORK) if f.startswith("changed-tree-")]:
            os.remove(os.path.join(WORK, stale))
        os.makedirs(program)
        profile_bench.build_tree(root, files, seed=3, folders=folders)
        with open(os.path.join(program, "drives.txt"), "w") as f:
            f.write("X\t%s\n" % root)
        profile_bench.run_quietly(run + ["--yes", "X"])
        with open(snapshot, "w") as f:
            subprocess.run(["mtree", "-c", "-x", "-k", "size,time", "-p", root], stdout=f,
                           check=True)
        mutate_tree(root)
        open(marker, "w").close()
    brinvale = run + ["--info-only", "X"]
    mtree = ["sh", "-c", f'mtree -x -f "{snapshot}" -p "{root}" >/dev/null; true']
    t_floor = median_time([profile_bench.WALK_FLOOR, root], runs)
    t_b = median_time(brinvale, runs)
    t_m = median_time(mtree, runs)
    mtree_alone = ["mtree", "-x", "-f", snapshot, "-p", root]
    print(f"{files:>10,} files in {folders:,} folders, 1% changed")
    print(f"  floor (walk_floor)      {t_floor:7.3f} s")
    print(f"  brinvale run --info-only {t_b:7.3f} s  share of the walk floor {t_floor / t_b:5.2f}"
          f"  peak RSS {peak_rss_mib(brinvale):6.1f} MiB (target under 64)")
    print(f"  mtree -f                {t_m:7.3f} s  Brinvale's speed-up {t_m / t_b:5.2f}x"
          f" (target 2.00)  peak RSS {peak_rss_mib(mtree_alone):6.1f} MiB")


def main():
    if shutil.which("mtree") is None:
        sys.exit("mtree is missing: bash scripts/install-bench-deps.sh")
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--records", type=int, nargs="+", default=[1_000_000])
    parser.add_argument("--files", type=int, default=1_000_000)
    parser.add_argument("--folders", type=int, default=60_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--cli", default=profile_bench.CLI)
    parser.add_argument("--skip-tree", action="store_true", help="only compare profiles")
    parser.add_argument("--cold", action="store_true",
                        help="drop the caches before every timed run (needs root)")
    args = parser.parse_args()
    profile_bench.COLD = args.cold
    os.makedirs(WORK, exist_ok=True)
    print(f"load average before: {profile_bench.load_average()}")
    profiles_part(args.cli, args.records, args.runs)
    if not args.skip_tree:
        tree_part(args.cli, args.files, args.folders, args.runs)
    print(f"load average after: {profile_bench.load_average()}")


if __name__ == "__main__":
    main()
