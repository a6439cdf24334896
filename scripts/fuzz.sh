#!/usr/bin/env bash
# Builds the imaging fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each in turn for a number of seconds, starting from the
# test fixtures of its format. Findings land in the build folder (crash-*, leak-*, timeout-*).
# Usage: scripts/fuzz.sh [seconds-per-target] [format ...]   (formats: bmp pcx dcx tiff jpeg
# png gif jbig cals any; default all). FOLIO_FUZZ_BUILD names the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-180}
shift $(( $# > 0 ? 1 : 0 ))
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(bmp pcx dcx tiff jpeg png gif jbig cals any)
build=${FOLIO_FUZZ_BUILD:-build/fuzz}
fixtures=$PWD/tests/imaging/fixtures

CC=clang CXX=clang++ cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLIO_FUZZ=ON -DFOLIO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${formats[@]/#/fuzz_imaging_}"

# The fixture names a format's seeds start with.
prefix_of() {
  case $1 in
    tiff) echo tif ;; any) echo "" ;; *) echo "$1" ;;
  esac
}

status=0
for format in "${formats[@]}"; do
  corpus=$build/corpus/$format
  seeds=$build/seeds/$format
  mkdir -p "$corpus" "$seeds"
  find "$fixtures" -maxdepth 1 -type f -name "$(prefix_of "$format")*" -exec cp -f {} "$seeds/" \;
  echo "== fuzz_imaging_$format: ${seconds}s"
  ( cd "$build" && "./imaging/fuzz/fuzz_imaging_$format" -max_total_time="$seconds" -max_len=65536 \
      -timeout=10 -print_final_stats=1 "corpus/$format" "seeds/$format" 2>&1 | tail -n 12 ) || status=1
done
exit $status
