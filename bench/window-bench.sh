#!/usr/bin/env bash
# Times the Windows program under Wine: a scan of 20 000 files through the real window (a
# click on "Retrieve Image Information", until the grid is back), and sorting 100 000 rows in
# the result list. Prints figures; fails on none.
# Usage: bench/window-bench.sh [FILES] [ROWS]     (BUILD=folder overrides build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
files=${1:-20000}
rows=${2:-100000}
build=${BUILD:-$root/build/win64}
scripts/deps.sh
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target Folioscope JumpletControl folio_window_scan_bench folio_grid_sort_bench -j "$(nproc)"
export WINEPREFIX=$build/wineprefix
scripts/wine-run.sh regsvr32 /s "Z:$build/linkcontrol/JumpletControl.dll"

folder=$(mktemp -d /tmp/folio-bench-XXXXXX)
trap 'rm -rf "$folder"' EXIT
for ((i = 1; i <= files; i++)); do cp samples/rose.bmp "$folder/rose $i.bmp"; done
echo "$files copies of samples/rose.bmp in $folder"

/usr/lib/wine/wineserver -w 2>/dev/null || true
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1/scripts/wine-run.sh" "$2/bench/win/folio_window_scan_bench.exe" "Z:$3" "$4" 3
  "$1/scripts/wine-run.sh" "$2/bench/win/folio_grid_sort_bench.exe" "$5"
' _ "$root" "$build" "$folder" "$files" "$rows"
