#!/usr/bin/env bash
# Builds the demo and runs the game lobby headless from its script; prints where
# the frames are.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRWND_DEMO_BUILD_DIR:-$root/build/demo-release}"
out="${ZRWND_DEMO_OUT:-$root/build/demo-frames}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZRWND_BUILD_TESTS=OFF -DZRWND_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)" --target zrwnd-demo

"$build/demo/zrwnd-demo" --headless --script "$root/demo/scripts/lobby.zrs" --out "$out"
echo "frames written to $out"
