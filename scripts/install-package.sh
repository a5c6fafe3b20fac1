#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Brinvale, packages it as a .deb (brinvale_VERSION_ARCH.deb, also left in build/) and
# installs that with apt, which brings the Debian packages it depends on. Afterwards
# `brinvale` is in the desktop's menu, and `brinvale-cli`, its manual page and its bash
# completion are on the system. Remove it with `apt remove brinvale`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# The icon and the manual page, made at build time.
cmake --build build --target brinvale_install_files
cpack -G DEB --config build/CPackConfig.cmake -B build/package >/dev/null
deb=$(ls -t build/package/brinvale_*.deb | head -n 1)
echo "Package: $deb"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-package: run as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
# apt fetches local packages as its own user: hand it a copy it can read.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
cp "$deb" "$copy/"
chmod 644 "$copy/$(basename "$deb")"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$copy/$(basename "$deb")"
echo "Installed: $(brinvale-cli --version)"
