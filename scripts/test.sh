#!/usr/bin/env bash
# Builds ZrWnd with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test. Exits non-zero on any failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRWND_BUILD_DIR:-$root/build/test-asan}"

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DZRWND_SANITIZE=ON \
  -DZRWND_BUILD_TESTS=ON \
  -DZRWND_BUILD_BENCH=ON
cmake --build "$build" --parallel "$(nproc)"

export ASAN_OPTIONS="abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"

# The threaded suites again under ThreadSanitizer.
tsan="${build}-tsan"
cmake -S "$root" -B "$tsan" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DZRWND_SANITIZE_THREAD=ON \
  -DZRWND_BUILD_TESTS=ON \
  -DZRWND_BUILD_ENGINE=OFF \
  -DZRWND_BUILD_BENCH=OFF
cmake --build "$tsan" --parallel "$(nproc)"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
  ctest --test-dir "$tsan" --output-on-failure

# The library and its suite once with Clang, without sanitizers.
clang="${build}-clang"
cmake -S "$root" -B "$clang" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DZRWND_BUILD_TESTS=ON \
  -DZRWND_BUILD_BENCH=OFF
cmake --build "$clang" --parallel "$(nproc)"
ctest --test-dir "$clang" --output-on-failure --parallel "$(nproc)"

# The live SDL2 window under Xvfb, driven by real X input.
"$root/scripts/test-live.sh" "$clang"

# The fuzz targets, a fixed number of inputs each (Clang, ASan and UBSan).
ZRWND_FUZZ_BUILD_DIR="${build}-fuzz" "$root/scripts/fuzz.sh"

# Installed as a game would use it: the CMake package, pkg-config, the demo.
ZRWND_BUILD_DIR="$(dirname "$build")" "$root/scripts/check-install.sh"
