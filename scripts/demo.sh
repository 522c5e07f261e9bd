#!/bin/sh
# Installs what is missing, builds the Windows build this host runs (the
# 32-bit one where 32-bit code runs, the 64-bit one elsewhere) and starts it
# under Wine: the IvAc stand-in (a practice host) and Quorvex beside it, with
# the example panels and macros copied into a demo data folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/cmake/wine/common.sh"
"$root/scripts/setup.sh"

if qv_runs32; then
  arch=win32 build="$root/build/win"
  "$root/scripts/build.sh" win
else
  echo "This host runs no 32-bit code ($qv_no32_reason): the demo uses the 64-bit build."
  arch=win64 build="$root/build/win64"
  "$root/scripts/build.sh" win64
fi

demo="${QV_DEMO_DIR:-$HOME/.quorvex-demo}"
# One prefix per architecture: the two never share a folder.
qv_wine_wrappers "$arch" "$demo/bin-$arch"
export PATH="$demo/bin-$arch:$PATH" WINEPREFIX="$demo/prefix-$arch" WINEARCH="$arch" \
  WINEDEBUG=-all WINESERVER="$(qv_wineserver)"
mkdir -p "$demo"
if [ -z "${DISPLAY:-}" ]; then
  qv_start_xvfb "$demo"
  headless=1
  echo "No display: started a headless one on $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi
if [ ! -d "$WINEPREFIX" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1
fi
if [ -n "${headless:-}" ]; then
  # Nothing manages windows on a bare X server; Wine must do it itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
fi

# Quorvex keeps its files under %AppData%\Quorvex; seed it with the examples.
appdata=$(winepath -u 'C:\users\'"$(whoami)"'\AppData\Roaming' 2>/dev/null || echo "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming")
data="$appdata/Quorvex/QuorvexData"
mkdir -p "$data/Panels" "$data/Macro"
[ -d "$root/examples/Panels" ] && cp -n "$root/examples/Panels/"* "$data/Panels/" 2>/dev/null || true
[ -d "$root/examples/Macro" ] && cp -n "$root/examples/Macro/"* "$data/Macro/" 2>/dev/null || true

standin=$(find "$build/tools" -name 'ivac-standin.exe' 2>/dev/null | head -n 1)
if [ -n "$standin" ]; then
  # A connected host with traffic; what it receives goes to standin.log.
  wine "$standin" --config "$(winepath -w "$root/tools/ivac_standin/example.cfg")" \
    --log "$(winepath -w "$demo/standin.log")" </dev/null >/dev/null 2>&1 &
  echo "IvAc stand-in started; its event log: $demo/standin.log"
  sleep 2
fi
echo "Starting the ${QV_DEMO_PANEL:-Tower} panel (data folder: $appdata/Quorvex)"
exec wine "$build/startup/quorvex.exe" "${QV_DEMO_PANEL:-Tower}"
