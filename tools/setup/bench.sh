#!/usr/bin/env bash
# Builds an optimised benchmark build and runs the benchmarks (bench/).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$here/build/bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvex_bench
"$build/bench/quorvex_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
