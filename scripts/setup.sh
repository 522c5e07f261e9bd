#!/bin/sh
# Installs what building and testing Quorvex needs on Debian, when missing:
# the host compiler and GoogleTest, the MinGW-w64 cross compiler for the
# 32-bit Windows build, and 32-bit Wine with a headless X server to run it.
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
for p in g++ cmake make libgtest-dev g++-mingw-w64-i686-posix mingw-w64-i686-dev \
         wine wine32:i386 xvfb imagemagick clang-format; do
  have "$p" || need="$need $p"
done
[ -z "$need" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need
