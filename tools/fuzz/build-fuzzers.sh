#!/usr/bin/env bash
# Builds the libFuzzer harnesses of the replay reader (fuzz_replay) and of the network start as a
# guest takes it (fuzz_start) with clang, under ASan + UBSan, into a folder (default build/fuzz),
# with seeds from the committed replay. Run them for long with tools/fuzz/fuzz-replay.sh.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${1:-$here/build/fuzz}"
cxx="${CXX_FOR_FUZZ:-clang++}"
mkdir -p "$out/obj" "$out/seeds/replay" "$out/seeds/start" "$out/corpus/replay" "$out/corpus/start"
read -r -a pkgflags <<<"$(pkg-config --cflags sdl2 SDL2_mixer libxmp libpng)"
read -r -a pkglibs <<<"$(pkg-config --libs sdl2 SDL2_mixer libxmp libpng)"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -I"$here" "${pkgflags[@]}")
sources=("$here"/platform/*.cpp "$here/shipdef/ShipFile.cpp" "$here"/game/replay/{ReplayFile,StateHash,StateCheck,ShipCopies}.cpp
         "$here/game/net/Packets.cpp")
objects=()
for src in "${sources[@]}"; do
  objects+=("$out/obj/$(basename "$(dirname "$src")")-$(basename "$src" .cpp).o")
done
# An object is made again when its source or any header is newer.
newest_header="$(ls -t "$here"/platform/*.h "$here"/shipdef/*.h "$here"/game/*/*.h | head -1)"
for i in "${!sources[@]}"; do
  obj="${objects[$i]}"
  if [ "$obj" -nt "${sources[$i]}" ] && [ "$obj" -nt "$newest_header" ]; then continue; fi
  printf '%s\0%s\0' "${sources[$i]}" "$obj"
done |
  xargs -0 -r -n2 -P"$(nproc)" sh -c "$cxx ${flags[*]} -c \"\$0\" -o \"\$1\""
for harness in Replay Start; do
  lower="$(echo "$harness" | tr 'A-Z' 'a-z')"
  "$cxx" "${flags[@]}" -fsanitize=fuzzer "$here/tools/fuzz/${harness}Fuzz.cpp" "${objects[@]}" "${pkglibs[@]}" \
    -o "$out/fuzz_$lower"
done
# Seeds: the committed replay, and the same as the start packet a host sends (delay 4, then the text).
cp "$here/tests/replay/data/battle.qvr" "$out/seeds/replay/"
{ printf '\004'; cat "$here/tests/replay/data/battle.qvr"; } >"$out/seeds/start/battle"
