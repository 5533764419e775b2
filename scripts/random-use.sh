#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the random-use test: the real windows, headless, driven at
# random from a seed for a bounded time, with the invariants checked after
# every action.
#   scripts/random-use.sh [SECONDS] [SEED]
# Defaults: 60 seconds, a seed from the clock (printed first). A fault prints
# the seed, the step and the action log, and the exit status is not 0;
#   build/bin/varno-random-use --seed SEED --steps STEP --verbose
# replays it exactly.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
seed=${2:-$(date +%s)}
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target varno-random-use
exec build/bin/varno-random-use --seed "$seed" --seconds "$seconds"
