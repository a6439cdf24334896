#!/usr/bin/env bash
# Runs a 64-bit Windows program under Wine, in a Wine prefix that belongs to the build folder
# holding the program (or $WINEPREFIX when set). The prefix is made on first use, with Wine's
# own fonts, so that "MS Sans Serif" measures as on Windows.
set -euo pipefail
program=$1; shift
if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$program")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" != / ] || dir=$(cd "$(dirname "$program")" && pwd)
  export WINEPREFIX="$dir/wineprefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml,winemenubuilder.exe="}
wine=/usr/lib/wine/wine64
(
  flock 9
  if [ ! -f "$WINEPREFIX/.folio-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.folio-ready"
  fi
) 9>"${WINEPREFIX%/}.lock"
exec "$wine" "$program" "$@"
