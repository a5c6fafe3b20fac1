#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what the libFuzzer targets need besides the usual build: clang and its runtime
# libraries (libFuzzer, the address and undefined-behaviour sanitizers). Then:
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBRINVALE_FUZZ=ON
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh clang libclang-rt-14-dev
