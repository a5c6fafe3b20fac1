#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Brinvale and its tests with sanitizers, in a build folder of their own, and runs the
# tests there. Run it before merging a change that touches threads or memory; it takes far
# longer than scripts/test.sh, so the suite's own run does not include it.
#   sanitize.sh address [CTEST OPTIONS]   AddressSanitizer and UndefinedBehaviorSanitizer in
#                                         build-asan/: every test
#   sanitize.sh thread [CTEST OPTIONS]    ThreadSanitizer in build-tsan/: every test
# A finding fails the test that made it. CTEST OPTIONS narrow the run, for example
# -R '^engine\.'. scripts/lsan-qt.supp and scripts/tsan-qt.supp name the places inside
# Debian's Qt (which is not built with the sanitizers) that the runs leave out, and only those.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  address) folder=build-asan sanitize=address,undefined ;;
  thread) folder=build-tsan sanitize=thread ;;
  *)
    echo "usage: sanitize.sh address|thread [CTEST OPTIONS]" >&2
    exit 2
    ;;
esac
shift
bash scripts/install-deps.sh
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINVALE_WERROR=ON \
  -DBRINVALE_BUILD_TESTS=ON -DBRINVALE_SANITIZE="$sanitize" >/dev/null
cmake --build "$folder" --parallel "$(nproc)"

# The programs the tests start (brinvale-cli) inherit these settings. Debian's Qt has no
# frame pointers: a leak's allocation is traced through Qt only by the slower full unwinding.
export ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-qt.supp print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1
# QProcess starts programs with a raw clone(CLONE_VM|CLONE_VFORK) (strace shows it), which
# the thread sanitizer does not see at all: the child runs on a stack inside the main
# thread's, and what it touches there is recorded as the main thread's own doing, so later
# work on that stack is reported for races that are not there. The print tests therefore
# run poppler's tools with fork and exec (reports/print_test_support.h, RunTool); the
# sanitizer turns a fork into one of its own and then takes the parent, too, for a child of
# a process with threads that must not start any: die_after_fork=0 lets the test go on.
export TSAN_OPTIONS="second_deadlock_stack=1 die_after_fork=0 suppressions=$PWD/scripts/tsan-qt.supp"
ctest --test-dir "$folder" --output-on-failure -j "$(nproc)" "$@"
