#!/bin/sh
# Builds the host build (portable core, native tests), the sanitizer build
# and the Windows build (quorvex.exe and the Win32 tests) under build/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
what="${1:-all}"
if [ "$what" = all ] || [ "$what" = host ]; then
  cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build/host" -j"$jobs"
fi
if [ "$what" = all ] || [ "$what" = asan ]; then
  cmake -S "$root" -B "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON \
    -DQV_BENCHMARKS=OFF >/dev/null
  cmake --build "$root/build/asan" -j"$jobs"
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$root/build/win" -j"$jobs"
fi
