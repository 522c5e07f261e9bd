#!/bin/sh
# Stops the Wine test rig of folder $1 and throws its prefix away.
state="$1"
[ -f "$state/env" ] && . "$state/env"
if [ -x "$state/bin/wineserver" ]; then
  "$state/bin/wineserver" -k 2>/dev/null || true
  "$state/bin/wineserver" -w 2>/dev/null || true
fi
if [ -f "$state/xvfb.pid" ]; then
  kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
fi
rm -rf "$state/prefix"
echo "wine rig stopped"
