#!/usr/bin/env bash
# Builds the replay reader's and the network start's libFuzzer harnesses (ASan + UBSan) and runs
# each for a number of inputs:
#   tools/fuzz/fuzz-replay.sh [runs, default 1000000]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$here/build/fuzz"
"$here/tools/fuzz/build-fuzzers.sh" "$out"
for harness in replay start; do
  "$out/fuzz_$harness" -runs="${1:-1000000}" -max_len=65536 -print_final_stats=1 \
    "$out/corpus/$harness" "$out/seeds/$harness"
done
