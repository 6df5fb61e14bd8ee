#!/usr/bin/env bash
# Installs ZrWnd into a temporary prefix and builds a game against it twice:
# examples/hello through find_package(ZrWnd), and the one-file example through
# pkg-config. Each runs headless and must write its frame.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRWND_BUILD_DIR:-$root/build}/install-check"
prefix="$build/prefix"
rm -rf "$prefix" "$build/hello" "$build/minimal" "$build/sub" "$build/sub-src" "$build/frames"
mkdir -p "$build/frames"

cmake -S "$root" -B "$build/zrwnd" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZRWND_BUILD_TESTS=OFF -DZRWND_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build "$build/zrwnd" --parallel "$(nproc)"
cmake --install "$build/zrwnd"

# A PNG's width and height, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }

expect_frame() {
  local file="$1" size="$2"
  [ -s "$file" ] || { echo "check-install: $file was not written" >&2; exit 1; }
  local got
  got="$(png_size "$file")"
  [ "$got" = "$size" ] || { echo "check-install: $file is $got, not $size" >&2; exit 1; }
}

# The CMake package.
cmake -S "$root/examples/hello" -B "$build/hello" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$build/hello"
"$build/hello/hello" --headless "$build/frames/hello.png"
expect_frame "$build/frames/hello.png" 360x200

# A game with an engine of its own and no host.
cmake -S "$root/examples/minimal" -B "$build/minimal" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$build/minimal"
"$build/minimal/minimal"

# Without installing: the game adds the source tree to its own build and gets
# the same target name; the toolkit's warnings are not errors there.
mkdir -p "$build/sub-src"
cat > "$build/sub-src/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(ZrWndSubdirectory LANGUAGES CXX)
add_subdirectory("$root" zrwnd)
add_executable(minimal "$root/examples/minimal/minimal.cpp")
target_link_libraries(minimal PRIVATE ZrWnd::ZrWnd)
CMAKE
cmake -S "$build/sub-src" -B "$build/sub" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build/sub" --parallel "$(nproc)"
"$build/sub/minimal"

# pkg-config, one file.
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# The stock images are where the package says.
[ -d "$(pkg-config --variable=resourcedir zrwnd)/EngineRes/Img" ] || {
  echo "check-install: pkg-config's resourcedir holds no EngineRes/Img" >&2; exit 1; }
# shellcheck disable=SC2046
c++ -std=c++17 "$root/examples/pkgconfig/hello_pc.cpp" $(pkg-config --cflags --libs zrwnd-headless) \
  -Wl,-rpath,"$prefix/lib" -o "$build/hello_pc"
(cd "$build/frames" && "$build/hello_pc" "$build/frames/hello_pc.png")
expect_frame "$build/frames/hello_pc.png" 200x80

# The installed demo finds its installed art.
"$prefix/bin/zrwnd-demo" --headless --script "$prefix/share/zrwnd/scripts/lobby.zrs" --out "$build/frames" \
  --size 800x600 > /dev/null
echo "check-install: the package, pkg-config and the installed demo work from $prefix"
