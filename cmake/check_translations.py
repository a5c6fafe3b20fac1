#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Fails while a catalogue is behind the sources: lupdate runs over the window's sources into
# a copy of each .ts, and every text must come out with a finished translation. Each
# translation must also keep its English text's %1..%9 and give a caption with an access key
# ("&x") an access key of its own.
# Usage: check_translations.py LUPDATE PROJECT.json CATALOGUE.ts...
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def placeholders(text):
    return sorted(set(re.findall(r"%\d", text)))


def has_access_key(text):
    return re.search(r"&[^&\s]", text.replace("&&", "")) is not None


def check(path):
    problems = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = f"{name}: {source!r}"
            if translation is None or translation.get("type") in ("unfinished", "vanished",
                                                                   "obsolete"):
                problems.append(f"not translated: {where}")
                continue
            text = translation.text or ""
            if not text:
                problems.append(f"empty translation: {where}")
            if placeholders(text) != placeholders(source):
                problems.append(f"placeholders differ: {where} -> {text!r}")
            if has_access_key(source) and not has_access_key(text):
                problems.append(f"no access key: {where} -> {text!r}")
    return problems


def main():
    lupdate, project, catalogues = sys.argv[1], sys.argv[2], sys.argv[3:]
    failed = False
    with tempfile.TemporaryDirectory() as folder:
        for catalogue in catalogues:
            copy = os.path.join(folder, os.path.basename(catalogue))
            shutil.copyfile(catalogue, copy)
            run = subprocess.run([lupdate, "-project", project, "-ts", copy, "-locations", "none",
                                  "-no-obsolete"], capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout + run.stderr, file=sys.stderr)
                return 2
            problems = check(copy)
            for problem in problems:
                print(f"{os.path.basename(catalogue)}: {problem}")
            if problems:
                print(f"{catalogue}: {len(problems)} problem(s); run `cmake --build build "
                      "--target update_translations` and translate the new texts")
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
