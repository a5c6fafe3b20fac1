#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the peers the benchmarks measure Brinvale against (mtree, for
# bench/profile_bench.py and bench/compare_bench.py) besides the usual build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh mtree-netbsd
