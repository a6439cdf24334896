#!/usr/bin/env bash
# Remakes the sample images with ImageMagick's built-in pictures (and exiftool for one EXIF
# block). The samples are committed; this documents how they were made.
set -euo pipefail
cd "$(dirname "$0")"
export MAGICK_TIME=0
ppi="-units PixelsPerInch"
drawing="-size 200x120 xc:white -fill black -draw 'rectangle 10,10 190,20' -draw 'circle 100,70 100,40' -draw 'line 10,110 190,60' -monochrome"

convert rose: $ppi -density 72 BMP3:rose.bmp
convert rose: -type Palette -compress RLE $ppi -density 96 BMP3:rose-rle8.bmp
convert rose: -type Palette $ppi -density 150 PCX:rose-palette.pcx
convert rose: -type Palette $ppi -density 150 \( granite: -resize 64x64 -type Palette \) DCX:two-pages.dcx
eval convert "$drawing" -compress Group4 $ppi -density 300 TIFF:drawing-g4.tif
convert rose: -compress LZW -endian MSB $ppi -density 200 TIFF:rose-lzw.tif
convert rose: -quality 85 $ppi -density 96 JPEG:rose.jpg
convert rose: -quality 85 -interlace Plane $ppi -density 72 JPEG:rose-progressive.jpg
exiftool -q -overwrite_original -XResolution=300 -YResolution=300 -ResolutionUnit=inches rose-progressive.jpg
convert rose: -define png:exclude-chunks=date,time $ppi -density 72 PNG24:rose.png
convert granite: -colorspace Gray -define png:exclude-chunks=date,time -units PixelsPerCentimeter -density 40 PNG:granite-gray.png
convert rose: -colors 64 GIF:rose.gif
eval convert "$drawing" JBIG:drawing.jbig
eval convert "$drawing" -density 200 CALS:drawing.cal
