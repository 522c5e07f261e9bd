#!/bin/sh
# Prepares the Wine test rig in folder $1: a fresh 32-bit prefix, a headless
# X server when there is no display, and a persistent wineserver so that each
# test process starts in milliseconds instead of seconds.
set -eu
state="$1"
rm -rf "$state"
mkdir -p "$state"
export WINEPREFIX="$state/prefix" WINEARCH=win32 WINEDEBUG=-all

if [ -z "${DISPLAY:-}" ]; then
  n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  DISPLAY=":$n"
  i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
fi
export DISPLAY

cat >"$state/env" <<ENV
export WINEPREFIX='$WINEPREFIX' WINEARCH=win32 DISPLAY='$DISPLAY'
ENV

# Detach everything Wine leaves running from CTest's output pipes, or CTest
# waits for them for ever.
(wineserver -p </dev/null >/dev/null 2>&1 &)
# No Mono or Gecko: a fresh prefix would otherwise offer to download them in a
# dialog that nobody answers on a headless display.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || true
# Without a window manager Wine blocks on every hidden window unless it
# manages the windows itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >/dev/null 2>&1
# A crashing program must end, not wait for somebody to close Wine's crash
# dialog: the tests see the crash as the process's end.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1
wineserver -w 2>/dev/null || true
(wineserver -p </dev/null >/dev/null 2>&1 &)
wine wineboot </dev/null >/dev/null 2>&1 || true
echo "wine rig ready in $state (DISPLAY=$DISPLAY)"
