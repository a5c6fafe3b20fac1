#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Brinvale with its tests and runs every test (the package's check included).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --tests
ctest --test-dir build --output-on-failure -j "$(nproc)"
