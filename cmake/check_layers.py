#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Fails on an #include of the program's own code that runs against the layers of
# docs/architecture.md ("Layers and the include rule"): each folder includes only from itself
# and the folders it may depend on, the POSIX and Qt implementations of the platform are
# chosen by the two programs alone, nothing of the program includes the tests' fakes, and the
# layers below reports/ include nothing of Qt. Test files (*_test.cpp, *test_support.h,
# platform/testing/) are left out; they may use any layer.
# Usage: check_layers.py SOURCE_ROOT
#        check_layers.py --self-test
import os
import re
import sys
import tempfile

# What each part may include, its own part aside. Every part may include base/.
MAY_INCLUDE = {
    "base": set(),
    "platform": set(),
    "engine": {"platform"},
    "reports": {"platform", "engine"},
    "help": {"platform"},
    "dialogs": {"platform", "engine", "reports", "help"},
    "app": {"platform", "engine", "reports", "help", "dialogs"},
    "cli": {"platform", "engine", "reports"},
}
ORDER = "base, platform, engine, reports, help, dialogs, app (cli beside app)"

# The platform's implementations: only these parts may include them.
IMPLEMENTATIONS = {
    "platform/posix": {"app", "cli", "platform/qt"},
    "platform/qt": {"app", "cli"},
}
# Headers of an implementation's folder that choose no implementation: every layer built on
# Qt may include them.
QT_HELPERS = {"platform/qt/native_path.h"}
QT_LAYERS = {"reports", "help", "dialogs", "app", "cli"}
TEST_SUPPORT = "platform/testing"
# The parts that are plain C++: no Qt header, whatever the include's form.
WITHOUT_QT = {"base", "platform", "platform/posix", "platform/zstd", "engine"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def part_of(path):
    """The part a path of the source tree (or an include) belongs to: its first folder, and
    for platform/ its sub-folder when it has one ("platform/posix")."""
    pieces = path.split("/")
    if len(pieces) > 2 and pieces[0] == "platform":
        return pieces[0] + "/" + pieces[1]
    return pieces[0] if len(pieces) > 1 else None


def layer_of(part):
    return part.split("/")[0]


def is_test_file(path):
    name = os.path.basename(path)
    return (name.endswith("_test.cpp") or "test_support" in name or
            path.startswith(TEST_SUPPORT + "/"))


def problem(source, included):
    """Why `source` (a part) may not include the file `included`, or None."""
    target = part_of(included)
    if target is None or layer_of(target) not in MAY_INCLUDE:
        return None  # a generated header, not one of the layers
    if included in QT_HELPERS and layer_of(source) in QT_LAYERS:
        return None
    if target == TEST_SUPPORT:
        return "the tests' fakes are for tests only"
    if target in IMPLEMENTATIONS and source != target and source not in IMPLEMENTATIONS[target]:
        return "%s is chosen by %s only" % (target, " and ".join(sorted(IMPLEMENTATIONS[target])))
    source_layer, target_layer = layer_of(source), layer_of(target)
    if target_layer in ("base", source_layer) or target_layer in MAY_INCLUDE[source_layer]:
        return None
    allowed = ", ".join(["base"] + sorted(MAY_INCLUDE[source_layer]))
    return "%s may include %s and itself (layer order: %s)" % (source_layer, allowed, ORDER)


def check(root):
    """The offending includes below `root`, one line each: file:line: arrow: include: why."""
    found = []
    for folder in sorted(MAY_INCLUDE):
        for directory, folders, files in os.walk(os.path.join(root, folder)):
            folders.sort()
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                if is_test_file(path):
                    continue
                source = part_of(path)
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        form, included = match.groups()
                        if form == "<":
                            if source in WITHOUT_QT and re.match(r"Q[A-Za-z]*$|Qt[A-Za-z]+/",
                                                                  included):
                                found.append("%s:%d: %s -> Qt: #include <%s>: %s has no Qt" %
                                             (path, number, source, included, source))
                            continue
                        why = problem(source, included)
                        if why:
                            found.append('%s:%d: %s -> %s: #include "%s": %s' %
                                         (path, number, source, part_of(included), included,
                                          why))
    return found


def self_test():
    """Plants includes of every kind in a tree of its own and checks what is found."""
    files = {
        "base/ascii.h": '#include <string>\n',
        "platform/volumes.h": '#include "base/status.h"\n#include "engine/status.h"\n',
        "platform/posix/fs.cpp": '#include "platform/file_system.h"\n',
        "platform/qt/volumes.cpp": '#include <QStorageInfo>\n#include "platform/posix/fs.h"\n',
        "platform/testing/fake.h": '#include "app/main_window.h"\n',
        "engine/scan.cpp": ('#include "engine/scan.h"\n#include "platform/posix/fs.h"\n'
                            '#include <QString>\n#include "platform/zstd/zstd_file.h"\n'),
        "engine/scan_test.cpp": '#include "app/main_window.h"\n',
        "reports/report.cpp": '#include "platform/testing/fake.h"\n#include "brinvale_version.h"\n',
        "help/help.cpp": '#include "reports/report.h"\n',
        "dialogs/dialog.cpp": ('#include "help/help.h"\n#include "app/main_window.h"\n'
                               '#include "platform/qt/native_path.h"\n'
                               '#include "platform/qt/qt_volumes.h"\n'),
        "engine/paths.cpp": '#include "platform/qt/native_path.h"\n',
        "cli/main.cpp": '#include "platform/posix/fs.h"\n#include "dialogs/dialog.h"\n',
        "app/main.cpp": '#include "cli/options.h"\n#include "platform/qt/volumes.h"\n',
        "app/window_test_support.h": '#include "platform/testing/fake.h"\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        arrows = [line.split(": ")[0] + ": " + line.split(": ")[1] for line in check(root)]
    expected = [
        "app/main.cpp:1: app -> cli",
        "cli/main.cpp:2: cli -> dialogs",
        "dialogs/dialog.cpp:2: dialogs -> app",
        "dialogs/dialog.cpp:4: dialogs -> platform/qt",
        "engine/paths.cpp:1: engine -> platform/qt",
        "engine/scan.cpp:2: engine -> platform/posix",
        "engine/scan.cpp:3: engine -> Qt",
        "help/help.cpp:1: help -> reports",
        "platform/volumes.h:2: platform -> engine",
        "reports/report.cpp:1: reports -> platform/testing",
    ]
    if arrows != expected:
        print("check_layers.py --self-test: found\n  %s\nexpected\n  %s" %
              ("\n  ".join(arrows), "\n  ".join(expected)))
        return 1
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print("usage: check_layers.py SOURCE_ROOT | --self-test", file=sys.stderr)
        return 2
    found = check(argv[1])
    for line in found:
        print(line)
    if found:
        print("%d include(s) against the layers; see docs/architecture.md, \"Layers and the "
              "include rule\"." % len(found))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
