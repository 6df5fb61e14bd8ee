#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with Clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each over its seed corpus.
#
#   scripts/fuzz.sh                   each target for ZRWND_FUZZ_RUNS (20000) inputs (edit: a tenth)
#   ZRWND_FUZZ_TIME=600 scripts/fuzz.sh   each target for ten minutes instead
#   ZRWND_FUZZ_KEEP=DIR scripts/fuzz.sh   keep the inputs found in DIR/TARGET
#
# An input that breaks a target is written to build/fuzz/artifacts and the
# script fails; rerun it with build/fuzz/tests/fuzz/zrwnd_fuzz_TARGET FILE.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRWND_FUZZ_BUILD_DIR:-$root/build/fuzz}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DZRWND_FUZZ=ON \
  -DZRWND_BUILD_TESTS=OFF \
  -DZRWND_BUILD_BENCH=OFF
cmake --build "$build" --target zrwnd_fuzz --parallel "$(nproc)"

export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
artifacts="$build/artifacts"
mkdir -p "$artifacts"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for target in script image font tree layout edit; do
  found="${ZRWND_FUZZ_KEEP:+$ZRWND_FUZZ_KEEP/$target}"
  found="${found:-$work/$target}"
  mkdir -p "$found"
  if [ -n "${ZRWND_FUZZ_TIME:-}" ]; then
    limit="-max_total_time=$ZRWND_FUZZ_TIME"
  else
    runs="${ZRWND_FUZZ_RUNS:-20000}"
    # The edit target types into boxes drawn with the reference engine's real
    # fonts, some forty inputs a second: it runs a tenth of the inputs.
    [ "$target" = edit ] && runs=$((runs / 10))
    limit="-runs=$runs"
  fi
  echo "fuzz: $target ($limit)"
  # A fixed seed, so that the same build runs the same inputs.
  status=0
  "$build/tests/fuzz/zrwnd_fuzz_$target" "$limit" -seed=1 -max_len=4096 -rss_limit_mb=2560 \
    -artifact_prefix="$artifacts/$target-" "$found" "$root/tests/fuzz/corpus/$target" \
    >"$work/$target.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/$target.log"
    echo "fuzz: $target broke (exit $status); the input is in $artifacts"
    exit 1
  fi
  grep -E '^(#[0-9]+ +DONE|Done)' "$work/$target.log" || true
done
echo "fuzz: every target ran clean"
