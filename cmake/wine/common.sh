# Sourced by the Wine rig's scripts, the test command and the demo: which
# Wine runs which Windows build on this host.
#
# Debian's "wine" wrapper always picks the 32-bit loader when wine32 is
# installed, so each architecture's loader is called by its own path; small
# wrappers named wine, wineserver, wineboot and winepath, first on PATH, hand
# every script and program the loader of its rig.

qv_wine_dir=/usr/lib/wine

# qv_wine_loader win32|win64: the loader's path.
qv_wine_loader() {
  case "$1" in
    win64)
      if [ -x "$qv_wine_dir/wine64" ]; then echo "$qv_wine_dir/wine64"; else command -v wine64 || echo wine64; fi
      ;;
    *)
      if [ -x "$qv_wine_dir/wine" ]; then echo "$qv_wine_dir/wine"; else command -v wine || echo wine; fi
      ;;
  esac
}

# The server serves clients of both architectures; the 64-bit one runs on
# every x86-64 host.
qv_wineserver() {
  if [ -x "$qv_wine_dir/wineserver64" ]; then
    echo "$qv_wine_dir/wineserver64"
  elif [ -x "$qv_wine_dir/wineserver32" ]; then
    echo "$qv_wine_dir/wineserver32"
  else
    command -v wineserver || echo wineserver
  fi
}

# qv_runs32: succeeds when this host runs 32-bit Windows programs; otherwise
# fails and leaves the reason in qv_no32_reason. QV_WINE_NO32=1 makes the rig
# behave as on a host without 32-bit code (to try that road anywhere).
qv_runs32() {
  qv_no32_reason=""
  if [ "${QV_WINE_NO32:-0}" = 1 ]; then
    qv_no32_reason="QV_WINE_NO32=1 is set"
    return 1
  fi
  loader=$(qv_wine_loader win32)
  if [ ! -x "$loader" ]; then
    qv_no32_reason="32-bit Wine ($loader) is not installed"
    return 1
  fi
  if ! out=$("$loader" --version 2>&1 </dev/null); then
    case "$out" in
      *"xec format error"*)
        qv_no32_reason="the kernel runs no 32-bit code (32-bit emulation is switched off: ia32_emulation)"
        ;;
      *)
        qv_no32_reason="32-bit Wine does not start: $(echo "$out" | head -n 1)"
        ;;
    esac
    return 1
  fi
  return 0
}

# qv_wine_wrappers win32|win64 FOLDER: writes the wrappers into FOLDER.
qv_wine_wrappers() {
  loader=$(qv_wine_loader "$1")
  server=$(qv_wineserver)
  mkdir -p "$2"
  printf '#!/bin/sh\nexec "%s" "$@"\n' "$loader" >"$2/wine"
  printf '#!/bin/sh\nexec "%s" "$@"\n' "$server" >"$2/wineserver"
  printf '#!/bin/sh\nexec "%s" wineboot "$@"\n' "$loader" >"$2/wineboot"
  printf '#!/bin/sh\nexec "%s" winepath "$@"\n' "$loader" >"$2/winepath"
  chmod +x "$2/wine" "$2/wineserver" "$2/wineboot" "$2/winepath"
}

# qv_start_xvfb FOLDER: a headless X server on a free display, its pid in
# FOLDER/xvfb.pid; sets DISPLAY. The server picks the display number itself
# and writes it to FOLDER/display once it listens: two rigs that start at the
# same moment cannot pick the same number.
qv_start_xvfb() {
  : >"$1/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1/display" \
    </dev/null >"$1/xvfb.log" 2>&1 &
  echo $! >"$1/xvfb.pid"
  i=0
  while [ ! -s "$1/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  DISPLAY=":$(tr -dc 0-9 <"$1/display")"
  export DISPLAY
}
