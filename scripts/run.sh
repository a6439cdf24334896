#!/usr/bin/env bash
# Runs Folioscope: installs what is missing, builds the Windows program and its link control
# library, registers the library in the build's Wine prefix and opens the window on samples/,
# ready for "Retrieve Image Information". Uses the real display when there is one, otherwise
# a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Folioscope JumpletControl -j "$(nproc)"
build=$root/build/win64
export WINEPREFIX=$build/wineprefix
scripts/wine-run.sh regsvr32 /s "Z:$build/linkcontrol/JumpletControl.dll"
cd "$root/samples"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$build/app/win/Folioscope.exe"
fi
echo "No DISPLAY: the window opens on a virtual display (xvfb-run)." >&2
/usr/lib/wine/wineserver -w 2>/dev/null || true
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-run.sh" "$build/app/win/Folioscope.exe"
