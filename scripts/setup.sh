#!/bin/sh
# Installs what building and testing Quorvex needs on Debian, when missing:
# the host compiler and GoogleTest, the MinGW-w64 cross compilers for the 32-
# and 64-bit Windows builds, and Wine of both architectures with a headless X
# server to run them. (32-bit Wine installs everywhere; whether it can run
# depends on the kernel, and the test command checks that.)
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
for p in g++ cmake make libgtest-dev clang-format xvfb imagemagick \
         g++-mingw-w64-i686-posix mingw-w64-i686-dev \
         g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
         wine wine64 wine32:i386; do
  have "$p" || need="$need $p"
done
[ -z "$need" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need
