#!/bin/sh
# Builds under build/: the host build (portable core, native tests), the
# sanitizer build, and the two Windows builds (quorvex.exe, the stand-in, the
# tools, the Win32 tests and benchmarks): 32-bit in build/win, 64-bit in
# build/win64.
#   build.sh [host|asan|win|win64|all]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
what="${1:-all}"
case "$what" in
  host | asan | win | win64 | all) ;;
  *)
    echo "usage: $0 [host|asan|win|win64|all]" >&2
    exit 2
    ;;
esac
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
if [ "$what" = all ] || [ "$what" = win64 ]; then
  # The 64-bit build's tests also pair its programs with the 32-bit build's
  # (a 64-bit Quorvex reading a 32-bit IvAc and the reverse) when that build
  # is there.
  cmake -S "$root" -B "$root/build/win64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DQV_WIN32_BUILD="$root/build/win" >/dev/null
  cmake --build "$root/build/win64" -j"$jobs"
fi
