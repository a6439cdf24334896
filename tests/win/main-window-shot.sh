#!/usr/bin/env bash
# Screenshot of the main window after a scan of samples/, under Xvfb.
# Usage: tests/win/main-window-shot.sh BUILD_DIR [OUTPUT.png]
# BUILD_DIR is a win64 build with the targets Folioscope, JumpletControl and folio_window_scan_bench.
# The shot uses a Wine prefix of its own in which drive D: is the repository, so the folder tree
# shows the short path D:\samples, and a Wine desktop, so the window has its title bar.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
out=${2:-$root/docs/main-window.png}
program=$build/bench/win/folio_window_scan_bench.exe
width=1000
height=560
export WINEPREFIX=$build/shot-wineprefix
probe=$(mktemp /tmp/folio-shot-XXXXXX.png)
trap 'rm -f "$probe"' EXIT
rows=$(find "$root/samples" -maxdepth 1 -type f ! -name '*.md' ! -name '*.sh' | wc -l)
mkdir -p "$(dirname "$out")"
"$root/scripts/wine-run.sh" regsvr32 /s "Z:$build/linkcontrol/JumpletControl.dll"
ln -sfn "$root" "$WINEPREFIX/dosdevices/d:"
/usr/lib/wine/wineserver -w || true

# The program opens the window in D:\samples, scans once and holds the window open. Its output
# reaches the pipe only when it ends, so the shot waits for the white of the grid, then gives the
# scan time to end.
grid_shows='%[fx:p{500,300}.r == 1 && p{500,300}.g == 1 && p{500,300}.b == 1]'
xvfb-run -a -s "-screen 0 1024x768x24 -br" bash -c '
  "$1/scripts/wine-run.sh" explorer "/desktop=folioshot,$5x$6" "$2" "D:\\samples" "$3" 1 12 &
  for i in $(seq 120); do
    import -window root "$4"
    [ "$(convert "$4" -format "$7" info:)" = 1 ] && break
    sleep 0.5
  done
  sleep 3
  import -window root -crop "$5x$6+0+0" +repage "$4"
  wait
' _ "$root" "$program" "$rows" "$probe" "$width" "$height" "$grid_shows"
if [ "$(convert "$probe" -format "$grid_shows" info:)" != 1 ]; then
  echo "the window did not show; no screenshot written" >&2
  exit 1
fi
cp "$probe" "$out"
echo "$out"
