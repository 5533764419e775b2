#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Varno and every test with AddressSanitizer and UndefinedBehaviorSanitizer
# in ./build-asan and runs the tests headless. Any sanitizer report stops the
# test program it happens in, and so fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNO_SANITIZE=ON \
    -DVARNO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Leak checking is off: Qt keeps plugin, font and style allocations until the
# process ends and does not free all of them, so LeakSanitizer reports
# allocations of Qt's own at every exit and would drown any real finding.
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
# The whole program used at random for a minute, with a fixed seed so that a
# failure in CI replays anywhere.
build-asan/bin/varno-random-use --seed 20261208 --seconds 60
