#!/usr/bin/env bash
# Plays the committed test replay headless as fast as it can (quorvex --timedemo) on a release
# build and prints its frames, frames per second and final state hash, three times.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build/release"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvex game_data >/dev/null
replay="${1:-$here/tests/replay/data/battle.qvr}"
for run in 1 2 3; do
  echo "run $run:"
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0 \
    "$build/bin/quorvex" --timedemo "$replay"
done
