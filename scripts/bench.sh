#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and prints every performance figure of docs/performance.md:
#
#   scripts/bench.sh [BUILD_DIR]        (default: build)
#
# Takes a few minutes. Not part of the tests: timings depend on the machine
# and on what else runs on it, so they are read by people, not asserted.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNO_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" \
    --target varno varno-calc bench_core bench_eurocode bench_spantable bench_pictures bench_windows bench_startup bench_make_projects
bin="$build/bin"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# Qt wants a private runtime folder; without one every child process warns.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo "== machine"
lscpu | grep -E '^(Model name|CPU\(s\)|Thread|Core|Socket|CPU max MHz|Hypervisor)' || true
free -h | sed -n 2p
echo "compiler: $(c++ --version | head -1)"
echo "build type: $(grep -E '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" | cut -d= -f2)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# Medians of five repetitions; the CPU column is the steadier one when the
# machine is shared.
repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)

echo
echo "== analysis and design (targets: RunAnalysis < 1.5 us, RunDesignNumbers < 2 us, RunDesign with both files < 300 us)"
"$bin/bench_core" "${repeat[@]}" 2>&1 | grep -E '^(Benchmark|-+$|BM_.*_median)'

echo
echo "== Eurocode check of the three-span full beam with both sizings (target: < 100 us)"
"$bin/bench_eurocode" "${repeat[@]}" 2>&1 | grep -E '^(Benchmark|-+$|BM_.*_median)'

echo
echo "== span tables: 20 sections x 10 load cases x 3 systems, every entry with the whole check (target: < 1 s)"
"$bin/bench_spantable" "${repeat[@]}" 2>&1 | grep -E '^(Benchmark|-+$|BM_.*_median)'
spanloads=0.5/1,0.5/1.5,0.5/2,0.5/2.5,0.5/3,1/1,1/1.5,1/2,1/2.5,1/3
if [ -x /usr/bin/time ]; then
    for i in 1 2 3 4 5; do
        QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%e s wall, %U s user' "$bin/varno-calc" --span-table \
            --ec-class C24 --loads "$spanloads" --csv "$scratch/table.csv" --pdf "$scratch/table.pdf" >/dev/null
    done 2>&1 | sort -n | sed -n '3s/^/varno-calc --span-table with CSV and PDF, median of five: /p'
fi

echo
echo "== picture files of one beam (targets: three SVG files < 5 ms, three PNG files < 30 ms)"
QT_QPA_PLATFORM=offscreen "$bin/bench_pictures" "${repeat[@]}" 2>&1 | grep -E '^(Benchmark|-+$|BM_.*_median)'

echo
echo "== windows, offscreen (targets: results first < 50 ms, repeated < 10 ms, keystroke < 1 ms)"
QT_QPA_PLATFORM=offscreen "$bin/bench_windows" "${repeat[@]}" 2>&1 | grep -E '^(Benchmark|-+$|BM_.*_median)'

echo
echo "== start to splash, first results command, peak memory (targets: < 300 ms, < 100 MB)"
# The offscreen platform notes for every window that it cannot raise it.
quiet() { grep -v '^This plugin does not support'; }
QT_QPA_PLATFORM=offscreen "$bin/bench_startup" --runs 10 2>&1 | quiet
QT_QPA_PLATFORM=offscreen "$bin/bench_startup" --runs 10 --results 2>&1 | quiet
if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/bench_startup" --runs 10
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/bench_startup" --runs 10 --results
else
    echo "(xvfb-run not installed: no figures on an X server)"
fi

echo
echo "== varno-calc over 1000 project files in one call, text and --json (target: >= 2000 files/s)"
"$bin/bench_make_projects" "$scratch/projects" 1000
files=("$scratch"/projects/*.lof)
# One call unmeasured, so the files are in the page cache.
"$bin/varno-calc" "${files[@]}" >/dev/null
measure_rss=()
if [ -x /usr/bin/time ]; then
    measure_rss=(/usr/bin/time -f '%M' -o "$scratch/rss")
else
    echo "(/usr/bin/time not installed: no peak memory; apt-get install time)"
fi
for mode in text --json; do
    json=()
    [ "$mode" = --json ] && json=(--json)
    for run in 1 2 3 4 5; do
        echo 0 >"$scratch/rss"
        start=$(date +%s%N)
        "${measure_rss[@]}" "$bin/varno-calc" "${json[@]}" "${files[@]}" >/dev/null
        end=$(date +%s%N)
        echo "$(( (end - start) / 1000 )) $(cat "$scratch/rss")"
    done | sort -n | awk -v n="${#files[@]}" -v mode="$mode" '
        { us[NR] = $1; if ($2 > rss) rss = $2 }
        END {
            m = us[int((NR + 1) / 2)]
            printf "%s, %d files: median %.1f ms = %.0f files/s (fastest run %.0f, slowest %.0f); max RSS %.1f MB\n",
                   mode, n, m / 1000, n / (m / 1e6), n / (us[1] / 1e6), n / (us[NR] / 1e6), rss / 1024
        }'
done

echo
echo "== varno-calc --eurocode over the same 1000 files (target: >= 1000 files/s)"
# C24 for every file: the grades without a default class would only be refused.
for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$bin/varno-calc" --eurocode --ec-class C24 "${files[@]}" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000 ))"
done | sort -n | awk -v n="${#files[@]}" '
    { us[NR] = $1 }
    END {
        m = us[int((NR + 1) / 2)]
        printf "%d files: median %.1f ms = %.0f files/s (fastest run %.0f, slowest %.0f)\n",
               n, m / 1000, n / (m / 1e6), n / (us[1] / 1e6), n / (us[NR] / 1e6)
    }'
