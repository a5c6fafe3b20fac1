#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The examples of the README, docs/ and the manual pages, run as a user would run them.

The command line is installed from the build (cmake --install, component cli) into a scratch
prefix, and every example block is run with bash in a scratch HOME, with that prefix's
/usr/bin first on PATH and /usr/share/doc/ read as the prefix's; each document's examples
start from an empty HOME of their own. Every block of the documents must be named in BLOCKS
below, either as run (with the exit statuses it may have and what its output must hold) or as
not run, with the reason: a new example that nobody looked at fails the test, and so does an
entry whose block is gone. Blocks that are not run are those with effects outside the scratch
HOME (building, apt, cron, systemctl --user, a window), and texts that are no commands
(formats, messages, file contents, which other tests compare).

Usage: docs_examples_test.py CMAKE BUILD_DIR SOURCE_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

CMAKE, BUILD, SOURCE = sys.argv[1:4]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def markdown_blocks(path):
    """The code blocks of a Markdown file: fenced, or indented by four blanks after a blank."""
    blocks, block, fenced, after_blank = [], None, False, True
    for line in open(path, encoding="utf-8").read().split("\n"):
        if line.startswith("```"):
            if fenced:
                blocks.append("\n".join(block))
                block = None
            else:
                block = []
            fenced = not fenced
            continue
        if fenced:
            block.append(line)
        elif line.startswith("    ") and (block is not None or after_blank):
            block = (block or []) + [line[4:]]
        elif line.strip() and block is not None:
            blocks.append("\n".join(block).rstrip("\n"))
            block = None
        elif not line.strip() and block is not None:
            block.append("")
        after_blank = not line.strip()
    if block:
        blocks.append("\n".join(block).rstrip("\n"))
    return blocks


def manual_page_blocks(path):
    """The .nf/.fi blocks of a manual page's EXAMPLES, with groff's escapes undone."""
    text = open(path, encoding="utf-8").read()
    examples = text[text.index(".SH EXAMPLES"):]
    examples = examples[:examples.index("\n.SH ", 1)]
    blocks = re.findall(r"^\.nf\n(.*?)^\.fi$", examples, re.S | re.M)
    return [b.rstrip("\n").replace("\\-", "-").replace("\\e", "\\") for b in blocks]


# What the tests' drive holds, and how it changes before the second run: one file added.
def make_pictures(home):
    os.makedirs(os.path.join(home, "Pictures"), exist_ok=True)
    with open(os.path.join(home, "Pictures", "beach.jpg"), "wb") as f:
        f.write(b"x" * 100)


def add_picture(home):
    with open(os.path.join(home, "Pictures", "dunes.jpg"), "wb") as f:
        f.write(b"y" * 2048)


JAN = 1736942400  # 2025-01-15T07:00:00-05:00
JUL = 1752580800  # 2025-07-15T08:00:00-04:00


def touch(path, size, mtime):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.truncate(size)
    os.utime(path, (mtime, mtime))


def make_data_story(home):
    """docs/json_changes.md's story: /data in January, as $HOME/data."""
    data = os.path.join(home, "data").encode()
    touch(os.path.join(data, b"docs/notes.txt"), 1200, JAN)
    touch(os.path.join(data, b"docs/old.log"), 300, 1735828200)  # 2025-01-02T09:30-05:00
    touch(os.path.join(data, b"docs/r\xe9sum\xe9.txt"), 10, JAN)
    run_cli(home, "profile", data, "-o", os.path.join(home, "Prof_K_.bvp"), "-q")
    touch(os.path.join(data, b"docs/notes.txt"), 1800, JUL)
    os.remove(os.path.join(data, b"docs/old.log"))
    touch(os.path.join(data, b"docs/r\xe9sum\xe9.txt"), 10, JUL)
    touch(os.path.join(data, b"movie.mkv"), 5368709120, JUL)
    run_cli(home, "profile", data, "-o", os.path.join(home, "new.bvp"), "-q")


def make_drive_k(home):
    """Drive K is $HOME/data, with a profile, and a file added since."""
    os.makedirs(os.path.join(home, ".local/share/Brinvale"), exist_ok=True)
    with open(os.path.join(home, ".local/share/Brinvale/drives.txt"), "a") as f:
        f.write("K\t%s/data\n" % home)
    run_cli(home, "run", "--yes", "-q", "K")
    touch(os.path.join(home, "data/docs/added.txt"), 5, JUL)


def json_example_output(block, home):
    """The lines the document shows after its command, with /data as the scratch one."""
    return "\n".join(block.split("\n")[1:]).replace("/data/", home + "/data/") + "\n"


RUN = "run"
# (file, the block's first line, RUN or the reason it is not run, and for RUN: the exit
# statuses it may end with, what to do before it, and a check of its output).
BLOCKS = [
    ("README.md", "bash scripts/start.sh", "builds the project and starts the window"),
    ("README.md", "bash scripts/test.sh", "builds the project and runs the tests"),
    ("README.md", "bash scripts/sanitize.sh address", "builds the project"),
    ("README.md", "bash scripts/install-package.sh", "installs with apt as root"),
    ("docs/architecture.md", "python3 cmake/check_layers.py .",
     "runs in the source tree (the test layers.includes runs it)"),
    ("docs/architecture.md", "platform/volumes.h:11: platform -> engine", "a message"),
    ("docs/json_changes.md", '{"drive":"k","totals"', "the form of an object, no command"),
    ("docs/json_changes.md", "$ brinvale-cli compare Prof_K_.bvp new.bvp", RUN, (1,),
     make_data_story, lambda block, home, out: out == json_example_output(block, home)),
    ("docs/json_changes.md", "import base64, json, subprocess", RUN, (0,), make_drive_k,
     lambda block, home, out: out == "added added.txt\n"),
    ("docs/profile_format.md", "profile   = *line", "a grammar"),
    ("docs/program_folder.md", "PROGRAM-FOLDER/Reports is a link", "a message"),
    ("docs/program_folder.md", "brinvale-cli: FILE is one of", "a message"),
    ("docs/program_folder.md", "Another run is using", "a message"),
    ("docs/program_folder.md", "[scan]", "a file's content"),
    ("docs/program_folder.md", "History/K/YYYYMMDDTHHMMSSZ.bvp.zst", "a file name"),
    ("docs/program_folder.md", "C\t/\tvolume", "a file's content"),
    ("docs/report_format.md", "report      := fresh-start", "a grammar"),
    ("docs/report_format.md", "title       := ", "a grammar"),
    ("docs/report_format.md", "plain       := ", "a grammar"),
    ("docs/report_format.md", "\\deflang1033", "a report's text"),
    ("docs/rtf_subset.md", "document     = junk*", "a grammar"),
    ("docs/rtf_subset.md", "{\\rtf1\\ansi", "a report's text"),
    ("docs/scheduled-runs.md", "install -D -m 755", RUN, (0,), None,
     lambda block, home, out: os.access(home + "/.local/bin/brinvale-mail-changes", os.X_OK)),
    ("docs/scheduled-runs.md", "#!/bin/sh",
     "the mail script's text (mail_changes_test compares it with the file)"),
    ("docs/scheduled-runs.md", "brinvale-cli run: Some places", "a message"),
    ("docs/scheduled-runs.md", "mkdir -p ~/.local/share/Brinvale\nprintf", RUN, (0,),
     None, lambda block, home, out: open(home + "/.local/share/Brinvale/ignore.txt", "rb").read()
     .endswith(b"/usr/share/polkit-1/rules.d/\r\n")),
    ("docs/scheduled-runs.md", "mkdir -p ~/.config/systemd/user", RUN, (0,), None,
     lambda block, home, out: all(os.path.isfile(home + "/.config/systemd/user/brinvale." + u)
                                  for u in ("service", "timer"))),
    ("docs/scheduled-runs.md", "[Unit]\nDescription=Brinvale: what changed",
     "a unit's text (package_test compares it with the installed example)"),
    ("docs/scheduled-runs.md", "[Unit]\nDescription=Brinvale every night",
     "a unit's text (package_test compares it with the installed example)"),
    ("docs/scheduled-runs.md", "systemctl --user daemon-reload", "systemctl --user"),
    ("docs/scheduled-runs.md", "systemctl --user disable", "systemctl --user"),
    ("docs/scheduled-runs.md", "30 2 * * * BRINVALE_MAIL_TO", "a crontab line"),
    ("docs/scheduled-runs.md", "MAILTO=you@example.org", "crontab lines"),
    # Nothing changed between the two runs: status 0, and the second run's report, named by
    # default after the drive, date and time, in plain text.
    ("packaging/brinvale-cli.1.in", "mkdir -p ~/.local/share/Brinvale", RUN, (0,),
     make_pictures, lambda block, home, out: re.fullmatch(
         re.escape(home) + r"/\.local/share/Brinvale/Reports/Drive_P_\d+-\d+-\d\d_\d{4}\.txt\n",
         out)),
    ("packaging/brinvale-cli.1.in", "brinvale-cli run --json P", RUN, (0, 1), add_picture,
     lambda block, home, out: out == home + "/Pictures/dunes.jpg\n"),
    ("packaging/brinvale-cli.1.in", "brinvale-cli history P --compare -1", RUN, (1,), None,
     lambda block, home, out: "/Reports/Drive_P_since_" in out),
    ("packaging/brinvale.1.in", "brinvale --program-folder", "opens a window"),
]


def run_cli(home, *args):
    subprocess.run([os.path.join(PREFIX, "usr/bin/brinvale-cli"), *args], env=env_for(home),
                   check=True, capture_output=True)


def env_for(home):
    return {"HOME": home, "PATH": PREFIX + "/usr/bin:/usr/bin:/bin", "LANG": "en_US.UTF-8",
            "TZ": "America/New_York"}


def main(work):
    global PREFIX
    PREFIX = os.path.join(work, "prefix")
    subprocess.run([CMAKE, "--install", BUILD, "--component", "cli", "--prefix",
                    PREFIX + "/usr"], check=True, capture_output=True)

    documents = ["README.md"] + sorted(
        os.path.relpath(p, SOURCE) for p in glob.glob(os.path.join(SOURCE, "docs/*.md")))
    pages = ["packaging/brinvale-cli.1.in", "packaging/brinvale.1.in"]
    used = set()
    ran = 0
    for document in documents + pages:
        path = os.path.join(SOURCE, document)
        blocks = manual_page_blocks(path) if document in pages else markdown_blocks(path)
        # Each document starts from a fresh account: its examples may build on each other,
        # never on another document's.
        home = os.path.join(work, "home-" + document.replace("/", "-"))
        os.makedirs(home)
        for block in blocks:
            entries = [e for e in BLOCKS if e[0] == document and block.startswith(e[1])]
            if len(entries) != 1:
                check(False, "%s: %d entries for the block %r" % (document, len(entries),
                                                                  block[:60]))
                continue
            entry = entries[0]
            used.add(BLOCKS.index(entry))
            if entry[2] != RUN:
                print("not run (%s): %s: %s" % (entry[2], document, block.split("\n")[0]))
                continue
            statuses, before, expect = entry[3], entry[4], entry[5]
            if before:
                before(home)
            # A block that starts with "$ " shows a command and what it prints.
            script = block.split("\n")[0][2:] if block.startswith("$ ") else block
            script = script.replace("/usr/share/doc/", PREFIX + "/usr/share/doc/")
            if block.startswith("import "):
                result = subprocess.run([sys.executable, "-c", script], env=env_for(home),
                                        capture_output=True, cwd=home)
            else:
                result = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", script],
                                        env=env_for(home), capture_output=True, cwd=home)
            out = result.stdout.decode("utf-8", "replace")
            print("ran: %s: %s -> %d" % (document, block.split("\n")[0], result.returncode))
            ran += 1
            check(result.returncode in statuses,
                  "%s: %r exited %d\n%s" % (document, block, result.returncode,
                                            result.stderr.decode("utf-8", "replace")))
            check(expect(block, home, out), "%s: %r printed\n%s" % (document, block, out))
    for i, entry in enumerate(BLOCKS):
        check(i in used, "no block of %s starts with %r any more" % (entry[0], entry[1]))
    print("%d examples run" % ran)


with tempfile.TemporaryDirectory() as work:
    main(work)
if failures:
    sys.exit("%d failed" % len(failures))
print("docs examples: all passed")
