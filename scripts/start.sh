#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the two programs (no tests: a first start takes a few minutes) and starts the
# window. Without a display (neither $DISPLAY nor $WAYLAND_DISPLAY set) it says so and shows
# the command-line front end instead: it profiles a sample tree, changes it, and prints the
# change report and the same changes as JSON Lines. Arguments go to the window (for example
# --program-folder DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/brinvale "$@"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): showing the command-line demonstration instead of the window."
cli=build/bin/brinvale-cli
"$cli" --version
sample=$(mktemp -d)
trap 'rm -rf "$sample"' EXIT
mkdir -p "$sample/tree/docs" "$sample/tree/photos, 2026"
printf 'hello\n' > "$sample/tree/docs/readme.txt"
printf 'old\n' > "$sample/tree/docs/notes.txt"
head -c 3000 /dev/zero > "$sample/tree/photos, 2026/beach.jpg"
"$cli" profile "$sample/tree" -o "$sample/before.bvp" -q
echo "--- profile:"
cat "$sample/before.bvp"
printf 'hello again, world\n' >> "$sample/tree/docs/readme.txt"
rm "$sample/tree/docs/notes.txt"
head -c 5000 /dev/zero > "$sample/tree/photos, 2026/harbour.jpg"
"$cli" profile "$sample/tree" -o "$sample/after.bvp" -q
status=0
"$cli" compare "$sample/before.bvp" "$sample/after.bvp" -o "$sample/report.txt" --text \
  --drive "c: [$sample/tree]" || status=$?
echo "--- change report:"
cat "$sample/report.txt"
[ "$status" -le 1 ]
echo "--- the same changes as JSON Lines (brinvale-cli compare --json):"
status=0
"$cli" compare "$sample/before.bvp" "$sample/after.bvp" --json --drive "c: [$sample/tree]" \
  || status=$?
[ "$status" -le 1 ]
