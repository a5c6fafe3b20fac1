#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, then builds Brinvale in build/ (Release with debug info, warnings
# as errors).
#   build.sh [CMAKE OPTIONS]          the two programs only; a new build/ is configured
#                                     without the tests, so a first start is quick
#   build.sh --tests [CMAKE OPTIONS]  everything, tests included (scripts/test.sh)
# Both configure build/ alike but for the tests, which change no program's compile flags: one
# never makes the other rebuild the programs. CMake options go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
tests=OFF
if [ "${1:-}" = "--tests" ]; then
  tests=ON
  shift
fi
configure=(cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINVALE_WERROR=ON)
if [ "$tests" = ON ]; then
  "${configure[@]}" -DBRINVALE_BUILD_TESTS=ON "$@" >/dev/null
  cmake --build build
else
  # An existing build/ keeps its choice of tests: a build made by scripts/test.sh already
  # has the programs.
  if [ ! -f build/CMakeCache.txt ] || [ $# -gt 0 ]; then
    "${configure[@]}" -DBRINVALE_BUILD_TESTS=OFF "$@" >/dev/null
  fi
  cmake --build build --target brinvale brinvale-cli
fi
