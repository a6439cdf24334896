#!/usr/bin/env bash
# Scan speed: times folioscope-cli on a folder of mixed small images beside `exiftool -fast2`
# (same fields), ImageMagick's `identify -ping`, the imaging component alone
# (folio_imaging_scan) and the floor (folio_scan_floor: list, open, read 4 KiB, ask the length,
# close), warm cache, median of 3 runs; prints files per second and the ratios. Then compares a
# folder of 2 GiB TIFFs (sparse, hard-linked) with one of 2 KB TIFFs.
# Usage: bench/scan-speed.sh [file-count]  (default 20000)
# FOLIO_BENCH_BUILD: native build folder (default build/native); FOLIO_BENCH_DIR: where the image
# folders are made and kept between runs (default ${TMPDIR:-/tmp}/folioscope-scan-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-20000}
build=${FOLIO_BENCH_BUILD:-build/native}
work=${FOLIO_BENCH_DIR:-${TMPDIR:-/tmp}/folioscope-scan-bench}
mixed=$work/mixed-$count

mkdir -p "$work"
[ -f "$build/CMakeCache.txt" ] || cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target folioscope-cli folio_scan_floor folio_imaging_scan >"$work/build.log" || { cat "$work/build.log"; exit 1; }
[[ $build = /* ]] || build=$PWD/$build
cli=$build/app/cli/folioscope-cli
floor=$build/bench/folio_scan_floor
component=$build/bench/folio_imaging_scan

# The mixed folder: the test fixtures and the samples, copied round-robin under new names.
if [ ! -f "$mixed.ready" ]; then
  echo "Making $count images in $mixed ..."
  rm -rf "$mixed" && mkdir -p "$mixed"
  perl -e '
    my ($dir, $count, @sources) = @ARGV; my @bodies;
    for my $s (@sources) { open my $in, "<:raw", $s or die "$s: $!"; local $/; my ($ext) = $s =~ /\.(\w+)$/;
                           push @bodies, [scalar <$in>, $ext]; }
    for my $i (0 .. $count - 1) { my ($body, $ext) = @{$bodies[$i % @bodies]};
                                  open my $out, ">:raw", sprintf("%s/img%05d.%s", $dir, $i, $ext) or die $!; print $out $body; }
  ' "$mixed" "$count" tests/imaging/fixtures/* $(ls samples/* | grep -vE '\.(md|sh)$')
  touch "$mixed.ready"
fi

# An 8-bit gray TIFF of the given width whose one strip of strip_bytes lies before its
# directory, as most writers lay it out.
make_tiff() {
  perl -e '
    my ($path, $strip, $width) = @ARGV; my $ifd = 8 + $strip; my $rational = $ifd + 2 + 9 * 12 + 4;
    my @entries = ([256, 4, $width], [257, 4, int($strip / $width)], [258, 3, 8], [259, 3, 1], [262, 3, 1],
                   [273, 4, 8], [279, 4, $strip], [282, 5, $rational], [283, 5, $rational]);
    open my $out, "+>:raw", $path or die $!; print $out pack("a2 v V", "II", 42, $ifd);
    seek $out, $ifd, 0; print $out pack("v", scalar @entries);
    print $out pack("v v V V", $_->[0], $_->[1], 1, $_->[2]) for @entries;
    print $out pack("V V V", 0, 300, 1);
  ' "$1" "$2" "$3"
}
for kind in big small; do
  folder=$work/tiff-$kind
  [ -f "$folder.ready" ] && continue
  rm -rf "$folder" && mkdir -p "$folder"
  if [ $kind = big ]; then make_tiff "$folder/t0.tif" $((1 << 31)) 32768; else make_tiff "$folder/t0.tif" 2000 40; fi
  for i in $(seq 1 999); do ln "$folder/t0.tif" "$folder/t$i.tif"; done
  touch "$folder.ready"
done

fields="-ImageWidth -ImageHeight -XResolution -YResolution -FileSize -FileType -Compression -BitsPerSample -SamplesPerPixel"
csv=$work/times.csv
"$floor" "$mixed" >/dev/null # warm the cache
hyperfine --style basic --warmup 1 --runs 3 -i --export-csv "$csv" --prepare "rm -f '$work/out.csv'" \
  -n folioscope-cli "'$cli' '$mixed' '*.*' '$work/out.csv'" \
  -n "exiftool -fast2" "exiftool -fast2 -n -csv $fields '$mixed' >/dev/null" \
  -n "identify -ping" "identify -ping '$mixed'/* >/dev/null" \
  -n "imaging only" "'$component' '$mixed'" \
  -n floor "'$floor' '$mixed'" >/dev/null 2>"$work/hyperfine.log"
echo
echo "Scan of $count mixed small images (warm cache, median of 3):"
awk -F, -v n="$count" '
  NR == 1 { next }
  { name[NR] = $1; median[NR] = $4; if ($1 == "floor") floor = $4; if ($1 == "folioscope-cli") cli = $4 }
  END {
    printf "  %-16s %10s %12s %14s\n", "program", "seconds", "files/s", "time / floor"
    for (i = 2; i <= NR; i++) printf "  %-16s %10.3f %12.0f %14.2f\n", name[i], median[i], n / median[i], median[i] / floor
    for (i = 2; i <= NR; i++) if (name[i] ~ /^(exiftool|identify)/)
      printf "  folioscope-cli is %.1f times as fast as %s\n", median[i] / cli, name[i]
  }' "$csv"

rm -f "$work/out.csv"
"$cli" "$mixed" '*.*' "$work/out.csv"
echo "  folioscope-cli wrote $(wc -l <"$work/out.csv") rows for $count files (identify rejects the lossless JPEG fixture)"

hyperfine --style basic --warmup 1 --runs 3 --export-csv "$csv" --prepare "rm -f '$work/out.csv'" \
  -n "2 GiB TIFFs" "'$cli' '$work/tiff-big' '*.tif' '$work/out.csv'" \
  -n "2 KB TIFFs" "'$cli' '$work/tiff-small' '*.tif' '$work/out.csv'" >/dev/null 2>>"$work/hyperfine.log"
echo
echo "1000 TIFFs of 2 GiB (sparse) against 1000 of 2 KB (median of 3):"
awk -F, 'NR > 1 { printf "  %-12s %8.4f s\n", $1, $4; t[NR] = $4 } END { printf "  ratio        %8.2f\n", t[2] / t[3] }' "$csv"
for kind in big small; do
  rm -f "$work/out.csv"
  "$cli" "$work/tiff-$kind" '*.tif' "$work/out.csv"
  echo "  tiff-$kind: $(wc -l <"$work/out.csv") rows, e.g. $(head -n 1 "$work/out.csv")"
done
