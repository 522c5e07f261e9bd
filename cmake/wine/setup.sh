#!/bin/sh
# Prepares the Wine test rig of one Windows build in folder $1 for
# architecture $2 (win32 or win64): a fresh prefix of that architecture, a
# headless X server when there is no display, and a persistent wineserver so
# that each test process starts in milliseconds instead of seconds.
set -eu
state="$1"
arch="${2:-win32}"
. "$(dirname "$0")/common.sh"
rm -rf "$state"
mkdir -p "$state"

runs32=1
qv_runs32 || runs32=0
reason=$(printf '%s' "$qv_no32_reason" | tr -d "'")
if [ "$arch" = win32 ] && [ $runs32 = 0 ]; then
  echo "the 32-bit Wine rig cannot run on this host: $qv_no32_reason" >&2
  exit 1
fi

qv_wine_wrappers "$arch" "$state/bin"
PATH="$state/bin:$PATH"
export PATH WINEPREFIX="$state/prefix" WINEARCH="$arch" WINEDEBUG=-all
export WINESERVER="$(qv_wineserver)"

if [ -z "${DISPLAY:-}" ]; then
  qv_start_xvfb "$state"
fi
export DISPLAY

# QV_WINE_RUNS32 tells the tests that pair a 64-bit program with a 32-bit
# one whether this host can start the 32-bit one.
cat >"$state/env" <<ENV
export PATH='$PATH' WINEPREFIX='$WINEPREFIX' WINEARCH=$arch DISPLAY='$DISPLAY'
export WINESERVER='$WINESERVER' QV_WINE_RUNS32=$runs32 QV_WINE_NO32_REASON='$reason'
ENV

# No Mono or Gecko: a fresh prefix would otherwise offer to download them in a
# dialog that nobody answers on a headless display. A fresh 64-bit prefix
# warns that syswow64\rundll32.exe is missing where 32-bit code cannot run;
# that is harmless.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || true
# Without a window manager Wine blocks on every hidden window unless it
# manages the windows itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >/dev/null 2>&1
# A crashing program must end, not wait for somebody to close Wine's crash
# dialog: the tests see the crash as the process's end.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1
# The server that wineboot started writes the registry as it ends, a few
# seconds after the last program. Only then is a persistent one started: a
# persistent server never ends, and waiting for it would hang the setup. The
# wait is bounded all the same.
timeout 60 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
# Detach everything Wine leaves running from CTest's output pipes, or CTest
# waits for them for ever.
(wineserver -p </dev/null >/dev/null 2>&1 &)
wine wineboot </dev/null >/dev/null 2>&1 || true
echo "$arch wine rig ready in $state (DISPLAY=$DISPLAY, loader $(qv_wine_loader "$arch"))"
