#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reliability of runs on a real disk: kills at random moments and two runs at once.

Builds a tree of FILES files in three folders that a temporary program folder's
drives.txt names as drives X, Y and Z, and gives them profiles. Then:

- KILLS times: changes every drive (a new file named for the trial, one file gone, one
  grown), starts `brinvale-cli run X Y Z` and kills it (SIGKILL) at a random moment within
  the length of a whole run. Each stored profile must then be whole: the one from before
  or the complete new scan, every line well-formed. A profile that was replaced must have
  its changes in the saved report. Then a normal run follows; it must not be refused, and
  afterwards no temporary may be left.
- PAIRS times: changes the drives, starts a run, and once it holds the program folder's
  lock starts a second one. The second must be refused at once with the one line
  "Another run is using this program folder (pid N)." and exit status 2, the first must
  finish with status 1, and the profiles must be whole.

Prints how many profiles were intact, how many temporaries were left and how many second
runs were refused cleanly; exits with 1 when any check failed.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CLI = os.path.join(HERE, "..", "build", "bin", "brinvale-cli")
DRIVES = ["X", "Y", "Z"]
LINE = re.compile(rb'-?\d+,#\d{4}-\d\d-\d\d( \d\d:\d\d:\d\d)?#,"[^"]*","[^"]*"\r\n')
TEMPORARY = re.compile(r"\.brinvale-\d+-|\.copy-\d+-\d+$|^bvp\.tmp$|^section\.tmp$|\.part$")


class Stress:
    def __init__(self, cli, work, files, seed):
        self.cli = cli
        self.work = work
        self.rng = random.Random(seed)
        self.program = os.path.join(work, "program")
        self.roots = {d: os.path.join(work, "drive" + d) for d in DRIVES}
        self.env = dict(os.environ, LANG="en_US.UTF-8", TZ="UTC",
                        XDG_DATA_HOME=os.path.join(work, "data"))
        self.failures = []
        os.makedirs(self.program)
        with open(os.path.join(self.program, "drives.txt"), "w") as f:
            for d in DRIVES:
                f.write("%s\t%s\n" % (d, self.roots[d]))
        for i in range(files):
            d = DRIVES[i % 3]
            folder = os.path.join(self.roots[d], "f%d" % (i // 30 % 40), "g%d" % (i % 7))
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, "file%d.dat" % i), "wb") as f:
                f.write(b"x" * self.rng.randint(0, 4096))

    def run_args(self):
        return [self.cli, "run", "X", "Y", "Z", "--program-folder", self.program]

    def run(self):
        return subprocess.run(self.run_args() + ["--yes"], env=self.env, capture_output=True)

    def profile_path(self, d):
        return os.path.join(self.program, "Prof_%s_.bvp" % d)

    def stored(self):
        out = {}
        for d in DRIVES:
            with open(self.profile_path(d), "rb") as f:
                out[d] = f.read()
        return out

    def fresh_scans(self):
        """The profile a complete scan of each drive gives now."""
        out = {}
        for d in DRIVES:
            target = os.path.join(self.work, "expected.bvp")
            subprocess.run([self.cli, "profile", self.roots[d], "-o", target], env=self.env,
                           capture_output=True, check=True)
            with open(target, "rb") as f:
                out[d] = f.read()
        return out

    def begin_trial(self, trial):
        """Changes the drives; returns the stored profiles and those a scan gives now."""
        before = self.stored()
        self.change(trial)
        return before, self.fresh_scans()

    def change(self, trial):
        for d in DRIVES:
            files = []
            for folder, _, names in os.walk(self.roots[d]):
                files += [os.path.join(folder, n) for n in names]
            gone = self.rng.choice(files)
            os.remove(gone)
            files.remove(gone)
            with open(self.rng.choice(files), "ab") as f:
                f.write(b"more")
            with open(os.path.join(self.roots[d], "trial-%d.txt" % trial), "wb") as f:
                f.write(b"new")

    def temporaries(self):
        found = []
        for folder in (self.program, os.path.join(self.program, "Reports")):
            if os.path.isdir(folder):
                found += [n for n in os.listdir(folder) if TEMPORARY.search(n)]
        return found

    def check_profiles(self, before, after_scan, what):
        """Counts the intact profiles; notes any that is neither old nor new, or broken."""
        intact = 0
        replaced = []
        now = self.stored()
        for d in DRIVES:
            whole = len(LINE.sub(b"", now[d])) == 0
            if whole and now[d] in (before[d], after_scan[d]):
                intact += 1
            else:
                self.failures.append("%s: profile %s is neither the old nor the new one" % (what, d))
            if now[d] == after_scan[d] and now[d] != before[d]:
                replaced.append(d)
        return intact, replaced

    def changes_lost(self, replaced, trial, what):
        """A replaced profile whose changes are in no saved report lost them."""
        lost = 0
        for d in replaced:
            report = os.path.join(self.program, "Reports", "Drive_%s.txt" % d)
            text = open(report, "rb").read() if os.path.exists(report) else b""
            if b"Added trial-%d.txt" % trial not in text:
                lost += 1
                self.failures.append("%s: drive %s was replaced, its report lacks the change"
                                     % (what, d))
        return lost


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--files", type=int, default=3000)
    parser.add_argument("--kills", type=int, default=100)
    parser.add_argument("--pairs", type=int, default=30)
    parser.add_argument("--seed", type=int, default=11)
    parser.add_argument("--cli", default=CLI)
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    if not os.access(cli, os.X_OK):
        sys.exit("no %s: build it first (cmake --build build --target brinvale-cli)" % cli)

    work = tempfile.mkdtemp(prefix="brinvale-stress-")
    try:
        s = Stress(cli, work, args.files, args.seed)
        first = s.run()
        if first.returncode != 0:
            sys.exit("the first run failed: %s" % first.stderr.decode())
        trial = 0
        lengths = []
        for _ in range(3):
            trial += 1
            s.change(trial)
            start = time.monotonic()
            s.run()
            lengths.append(time.monotonic() - start)
        length = max(lengths)

        intact = killed_temporaries = later_temporaries = lost = refused_after = 0
        pair_lost = replaced_by_killed = 0
        for _ in range(args.kills):
            trial += 1
            before, after_scan = s.begin_trial(trial)
            process = subprocess.Popen(s.run_args(), env=s.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(s.rng.uniform(0, length))
            process.send_signal(signal.SIGKILL)
            process.wait()
            what = "kill %d" % trial
            count, replaced = s.check_profiles(before, after_scan, what)
            intact += count
            replaced_by_killed += len(replaced)
            lost += s.changes_lost(replaced, trial, what)
            killed_temporaries += len(s.temporaries())
            follow = s.run()
            if follow.returncode not in (0, 1):
                refused_after += 1
                s.failures.append("%s: the next run ended with %d: %s"
                                  % (what, follow.returncode, follow.stderr.decode().strip()))
            left = s.temporaries()
            later_temporaries += len(left)
            if left:
                s.failures.append("%s: left after the next run: %s" % (what, left))

        refused = overlapping = first_done = pair_intact = pair_temporaries = 0
        lock = os.path.join(s.program, "brinvale.lock")
        for _ in range(args.pairs):
            trial += 1
            before, after_scan = s.begin_trial(trial)
            first_run = subprocess.Popen(s.run_args(), env=s.env, stdout=subprocess.PIPE,
                                         stderr=subprocess.PIPE)
            deadline = time.monotonic() + 10
            holds = False
            while time.monotonic() < deadline and first_run.poll() is None:
                try:
                    holds = open(lock).read().strip() == str(first_run.pid)
                except OSError:
                    holds = False
                if holds:
                    break
                time.sleep(0.002)
            second = subprocess.run(s.run_args(), env=s.env, capture_output=True)
            out, err = first_run.communicate()
            what = "pair %d" % trial
            if holds:
                overlapping += 1
                expected = "Another run is using this program folder (pid %d).\n" % first_run.pid
                if (second.returncode == 2 and second.stderr.decode() == expected
                        and second.stdout == b""):
                    refused += 1
                else:
                    s.failures.append("%s: second run: %d %r" % (what, second.returncode,
                                                                 second.stderr.decode()))
            if first_run.returncode == 1:
                first_done += 1
            else:
                s.failures.append("%s: first run ended with %d: %s"
                                  % (what, first_run.returncode, err.decode().strip()))
            count, replaced = s.check_profiles(before, after_scan, what)
            pair_intact += count
            # A second run that was not refused ran after the first and, with names by
            # drive only, replaced its reports by design.
            if holds:
                pair_lost += s.changes_lost(replaced, trial, what)
            pair_temporaries += len(s.temporaries())

        profiles = len(DRIVES)
        print("tree: %d files in %d folder drives; a run of all three takes %.2f s"
              % (args.files, profiles, length))
        print("kills at random moments: %d" % args.kills)
        print("  profiles intact after the kill:         %d of %d"
              % (intact, args.kills * profiles))
        print("  of them replaced before the kill:       %d" % replaced_by_killed)
        print("  changes lost (replaced, not reported):  %d" % lost)
        print("  temporaries left by the kills:          %d (removed by the next run)"
              % killed_temporaries)
        print("  temporaries left after the next run:    %d" % later_temporaries)
        print("  next runs refused or failed:            %d" % refused_after)
        print("two runs at once: %d" % args.pairs)
        print("  second runs refused cleanly:            %d of %d (overlapping: %d)"
              % (refused, args.pairs, overlapping))
        print("  first runs finished, changes reported:  %d of %d" % (first_done, args.pairs))
        print("  profiles intact:                        %d of %d"
              % (pair_intact, args.pairs * profiles))
        print("  changes lost (replaced, not reported):  %d" % pair_lost)
        print("  temporaries left:                       %d" % pair_temporaries)
        for failure in s.failures[:20]:
            print("FAILED " + failure)
        sys.exit(1 if s.failures or overlapping < args.pairs else 0)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
