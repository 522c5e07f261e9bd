#!/bin/sh
# Runs a Win32 program under Wine inside the test rig: the throw-away prefix
# and the headless display that setup.sh prepared (QV_WINE_STATE names its
# folder). Without a rig it runs in the user's own prefix and display.
if [ -n "${QV_WINE_STATE:-}" ] && [ -f "$QV_WINE_STATE/env" ]; then
  . "$QV_WINE_STATE/env"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
