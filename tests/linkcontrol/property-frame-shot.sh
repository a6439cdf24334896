#!/usr/bin/env bash
# Screenshot of PropertyPage1 in the platform's property frame, under Xvfb.
# Usage: tests/linkcontrol/property-frame-shot.sh BUILD_DIR [OUTPUT.png]
# BUILD_DIR is a win64 build with the targets JumpletControl and jumplet_property_frame_shot.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
out=${2:-$root/docs/property-page.png}
program=$build/tests/linkcontrol/jumplet_property_frame_shot.exe
marker=$build/tests/linkcontrol/property-frame.ready
rm -f "$marker"
mkdir -p "$(dirname "$out")"
(cd "$build" && "$root/scripts/wine-run.sh" regsvr32 /s "Z:$build/linkcontrol/JumpletControl.dll")
WINEPREFIX="$build/wineprefix" /usr/lib/wine/wineserver -w || true
xvfb-run -a -s "-screen 0 800x600x24 -br" bash -c "
  '$root/scripts/wine-run.sh' '$program' 'Z:$marker' &
  for i in \$(seq 200); do [ -f '$marker' ] && break; sleep 0.1; done
  sleep 1
  import -window root '$out'
  wait"
# The root window is black: trim it away, leaving the frame.
convert "$out" -trim +repage "$out"
echo "$out"
