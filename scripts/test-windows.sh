#!/usr/bin/env bash
# Cross-builds ZrWnd for Windows with MinGW-w64: the 32-bit ZrWnd.dll (checking
# its exports) and the test suites of both widths, which run under Wine in Xvfb.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRWND_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh" --windows

# The 32-bit DLL, its exports and its suites (run under 32-bit Wine below).
cmake -S "$root" -B "$build/win-i686" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Debug -DZRWND_BUILD_TESTS=ON -DZRWND_BUILD_BENCH=OFF
cmake --build "$build/win-i686" --parallel "$(nproc)" --target ZrWnd zrwnd_tests zrwnd_win32_tests
bash "$root/scripts/check-exports.sh" "$build/win-i686/ZrWnd.dll" i686-w64-mingw32-objdump

# The 64-bit suites, run under Wine.
cmake -S "$root" -B "$build/win-x86_64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Debug -DZRWND_BUILD_TESTS=ON -DZRWND_BUILD_BENCH=OFF
cmake --build "$build/win-x86_64" --parallel "$(nproc)" --target ZrWnd zrwnd_tests zrwnd_win32_tests

# Installed as a game would use it: the DLL, its import library, the headers
# and the CMake package, and a game built against them.
winprefix="$build/win-x86_64-prefix"
rm -rf "$winprefix" "$build/win-x86_64-minimal"
cmake --install "$build/win-x86_64" --prefix "$winprefix"
cmake -S "$root/examples/minimal" -B "$build/win-x86_64-minimal" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DZrWnd_DIR="$winprefix/lib/cmake/ZrWnd"
cmake --build "$build/win-x86_64-minimal"
cp "$winprefix/bin/ZrWnd.dll" "$build/win-x86_64-minimal/"

export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
status=0
xvfb-run -a bash -c "
  set -e
  wine wineboot --init >/dev/null 2>&1 || true
  wine '$build/win-x86_64/tests/zrwnd_tests.exe' --gtest_brief=1
  wine '$build/win-x86_64/tests/zrwnd_win32_tests.exe' --gtest_brief=1
  wine '$build/win-i686/tests/zrwnd_tests.exe' --gtest_brief=1
  wine '$build/win-i686/tests/zrwnd_win32_tests.exe' --gtest_brief=1
  wine '$build/win-x86_64-minimal/minimal.exe'
" || status=$?
"$wineserver" -k >/dev/null 2>&1 || true
[ "$status" -eq 0 ] && echo "test-windows: the i686 and x86_64 suites and a game built against the installed DLL passed under Wine"
exit "$status"
