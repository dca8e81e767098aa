#!/usr/bin/env bash
# Builds the packet decoder's libFuzzer harness with clang (ASan + UBSan) and runs it for a while:
#   tools/fuzz/fuzz-packets.sh [seconds, default 60]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$here/build/fuzz"
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I"$here" \
  "$here/tools/fuzz/PacketsFuzz.cpp" "$here/game/net/Packets.cpp" "$here/game/net/Lockstep.cpp" \
  -o "$out/fuzz_packets"
"$out/fuzz_packets" -max_total_time="${1:-60}" -max_len=512 "$out/corpus"
