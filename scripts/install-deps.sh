#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian 12 packages that building, running and testing Brinvale need, and no
# more: the fuzzing toolchain is in install-fuzz-deps.sh, the benchmarks' peers in
# install-bench-deps.sh. Quick when everything is already there.
# Usage: install-deps.sh [PACKAGE...]   (more packages, as the other scripts ask for)
set -euo pipefail

packages=(
  # Building; ccache makes rebuilds mostly cache hits. Qt Charts' CMake files need Qt OpenGL's,
  # which qt6-charts-dev does not pull in.
  cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-charts-dev
  libqt6opengl6-dev qt6-qpa-plugins ccache
  # The window's translations: lupdate and lrelease, with Qt's own German for the standard
  # dialogs' buttons
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # zstd for the kept generations of profiles, found by pkg-config
  libzstd-dev pkgconf
  # Running: the report's font, the sound cues
  fonts-liberation gstreamer1.0-plugins-base
  # Testing: GoogleTest, PDF text of printed reports, a font of PostScript outlines (which the
  # PDF writer leaves to Qt's engine), the JSON Lines read back, the packages
  # made (dpkg-shlibdeps, and dpkg-buildflags for every build's hardening flags) and checked
  # (menu entry, manual pages, lintian, AppStream metadata, the programs' ELF headers), the
  # documents' examples run (jq)
  libgtest-dev libgmock-dev poppler-utils fonts-urw-base35 python3 dpkg-dev desktop-file-utils groff-base
  lintian appstream binutils jq
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
