#!/usr/bin/env bash
# Makes the imaging test fixtures with ImageMagick (and exiftool for an EXIF block, perl for a
# few hand-made variants). The fixtures are committed; this script documents how they were
# made and remakes them on demand: tests/imaging/make-fixtures.sh [output-folder].
# JBIG, CALS and DCX come from ImageMagick's own writers; the top-down BMP, the RLE4 BMP and
# the JPEG with another frame marker are patched from ImageMagick's output with perl, as noted.
set -euo pipefail
out=${1:-$(dirname "$0")/fixtures}
mkdir -p "$out"
cd "$out"
export MAGICK_TIME=0 # no timestamps, so a rerun gives the same bytes where the writer allows

grad="-size 8x6 gradient:red-blue -depth 8"
gray="-size 8x6 gradient:black-white -colorspace Gray"
mono="-size 16x8 pattern:checkerboard -monochrome"
ppi="-units PixelsPerInch"
nodate="-define png:exclude-chunks=date,time"

# BMP: every header version, bit depths 1, 4, 8, 16, 24, 32, RLE8 and RLE4, top-down.
convert $grad BMP2:bmp-core-24.bmp
convert $grad $ppi -density 72 BMP3:bmp-info-24.bmp
convert $mono $ppi -density 300 BMP3:bmp-info-1.bmp
convert $grad -colors 16 -depth 4 -type Palette $ppi -density 96 BMP3:bmp-info-4.bmp
convert $grad -type Palette -compress RLE $ppi -density 150 BMP3:bmp-rle8.bmp
convert $grad -define bmp:subtype=RGB565 BMP:bmp-v5-16.bmp
convert $grad -alpha set -channel A -evaluate set 50% +channel $ppi -density 200 BMP:bmp-v5-32.bmp
# Version 4: the v5 file without the v5 header's last 16 bytes (intent and colour profile).
perl -e 'local $/; my $d = <STDIN>; substr($d, 14 + 108, 16) = ""; substr($d, 14, 4) = pack("V", 108);
  substr($d, 10, 4) = pack("V", unpack("V", substr($d, 10, 4)) - 16); substr($d, 2, 4) = pack("V", length $d); print $d' \
  <bmp-v5-32.bmp >bmp-v4-32.bmp
# Top-down: the 24-bit file with a negative height and its rows reversed.
perl -e 'local $/; my $d = <STDIN>; my $off = unpack("V", substr($d, 10, 4)); my ($w, $h) = unpack("l<l<", substr($d, 18, 8));
  my $stride = int(($w * 24 + 31) / 32) * 4; my @rows = map { substr($d, $off + $_ * $stride, $stride) } 0 .. $h - 1;
  substr($d, 22, 4) = pack("l<", -$h); substr($d, $off, $stride * $h) = join("", reverse @rows); print $d' \
  <bmp-info-24.bmp >bmp-topdown-24.bmp
# RLE4: the 4-bit file's rows coded as runs of two pixels (count 2, two indexes), 0 0 after each
# row and 0 1 at the end, the header's compression set to 2 and its image size to the run length.
perl -e 'local $/; $_ = <STDIN>; my $off = unpack("V", substr($_, 10, 4)); my ($w, $h) = unpack("l<l<", substr($_, 18, 8));
  my $stride = int(($w * 4 + 31) / 32) * 4; my $rle = "";
  for my $y (0 .. $h - 1) { my $row = substr($_, $off + $y * $stride, ($w + 1) >> 1);
    $rle .= pack("CC", 2, ord($_)) for split //, $row; $rle .= "\0\0"; }
  $rle .= "\0\1"; my $out = substr($_, 0, $off) . $rle; substr($out, 30, 4) = pack("V", 2);
  substr($out, 34, 4) = pack("V", length $rle); substr($out, 2, 4) = pack("V", length $out); print $out' \
  <bmp-info-4.bmp >bmp-rle4.bmp

# PCX and DCX: 1 bit, 8-bit palette, 24-bit as three 8-bit planes; a two-page DCX.
# ImageMagick writes every PCX with 8-bit planes, so the 1-bit file is put together here: a
# 16x8 checkerboard of 8-pixel squares, 200 dpi, two bytes a row, each byte as a run of one.
perl -e 'my $h = pack("CCCC v4 v2", 0x0A, 5, 1, 1, 0, 0, 15, 7, 200, 200) . pack("C3 C3", 0, 0, 0, 255, 255, 255) . ("\0" x 42)
  . pack("CC v v", 0, 1, 2, 1) . ("\0" x 58); my $d = ""; $d .= pack("C4", 0xC1, $_ < 4 ? 0xFF : 0, 0xC1, $_ < 4 ? 0 : 0xFF) for 0 .. 7;
  print $h . $d' >pcx-1.pcx
convert $grad -type Palette $ppi -density 96 PCX:pcx-8.pcx
convert $grad -type TrueColor $ppi -density 150 PCX:pcx-24.pcx
convert $grad -type Palette $ppi -density 150 \( $gray -type Palette \) DCX:dcx-2page.dcx

# TIFF: byte orders, compressions, resolution units, tiles, pages, BigTIFF.
convert $grad -compress None -endian LSB $ppi -density 72 TIFF:tif-none-le.tif
convert $grad -compress LZW -endian MSB $ppi -density 300 TIFF:tif-lzw-be.tif
convert $mono -compress Fax $ppi -density 204x196 TIFF:tif-g3.tif
convert $mono -compress Group4 $ppi -density 300 TIFF:tif-g4.tif
convert -size 16x16 gradient:red-blue -compress JPEG -quality 50 $ppi -density 96 TIFF:tif-jpeg.tif
convert $grad -compress Zip -units PixelsPerCentimeter -density 40 TIFF:tif-deflate-cm.tif
convert $gray -compress RLE -units Undefined -density 5 TIFF:tif-packbits-nounit.tif
convert -size 32x32 gradient:red-blue -define tiff:tile-geometry=16x16 $ppi -density 72 TIFF:tif-tiled.tif
convert $grad -alpha set $ppi -density 72 TIFF:tif-rgba.tif
convert $grad -colorspace CMYK $ppi -density 72 TIFF:tif-cmyk.tif
convert $gray -depth 16 $ppi -density 72 TIFF:tif-gray16.tif
convert $grad -type Palette -depth 8 $ppi -density 72 TIFF:tif-palette.tif
convert $grad \( $gray \) $ppi -density 72 TIFF:tif-2page.tif
convert $grad -endian MSB $ppi -density 72 TIFF64:tif-big-be.tif
convert $grad -endian LSB $ppi -density 72 TIFF64:tif-big-le.tif

# JPEG: JFIF densities in each unit, progressive, gray, CMYK, EXIF beside JFIF, no density.
convert -size 16x16 gradient:red-blue -quality 50 $ppi -density 96 JPEG:jpeg-baseline.jpg
convert -size 16x16 gradient:red-blue -quality 50 -interlace Plane $ppi -density 72 JPEG:jpeg-progressive.jpg
convert -size 16x16 gradient:black-white -colorspace Gray -quality 50 -units PixelsPerCentimeter -density 50 JPEG:jpeg-gray-cm.jpg
convert -size 16x16 gradient:red-blue -colorspace CMYK -quality 50 $ppi -density 72 JPEG:jpeg-cmyk.jpg
convert -size 16x16 gradient:red-blue -quality 50 -strip JPEG:jpeg-nodensity.jpg
cp jpeg-baseline.jpg jpeg-exif.jpg
exiftool -q -overwrite_original -XResolution=300 -YResolution=240 -ResolutionUnit=inches jpeg-exif.jpg
# exiftool copies the EXIF resolution into JFIF too; put JFIF back at 72 dpi so the two differ.
perl -e 'local $/; my $d = <STDIN>; substr($d, 13, 5) = pack("Cnn", 1, 72, 72); print $d' <jpeg-exif.jpg >jpeg-exif.tmp
mv jpeg-exif.tmp jpeg-exif.jpg
# Extended (SOF1) and lossless (SOF3) frame markers on the baseline file's header.
perl -e 'local $/; $_ = <STDIN>; s/\xFF\xC0/\xFF\xC1/; print' <jpeg-baseline.jpg >jpeg-sof1.jpg
perl -e 'local $/; $_ = <STDIN>; s/\xFF\xC0/\xFF\xC3/; print' <jpeg-baseline.jpg >jpeg-sof3.jpg

# PNG: colour types, depths 1, 4, 8, 16, pHYs in metres, in no unit, and absent.
convert $grad $nodate $ppi -density 72 PNG24:png-rgb.png
convert $grad -alpha set -channel A -evaluate set 50% +channel $nodate $ppi -density 300 PNG32:png-rgba.png
convert $mono $nodate $ppi -density 300 PNG:png-gray1.png
convert $grad -colors 16 $nodate -define png:bit-depth=4 -define png:color-type=3 $ppi -density 96 PNG8:png-pal4.png
convert $gray -alpha set $nodate -define png:color-type=4 $ppi -density 72 PNG:png-graya.png
convert $grad -depth 16 $nodate $ppi -density 72 PNG48:png-rgb16.png
convert $grad $nodate -units Undefined -density 2 PNG24:png-nounit.png
convert $grad -strip $nodate PNG24:png-nophys.png

# GIF: 89a with a 2-bit table, 87a, 1-bit.
convert $grad -colors 4 GIF:gif-89a.gif
convert $grad -colors 8 GIF87:gif-87a.gif
convert $mono GIF:gif-1.gif

# JBIG and CALS (bi-level only).
convert $mono JBIG:jbig-16x8.jbig
convert -size 40x30 pattern:checkerboard -monochrome JBIG:jbig-40x30.jbg
convert $mono -density 300 CALS:cals-300.cal
convert -size 40x30 pattern:checkerboard -monochrome -density 200 CALS:cals-200.cal
