#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The JSON Lines of brinvale-cli read back with Python's json module.

A tree with awkward names (quotes, backslashes, line breaks, control characters, Unicode line
and paragraph separators, names and folders that are not UTF-8, emoji) and a file over 4 GiB
is profiled, changed in every way a comparison reports, and profiled again. `compare --json`
must give one valid JSON object per line (the same lines for str.splitlines()), with the
fields of its kind, exact byte sizes, times whose UTC offset names the very moment of the
file's time, the exact bytes of every name that is not UTF-8, the same changes as the
plain-text report in the same order, and totals that add up. `run --json` must give
the same form on standard output and still save its report.

Usage: json_lines_test.py BRINVALE_CLI
"""
import base64
import datetime
import json
import os
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
ENV = dict(os.environ, TZ="America/New_York", LANG="en_US.UTF-8")
ENV.pop("LC_ALL", None)

WINTER = 1736942400  # 2025-01-15 12:00:00 UTC: 07:00 -05:00 in New York
SUMMER = 1752580800  # 2025-07-15 12:00:00 UTC: 08:00 -04:00 in New York

FIELDS = {
    "added": {"drive", "kind", "folder", "name", "size", "time"},
    "deleted": {"drive", "kind", "folder", "name", "size", "time"},
    "grew": {"drive", "kind", "folder", "name", "oldSize", "newSize"},
    "shrunk": {"drive", "kind", "folder", "name", "oldSize", "newSize"},
    "time": {"drive", "kind", "folder", "name", "oldTime", "newTime"},
}
TOTALS = ["added", "deleted", "grew", "shrunk", "time", "addedBytes", "deletedBytes",
          "changedBytes", "netBytes"]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def cli(*args, ok=(0, 1)):
    result = subprocess.run([CLI, *args], env=ENV, capture_output=True)
    if result.returncode not in ok:
        sys.exit("brinvale-cli %s: exit %d\n%s" % (args[0], result.returncode,
                                                   result.stderr.decode(errors="replace")))
    return result


def write(root, relative, size, mtime):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.truncate(size)
    os.utime(path, (mtime, mtime))


def text_of(value, raw):
    """The bytes a name or folder field stands for, checked against its raw form."""
    if raw is None:
        return value.encode("utf-8")
    exact = base64.b64decode(raw, validate=True)
    check(value == exact.decode("utf-8", "replace"),
          "U+FFFD in place of each bad sequence of %r" % exact)
    try:
        exact.decode("utf-8")
        check(False, "a raw form only for bytes that are not UTF-8: %r" % exact)
    except UnicodeDecodeError:
        pass
    return exact


def seconds(iso):
    moment = datetime.datetime.fromisoformat(iso)
    check(moment.tzinfo is not None, "time %s has its UTC offset" % iso)
    return int(moment.timestamp())


def read_lines(data):
    check(data.endswith(b"\n"), "JSON Lines end with a line end")
    objects = []
    lines = data.decode("utf-8").split("\n")[:-1]
    for line in lines:
        objects.append(json.loads(line))  # raises on anything that is not one JSON value
    # Readers that split at every Unicode line end (U+0085, U+2028, U+2029) see the same lines.
    check(data.decode("utf-8").splitlines() == lines, "splitlines() gives the same lines")
    return objects


def changes_of_report(text):
    """(kind, name) of each change line of a plain-text report, in order."""
    found = []
    for line in text.decode("utf-8").split("\r\n"):
        if not line.startswith("   "):
            continue
        body = line[3:]
        if body.startswith("Added "):
            found.append(("added", body[6:body.rindex(" (")]))
        elif body.startswith("Deleted "):
            found.append(("deleted", body[8:body.rindex(" (")]))
        elif "  Grew from " in body:
            found.append(("grew", body[:body.index("  Grew from ")]))
        elif "  Shrunk from " in body:
            found.append(("shrunk", body[:body.index("  Shrunk from ")]))
        elif ": Time Changed From: " in body:
            found.append(("time", body[:body.index(": Time Changed From: ")]))
    return found


def main(work):
    tree = os.path.join(work, b"tree")
    awkward = b'quote"back\\slash/new\nline\ttab\x01.txt'
    latin = b"caf\xe9/r\xe9sum\xe9.txt"
    emoji = b"\xf0\x9f\x98\x80 smile/grin \xe4\xb8\xad.txt"
    before = {
        b"docs/same.txt": (10, WINTER),
        b"docs/grow.txt": (5, WINTER),
        b"docs/shrink.txt": (10, WINTER),
        b"docs/retime.txt": (7, WINTER),
        b"docs/both.txt": (7, WINTER),
        b"docs/gone.txt": (3, SUMMER),
        awkward: (1, WINTER),
        latin: (2, WINTER),
        emoji: (4, WINTER),
    }
    for relative, (size, mtime) in before.items():
        write(tree, relative, size, mtime)
    old, new = os.path.join(work, b"old.bvp"), os.path.join(work, b"new.bvp")
    cli("profile", tree, "-o", old, "-q")

    big = 5 * 2**30 + 7
    write(tree, b"docs/grow.txt", 5000, WINTER)
    write(tree, b"docs/shrink.txt", 1, WINTER)
    write(tree, b"docs/retime.txt", 7, SUMMER)
    write(tree, b"docs/both.txt", 9, SUMMER)
    os.remove(os.path.join(tree, b"docs/gone.txt"))
    write(tree, awkward, 2, SUMMER)
    write(tree, latin, 2**33, WINTER)  # a name that is not UTF-8 grows past 4 GiB
    write(tree, b"big.bin", big, SUMMER)
    write(tree, b"added \xff\xfe.txt", 6, WINTER)
    write(tree, b"\x7f\x1b[31mred", 0, WINTER)
    write(tree, "line\u2028sep\u2029para\u0085nel.txt".encode(), 3, WINTER)
    cli("profile", tree, "-o", new, "-q")

    out = os.path.join(work, b"changes.jsonl")
    result = cli("compare", old, new, "--json", "--drive", "k: [tree]", "-o", out)
    check(result.returncode == 1, "exit status 1 for changes")
    check(result.stdout == b"", "nothing on standard output with -o")
    with open(out, "rb") as f:
        data = f.read()
    check(cli("compare", old, new, "--json", "--drive", "k: [tree]").stdout == data,
          "standard output gets the same lines")
    objects = read_lines(data)
    changes, totals = objects[:-1], objects[-1]

    seen = []
    for change in changes:
        kind = change.get("kind")
        check(change.get("drive") == "k", "drive k in %r" % change)
        check(set(change) - {"rawName", "rawFolder"} == FIELDS.get(kind), "fields of %r" % change)
        folder = text_of(change["folder"], change.get("rawFolder"))
        name = text_of(change["name"], change.get("rawName"))
        path = os.path.join(folder, name)
        seen.append((kind, os.path.relpath(path, tree)))
        if kind == "added":
            st = os.lstat(path)
            check(change["size"] == st.st_size, "size of %r" % path)
            check(seconds(change["time"]) == int(st.st_mtime), "time of %r" % path)
        if kind == "time":
            check(seconds(change["newTime"]) == int(os.lstat(path).st_mtime), "new time %r" % path)
            check(seconds(change["oldTime"]) == before[os.path.relpath(path, tree)][1],
                  "old time of %r" % path)
        if kind in ("grew", "shrunk"):
            relative = os.path.relpath(path, tree)
            check(change["oldSize"] == before[relative][0], "old size of %r" % path)
            check(change["newSize"] == os.lstat(path).st_size, "new size of %r" % path)
    expected = {
        ("added", b"big.bin"), ("added", b"added \xff\xfe.txt"), ("added", b"\x7f\x1b[31mred"),
        ("added", "line\u2028sep\u2029para\u0085nel.txt".encode()),
        ("deleted", b"docs/gone.txt"), ("grew", b"docs/grow.txt"), ("shrunk", b"docs/shrink.txt"),
        ("time", b"docs/retime.txt"), ("grew", b"docs/both.txt"), ("time", b"docs/both.txt"),
        ("grew", awkward), ("time", awkward), ("grew", latin),
    }
    check(set(seen) == expected and len(seen) == len(expected),
          "the changes: %r" % sorted(set(seen) ^ expected))
    big_line = [c for c in changes if c.get("name") == "big.bin"]
    check(big_line and big_line[0]["size"] == big, "a size over 4 GiB is exact")
    times = [c["time"] for c in changes if c["kind"] == "added"]
    check(any(t.endswith("-04:00") for t in times) and any(t.endswith("-05:00") for t in times),
          "summer and winter offsets: %r" % times)

    check(list(totals) == ["drive", "totals"] and totals["drive"] == "k", "totals object")
    sums = totals["totals"]
    check(list(sums) == TOTALS, "totals fields %r" % list(sums))
    for kind in FIELDS:
        check(sums[kind] == sum(1 for c in changes if c["kind"] == kind), "count of " + kind)
    added = sum(c["size"] for c in changes if c["kind"] == "added")
    deleted = sum(c["size"] for c in changes if c["kind"] == "deleted")
    changed = sum(c["newSize"] - c["oldSize"] for c in changes if c["kind"] in ("grew", "shrunk"))
    check((sums["addedBytes"], sums["deletedBytes"], sums["changedBytes"]) ==
          (added, deleted, changed), "byte totals")
    check(sums["netBytes"] == added + changed - deleted, "net change")

    # The report holds the same changes in the same order.
    report = os.path.join(work, b"report.txt")
    cli("compare", old, new, "--text", "-o", report)
    with open(report, "rb") as f:
        in_report = changes_of_report(f.read())
    check([kind for kind, _ in in_report] == [c["kind"] for c in changes],
          "kinds in the report's order: %r" % in_report)
    plain = [(c["kind"], c["name"]) for c in changes if c["name"].isascii()
             and c["name"].isprintable()]
    check([r for r in in_report if r in plain] == plain, "names in the report's order")

    # A run: the same form on standard output, and the report saved all the same.
    program = os.path.join(work, b"program")
    os.mkdir(program)
    with open(os.path.join(program, b"drives.txt"), "wb") as f:
        f.write(b"X\t" + tree + b"\n")
    cli("run", "--yes", "X", "--program-folder", program)
    write(tree, b"docs/same.txt", 11, SUMMER)
    result = cli("run", "--json", "X", "--program-folder", program)
    check(result.returncode == 1, "run exits 1")
    lines = read_lines(result.stdout)
    check([line.get("kind") for line in lines] == ["grew", "time", None], "run's lines %r" % lines)
    check(lines[-1]["drive"] == "x" and lines[-1]["totals"]["changedBytes"] == 1, "run's totals")
    reports = os.listdir(os.path.join(program, b"Reports"))
    check(len(reports) == 1, "the run saved its report: %r" % reports)

    if failures:
        sys.exit("%d failed checks" % len(failures))
    print("JSON Lines: %d changes and their totals read back whole" % len(changes))


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="brinvale-json-") as folder:
        main(os.fsencode(folder))
