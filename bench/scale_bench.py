#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""How a comparison grows with the drive: brinvale-cli compare on generated profiles of
1, 2.5, 5 and 10 million records (by default), the second of each pair a mutation of the
first as in bench/compare_bench.py. For each size it prints the median time of --runs warm
runs, the time per million records (flat when the time is linear in the records) and the
peak resident memory above a compare of two empty profiles (flat when memory does not grow
with the drive), beside the floor build/bin/listing_floor. The profiles are kept in
/tmp/brinvale-bench and reused; 10 million records take about 0.7 GB per file.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_bench  # noqa: E402
import profile_bench  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--records", type=int, nargs="+",
                        default=[1_000_000, 2_500_000, 5_000_000, 10_000_000])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--cli", default=profile_bench.CLI)
    args = parser.parse_args()
    work = compare_bench.WORK
    os.makedirs(work, exist_ok=True)
    print(f"load average before: {profile_bench.load_average()}")
    empty = os.path.join(work, "empty.bvp")
    open(empty, "w").close()
    base = compare_bench.peak_rss_mib([args.cli, "compare", empty, empty, "-o",
                                       os.path.join(work, "e.rtf"), "--since", "then"])
    print(f"{'records':>12} {'MB/file':>8} {'floor s':>8} {'brinvale s':>10} {'s/M rec':>8}"
          f" {'MiB above empty':>16}")
    for records in args.records:
        old = os.path.join(work, "old-%d.bvp" % records)
        new = os.path.join(work, "new-%d.bvp" % records)
        if not (os.path.exists(old) and os.path.exists(new)):
            compare_bench.make_profiles(records, old, new)
        brinvale = [args.cli, "compare", old, new, "-o", os.path.join(work, "scale.rtf"),
                    "--since", "then"]
        t_floor = compare_bench.median_time([profile_bench.BIN + "/listing_floor", old, new],
                                            args.runs)
        t_b = compare_bench.median_time(brinvale, args.runs)
        growth = compare_bench.peak_rss_mib(brinvale) - base
        print(f"{records:>12,} {os.path.getsize(old) / 1e6:>8.0f} {t_floor:>8.3f} {t_b:>10.3f}"
              f" {t_b / (records / 1e6):>8.3f} {growth:>16.2f}")
    print(f"load average after: {profile_bench.load_average()}")


if __name__ == "__main__":
    main()
