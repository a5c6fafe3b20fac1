#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Brinvale, packages it as two .debs (brinvale-cli_VERSION_ARCH.deb and
# brinvale_VERSION_ARCH.deb, also left in build/package/) and installs both with apt, which
# brings the Debian packages they depend on. Afterwards `brinvale` is in the desktop's menu,
# and `brinvale-cli`, the manual pages and the bash completion are on the system. Remove
# them with `apt remove brinvale-cli` (which takes the window with it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# The icon, the manual pages and the changelog, made at build time.
cmake --build build --target brinvale_install_files
rm -f build/package/*.deb
cpack -G DEB --config build/CPackConfig.cmake -B build/package >/dev/null
debs=(build/package/brinvale-cli_*.deb build/package/brinvale_*.deb)
echo "Packages: ${debs[*]}"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-package: run as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
# apt fetches local packages as its own user: hand it a copy it can read.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
cp "${debs[@]}" "$copy/"
chmod 644 "$copy"/*.deb
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$copy"/*.deb
echo "Installed: $(brinvale-cli --version)"
