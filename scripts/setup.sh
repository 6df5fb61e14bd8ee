#!/usr/bin/env bash
# Installs the Debian packages that building and testing ZrWnd needs and that
# this machine does not have yet. With --windows, also what the Windows build
# and its tests under Wine need.
set -euo pipefail

packages=(
  cmake
  ninja-build
  g++
  clang
  libclang-rt-dev
  pkg-config
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  libfreetype-dev
  libfontconfig-dev
  libstb-dev
  fonts-wqy-microhei
  fonts-dejavu-core
  libsdl2-dev
  libpugixml-dev
  xvfb
  xauth
  xdotool
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if [ "${1:-}" = "--windows" ]; then
  # The 32-bit DLL's suites run under 32-bit Wine, which comes from the i386
  # architecture: it is added before the one package-list update below.
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
