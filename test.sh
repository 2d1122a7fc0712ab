#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds everything from nothing
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake make g++ clang libclang-rt-14-dev libgtest-dev strace iproute2
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 wine)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)

# The Windows builds: 32-bit (compiled and linked only; this kernel runs no
# 32-bit program) and 64-bit, whose tool the tests below also run under Wine.
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# The tests end Wine's server themselves; this ends it too if they are cut short.
trap 'WINEPREFIX="$PWD/build/tests/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DETHERCFG_WINDOWS_BUILD="$PWD/build-windows-x64"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The same tests again with AddressSanitizer and UBSan (any fault fails the
# run), built with clang, and the fuzz targets for a bounded time each.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DETHERCFG_SANITIZE=ON -DETHERCFG_FUZZ=ON
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
