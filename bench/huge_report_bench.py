#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A report of a million lines in the window, in totext and on paper.

Makes the report as a run does: two generated profiles of FILES files (default 1,000,000)
in folders of 50, every file's time different in the second (as after a change of time
zone), compared by brinvale-cli compare into an RTF change report of about a line per file.
Then measures, each --runs times in a process of its own, and prints every run and the
medians:

- the window (build/bin/huge_report_window_bench, offscreen): Open of the report, the time
  until the view first paints the report's title and until the whole report is in the view
  and takes typing; the longest gap between the ticks of a 5 ms timer on the window's
  thread while it loads, and the 99th percentile gap; the time to scroll to the end and
  paint it; the time to save the view as rich text; the window's peak resident memory;
- brinvale-cli totext REPORT -o OUT: time, and peak resident memory beside that of totext
  of an empty file;
- printing to the PDF file printer (build/bin/print_bench --report), colour and black and
  white: time, processor time (steadier on a shared machine) and peak, for a report made the
  same way from PRINT_FILES files (default 100,000; --print-files 1000000 prints the whole
  million).

The load average is printed with each run, as other work on the machine slows every figure.
The generated files are kept in --work and reused.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
BIN = os.path.join(HERE, "..", "build", "bin")
ENV = dict(os.environ, LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8", TZ="UTC")


def load():
    with open("/proc/loadavg") as f:
        return f.read().split()[0]


def make_profiles(files, old_path, new_path):
    """Profiles of `files` files in folders of 50; every time in the second is an hour on."""
    with open(old_path, "w", newline="") as old, open(new_path, "w", newline="") as new:
        for i in range(files):
            folder = "/data/projects/d%05d/" % (i // 50)
            name = "file-%07d.dat" % i
            size = (i * 7919) % 10_000_000
            minute, second = (i // 60) % 60, i % 60
            old.write('%d,#2024-03-14 10:%02d:%02d#,"%s","%s"\r\n' % (size, minute, second,
                                                                      folder, name))
            new.write('%d,#2024-03-14 11:%02d:%02d#,"%s","%s"\r\n' % (size, minute, second,
                                                                      folder, name))


def make_report(work, files, cli):
    report = os.path.join(work, "report-%d.rtf" % files)
    text = os.path.join(work, "report-%d.txt" % files)
    if not os.path.exists(text):
        old = os.path.join(work, "old-%d.bvp" % files)
        new = os.path.join(work, "new-%d.bvp" % files)
        make_profiles(files, old, new)
        result = subprocess.run([cli, "compare", old, new, "-o", report, "--drive", "d: [/data]",
                                 "--since", "3/14/24 9:00:00 AM"], env=ENV)
        if result.returncode not in (0, 1):
            sys.exit("brinvale-cli compare failed")
        os.remove(old)
        os.remove(new)
        subprocess.run([cli, "totext", report, "-o", text], env=ENV, check=True)
    with open(text, "rb") as f:
        paragraphs = sum(1 for _ in f)
    return report, paragraphs


def figures(out):
    return {k: float(v) for k, v in re.findall(r"(\w+)=(-?[\d.]+)", out)}


def timed_peak(command):
    """Runs `command`; returns its seconds and its own peak resident memory in MiB."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=ENV, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("%s failed (%d)" % (command[0], process.returncode))
    return seconds, usage.ru_maxrss / 1024


def median(rows, key):
    return statistics.median(r[key] for r in rows)


def window_part(args, report, paragraphs):
    print("== Open in the window: %s (%d paragraphs, %.0f MB) ==" % (
        os.path.basename(report), paragraphs, os.path.getsize(report) / 1e6))
    folder = os.path.join(args.work, "program")
    os.makedirs(folder, exist_ok=True)
    bench = os.path.join(args.bin, "huge_report_window_bench")
    columns = ("first_screen_s", "shown_s", "max_gap_ms", "p99_gap_ms", "scroll_end_s",
               "save_s", "peak_mib")
    print("%4s %14s %9s %11s %11s %13s %7s %9s %6s" % ("run", "first screen s", "shown s",
                                                       "max gap ms", "p99 gap ms", "scroll end s",
                                                       "save s", "peak MiB", "load"))
    rows = []
    for r in range(args.runs):
        command = [bench, "--program-folder", folder, "--report", report,
                   "--paragraphs", str(paragraphs), "--timeout-s", str(args.timeout)]
        if r == 0 and args.grab:
            command += ["--grab-during", os.path.join(args.grab, "huge-report-loading.png"),
                        "--grab-after", os.path.join(args.grab, "huge-report-loaded.png")]
        env = dict(ENV)
        if args.grab:
            env["QT_QPA_PLATFORM"] = "xcb"
        result = subprocess.run(command, env=env, capture_output=True, text=True)
        if result.returncode not in (0, 3):
            sys.exit("huge_report_window_bench failed (%d): %s" % (result.returncode,
                                                                    result.stderr))
        row = figures(result.stdout)
        rows.append(row)
        print("%4d %14.3f %9.3f %11.1f %11.1f %13.3f %7.3f %9.1f %6s%s" % (
            r + 1, *(row[c] for c in columns), load(),
            "  (stopped: not loaded)" if row.get("incomplete") else ""))
    print("median %12.3f %9.3f %11.1f %11.1f %13.3f %7.3f %9.1f" % tuple(median(rows, c)
                                                                         for c in columns))


def totext_part(args, report):
    print("== brinvale-cli totext ==")
    cli = os.path.join(args.bin, "brinvale-cli")
    empty = os.path.join(args.work, "empty.rtf")
    open(empty, "w").close()
    out = os.path.join(args.work, "totext.txt")
    base = statistics.median(timed_peak([cli, "totext", empty, "-o", out])[1]
                             for _ in range(args.runs))
    print("%-10s %9s %9s %16s %6s" % ("input", "seconds", "peak MiB", "above empty MiB", "load"))
    runs = []
    for _ in range(args.runs):
        runs.append(timed_peak([cli, "totext", report, "-o", out]))
        print("%-10s %9.3f %9.1f %16.1f %6s" % ("report", runs[-1][0], runs[-1][1],
                                                 runs[-1][1] - base, load()))
    seconds = statistics.median(r[0] for r in runs)
    peak = statistics.median(r[1] for r in runs)
    print("median: %.3f s, peak %.1f MiB, %.1f MiB above an empty file (%.1f MiB)" % (
        seconds, peak, peak - base, base))
    os.remove(out)


def print_part(args, report):
    print("== printing to the PDF file printer: %s ==" % os.path.basename(report))
    bench = os.path.join(args.bin, "print_bench")
    print("%-7s %6s %9s %9s %9s %6s" % ("route", "pages", "seconds", "cpu s", "peak MiB", "load"))
    for route in ("colour", "plain"):
        rows = []
        for _ in range(args.runs):
            out = subprocess.run([bench, "--route", route, "--report", report], env=ENV,
                                 capture_output=True, text=True)
            if out.returncode != 0:
                sys.exit("print_bench failed (%d): %s" % (out.returncode, out.stderr))
            rows.append(figures(out.stdout))
            print("%-7s %6d %9.2f %9.2f %9.1f %6s" % (
                route, rows[-1]["pages"], rows[-1]["seconds"], rows[-1].get("cpu_s", -1),
                rows[-1]["peak_mib"], load()))
        print("median %-7s %9.2f %9.2f %9.1f" % (route, median(rows, "seconds"),
                                                 statistics.median(r.get("cpu_s", -1)
                                                                   for r in rows),
                                                 median(rows, "peak_mib")))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--files", type=int, default=1_000_000)
    parser.add_argument("--print-files", type=int, default=100_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default="/tmp/brinvale-bench/huge-report")
    parser.add_argument("--timeout", type=int, default=300,
                        help="seconds after which a load in the window is stopped")
    parser.add_argument("--grab", help="folder for pictures of the window (needs a display)")
    parser.add_argument("--skip", nargs="*", default=[], choices=["window", "totext", "print"])
    parser.add_argument("--bin", default=BIN,
                        help="folder of the programs, to measure another build beside this one")
    args = parser.parse_args()
    for program in ("brinvale-cli", "huge_report_window_bench", "print_bench"):
        if not os.path.exists(os.path.join(args.bin, program)):
            sys.exit("build it first: cmake --build build --target brinvale-cli "
                     "huge_report_window_bench print_bench")
    os.makedirs(args.work, exist_ok=True)
    cli = os.path.join(args.bin, "brinvale-cli")
    print("load average before: %s" % load())
    report, paragraphs = make_report(args.work, args.files, cli)
    if "window" not in args.skip:
        window_part(args, report, paragraphs)
    if "totext" not in args.skip:
        totext_part(args, report)
    if "print" not in args.skip:
        print_report, _ = make_report(args.work, args.print_files, cli)
        print_part(args, print_report)
    print("load average after: %s" % load())


if __name__ == "__main__":
    main()
