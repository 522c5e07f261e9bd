#!/bin/sh
# Runs a Windows program of architecture $1 (win32 or win64) under Wine inside
# the test rig: the throw-away prefix and the headless display that setup.sh
# prepared (QV_WINE_STATE names its folder). Without a rig it runs in the
# user's own prefix and display, with that architecture's loader.
arch="$1"
shift
if [ -n "${QV_WINE_STATE:-}" ] && [ -f "$QV_WINE_STATE/env" ]; then
  . "$QV_WINE_STATE/env"
fi
. "$(dirname "$0")/common.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
exec "$(qv_wine_loader "$arch")" "$@"
