#!/usr/bin/env bash
# Builds the three configurations and runs every test: natively, then the win64 tests under
# Wine inside one virtual display. The win32 build is compiled and linked only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
werror=-DFOLIO_WARNINGS_AS_ERRORS=${FOLIO_WARNINGS_AS_ERRORS:-ON}

for preset in native win64 win32; do
  cmake --preset "$preset" "$werror" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

status=0
ctest --preset native -j "$jobs" || status=1
# One display for the whole Windows run: every test's windows share it and the prefix's wineserver.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win64 -j "$jobs" || status=1
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
