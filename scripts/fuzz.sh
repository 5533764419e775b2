#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Targets are fuzz/fuzz_*.cpp (all of them when none is named). New inputs
# that the fuzzer finds are kept in a scratch corpus under build-fuzz/corpus,
# the seed corpora in fuzz/corpus/ are only read. The whole output of each
# run goes to build-fuzz/logs/<target>.log, a crashing input to
# build-fuzz/artifacts/. Exits non-zero when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
scripts/install-deps.sh
command -v clang++-14 >/dev/null || { export DEBIAN_FRONTEND=noninteractive; apt-get install -y -q clang-14 libclang-rt-14-dev; }
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNO_BUILD_FUZZERS=ON -DVARNO_BUILD_TESTS=OFF -DVARNO_BUILD_BENCHMARKS=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=($(ls fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//'))
fi
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"
cp data/wert2.txt data/wert3.txt build-fuzz/bin/ 2>/dev/null || true
mkdir -p build-fuzz/logs build-fuzz/artifacts
failed=()
for t in "${targets[@]}"; do
    name=${t#fuzz_}
    work=build-fuzz/corpus/$name
    log=build-fuzz/logs/$t.log
    mkdir -p "$work"
    dict=()
    [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
    echo "== $t for ${seconds}s (log: $log)"
    status=0
    build-fuzz/bin/$t "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/artifacts/$t- -print_final_stats=1 "$work" "fuzz/corpus/$name" \
        >"$log" 2>&1 || status=$?
    grep -E '^(stat::|SUMMARY|==[0-9]+== ERROR)|deadly signal|Test unit written|timeout after' "$log" || true
    if [ "$status" -ne 0 ]; then
        echo "!! $t stopped with status $status"
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "faults found by: ${failed[*]}"
    exit 1
fi
