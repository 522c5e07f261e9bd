#!/bin/sh
# Runs the command that follows when the rig of QV_WINE_STATE can start 32-bit
# programs; otherwise says why and exits 77, which CTest reports as not run.
if [ -n "${QV_WINE_STATE:-}" ] && [ -f "$QV_WINE_STATE/env" ]; then
  . "$QV_WINE_STATE/env"
fi
if [ "${QV_WINE_RUNS32:-0}" != 1 ]; then
  echo "not run: this host cannot start 32-bit programs (${QV_WINE_NO32_REASON:-no rig})"
  exit 77
fi
exec "$@"
