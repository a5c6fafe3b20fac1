#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs a test program as the unprivileged user "nobody" when started as root, so that tests
# of permission bits (which do not stop root) run on machines where everything runs as root.
# The program is copied to a fresh folder first: the build folder may not be reachable for
# nobody. Usage: run_unprivileged.sh PROGRAM [ARGS...]
set -eu
program=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  exec "$program" "$@"
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/test"
chmod 755 "$dir" "$dir/test"
cd "$dir"
setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$dir" "$dir/test" "$@"
