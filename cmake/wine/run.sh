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
# Programs the test starts (a panel run in a new process, the shell's file
# browser) inherit its output; one left running would keep CTest waiting on
# the pipe long after the test ended. The test writes to a file instead, shown
# as it grows, and this script ends with the test.
out=$(mktemp "${TMPDIR:-/tmp}/qv-run.XXXXXX")
"$(qv_wine_loader "$arch")" "$@" >"$out" 2>&1 &
pid=$!
tail -n +1 -s 0.2 -f --pid=$pid "$out"
wait $pid
rc=$?
rm -f "$out"
exit $rc
