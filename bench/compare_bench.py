#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Comparison speed and memory.

1. Two synthetic profiles of RECORDS records, the second a mutation of the first (files
   added, deleted, grown, shrunk and re-timed, one folder added and one removed): times
   `brinvale-cli compare` against `diff OLD NEW` on the same two files, at two sizes, and
   prints Brinvale's peak resident memory for each size (it should stay flat).
2. Rescan and compare of a mutated tree: `brinvale-cli profile` + `compare` against
   `mtree -x -f SNAPSHOT -p ROOT`, both against a snapshot taken before the mutation.

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


def best_time(command, runs):
    """diff and brinvale-cli compare exit 1 when the files differ."""
    return profile_bench.timed(command, runs, ok_codes=(0, 1))


def peak_rss_mib(command):
    return profile_bench.peak_rss_kib(command) / 1024


def profiles_part(cli, records_list, runs):
    print("== compare of two profiles ==")
    empty = os.path.join(WORK, "empty.bvp")
    open(empty, "w").close()
    floor = peak_rss_mib([cli, "compare", empty, empty, "-o", os.path.join(WORK, "e.rtf"),
                          "--since", "then"])
    print(f"peak RSS of a compare of two empty profiles (libraries alone): {floor:.1f} MiB")
    for records in records_list:
        old = os.path.join(WORK, "old-%d.bvp" % records)
        new = os.path.join(WORK, "new-%d.bvp" % records)
        if not (os.path.exists(old) and os.path.exists(new)):
            make_profiles(records, old, new)
        report = os.path.join(WORK, "report-%d.rtf" % records)
        brinvale = [cli, "compare", old, new, "-o", report, "--since", "then"]
        diff = ["diff", old, new]
        t_b = best_time(brinvale, runs)
        t_d = best_time(diff, runs)
        with open(old, "rb") as f:
            n = sum(1 for _ in f)
        print(f"{n:>10,} records  brinvale {t_b:7.3f} s ({n / t_b:12,.0f} rec/s)"
              f"  diff {t_d:7.3f} s ({n / t_d:12,.0f} rec/s)  ratio {t_d / t_b:5.2f}"
              f"  peak RSS {peak_rss_mib(brinvale):6.1f} MiB")


def mutate_tree(root, seed=5):
    rng = random.Random(seed)
    files = []
    folders = []
    for dirpath, dirnames, filenames in os.walk(root):
        folders.append(dirpath)
        files.extend(os.path.join(dirpath, f) for f in filenames if not f.startswith("."))
    rng.shuffle(files)
    for path in files[:1000]:
        os.remove(path)
    for path in files[1000:2000]:
        with open(path, "ab") as f:
            f.write(b"more")
    for path in files[2000:3000]:
        os.truncate(path, 0)
    for path in files[3000:4000]:
        os.utime(path, (1_234_567_890, 1_234_567_890))
    for i in range(1000):
        with open(os.path.join(rng.choice(folders), "added-%d.new" % i), "wb") as f:
            f.write(b"x" * i)
    new_folder = os.path.join(root, "a brand new folder")
    os.makedirs(new_folder, exist_ok=True)
    for i in range(50):
        open(os.path.join(new_folder, "f%d" % i), "w").close()
    victim = max(folders[1:], key=lambda f: len(os.listdir(f)))
    shutil.rmtree(victim)


def tree_part(cli, files, runs):
    """The run's own path: the tree is a drive named in drives.txt; an info-only run
    rescans it, compares it with its profile and saves the report, keeping the profile."""
    print("== rescan and compare of a mutated tree ==")
    root = os.path.join(WORK, "mutated-tree")
    program = os.path.join(WORK, "program")
    shutil.rmtree(root, ignore_errors=True)
    shutil.rmtree(program, ignore_errors=True)
    os.makedirs(program)
    profile_bench.build_tree(root, files, seed=3)
    with open(os.path.join(program, "drives.txt"), "w") as f:
        f.write("X\t%s\n" % root)
    run = [cli, "run", "--program-folder", program]
    profile_bench.run_quietly(run + ["--yes", "X"])
    snapshot = os.path.join(WORK, "mutated.mtree")
    with open(snapshot, "w") as f:
        subprocess.run(["mtree", "-c", "-x", "-k", "size,time", "-p", root], stdout=f, check=True)
    mutate_tree(root)
    t_b = best_time(run + ["--info-only", "X"], runs)
    t_m = best_time(["sh", "-c", f'mtree -x -f "{snapshot}" -p "{root}" >/dev/null; true'], runs)
    print(f"{files:>10,} files    brinvale run --info-only {t_b:7.3f} s   mtree -f {t_m:7.3f} s"
          f"   ratio {t_m / t_b:5.2f}")


def main():
    if shutil.which("mtree") is None:
        sys.exit("mtree is missing: bash scripts/install-bench-deps.sh")
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--records", type=int, nargs="+", default=[250_000, 1_000_000])
    parser.add_argument("--files", type=int, default=200_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--cli", default=profile_bench.CLI)
    parser.add_argument("--cold", action="store_true",
                        help="drop the caches before every timed run (needs root)")
    args = parser.parse_args()
    profile_bench.COLD = args.cold
    os.makedirs(WORK, exist_ok=True)
    profiles_part(args.cli, args.records, args.runs)
    tree_part(args.cli, args.files, args.runs)


if __name__ == "__main__":
    main()
