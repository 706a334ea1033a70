#!/usr/bin/env bash
# Writes the small picture files under tests/fixtures/ that the image tests decode, each beside a
# raw reference of the bytes a decoder has to produce. The outputs are committed; rerun this only
# to change them. Needs ImageMagick's convert and python3.
#
#   pattern.rgb          7 x 4 RGB, top row first: the picture behind every TGA and PCX file
#   pattern_alpha.rgba   the same with a different alpha per pixel
#   rgb24.tga            type 2, 24 bits     rgb24_rle.tga    type 10, 24 bits
#   rgba32.tga           type 2, 32 bits     rgba32_rle.tga   type 10, 32 bits
#                        (convert writes the top row first, so their rows match pattern.rgb)
#   pattern.pcx          8-bit PCX as convert writes it, rows exactly 7 bytes
#   padded.pcx           the same picture with rows padded to 8 bytes, as most writers do
#   quadrants.{png,bmp,gif,jpg}   16 x 16: red, green over blue, white; quadrants.rgb is the
#                        picture bottom row first, as Image::LoadOther stores it
#   ramp12x6.rgba        a smooth RGBA ramp; ramp12x6_16x8.rgb is it enlarged by convert
#   ramp40x20.rgba       the same, larger; ramp40x20_32x16.rgb is it reduced by convert's
#                        pixel averaging
#   cmyk_adobe.jpg       16 x 16 CMYK JPEG as convert writes it (Adobe's marker, samples stored
#                        inverted); cmyk_adobe.rgb is convert's own conversion to RGB, bottom row
#                        first
#   cmyk_plain.jpg       the same file without Adobe's marker: four channels of unknown meaning
set -euo pipefail
cd "$(dirname "$0")/.."
out=tests/fixtures
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs of one colour, runs ending at a row end, single pixels and a row of one colour.
cat >"$work/pattern.ppm" <<'PPM'
P3 7 4 255
255 0 0  255 0 0  255 0 0  0 255 0  0 0 255  0 0 255  0 0 255
0 0 255  0 0 255  10 20 30  40 50 60  70 80 90  100 110 120  130 140 150
200 200 200  200 200 200  200 200 200  200 200 200  200 200 200  200 200 200  200 200 200
200 200 200  200 200 200  255 255 0  255 255 0  0 255 255  255 0 255  255 0 255
PPM
convert "$work/pattern.ppm" -alpha set -channel A -fx '(i+j*7)/27' +channel "$work/alpha.png"

convert "$work/pattern.ppm" -depth 8 "rgb:$out/pattern.rgb"
convert "$work/alpha.png" -depth 8 "rgba:$out/pattern_alpha.rgba"
convert "$work/pattern.ppm" -type TrueColor "$out/rgb24.tga"
convert "$work/pattern.ppm" -type TrueColor -compress RLE "$out/rgb24_rle.tga"
convert "$work/alpha.png" "$out/rgba32.tga"
convert "$work/alpha.png" -compress RLE "$out/rgba32_rle.tga"
convert "$work/pattern.ppm" -type palette "$out/pattern.pcx"

# convert never pads PCX rows, so the padded file is written here from the reference.
python3 - "$out/pattern.rgb" "$out/padded.pcx" <<'PY'
import struct, sys
width, height, bytes_per_line = 7, 4, 8
rgb = open(sys.argv[1], "rb").read()
pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
palette = sorted(set(pixels))
header = struct.pack("<BBBBHHHHHH", 10, 5, 1, 8, 0, 0, width - 1, height - 1, 72, 72)
header += bytes(48) + bytes([0, 1]) + struct.pack("<HH", bytes_per_line, 1)
header += bytes(128 - len(header))
data = bytearray()
for y in range(height):
    row = [palette.index(p) for p in pixels[y * width:(y + 1) * width]] + [0]
    x = 0
    while x < len(row):
        run = 1
        while x + run < len(row) and row[x + run] == row[x] and run < 63:
            run += 1
        if run > 1 or row[x] >= 192:
            data += bytes([192 | run])
        data.append(row[x])
        x += run
colours = b"".join(palette) + bytes(3 * (256 - len(palette)))
open(sys.argv[2], "wb").write(header + data + bytes([12]) + colours)
PY

convert -size 8x8 xc:red xc:lime +append \( -size 8x8 xc:blue xc:white +append \) -append \
    "$work/quadrants.png"
convert "$work/quadrants.png" -define png:exclude-chunk=date,time "$out/quadrants.png"
convert "$work/quadrants.png" -type TrueColor "BMP3:$out/quadrants.bmp"
convert "$work/quadrants.png" "$out/quadrants.gif"
convert "$work/quadrants.png" -quality 100 -sampling-factor 1x1 "$out/quadrants.jpg"
convert "$work/quadrants.png" -flip -depth 8 "rgb:$out/quadrants.rgb"

ramp='r=i/w; g=j/h; b=(i+j)/(w+h)'
convert -size 12x6 xc: -alpha opaque -fx "$ramp" "$work/ramp12x6.png"
convert -size 40x20 xc: -alpha opaque -fx "$ramp" "$work/ramp40x20.png"
convert "$work/ramp12x6.png" -depth 8 "rgba:$out/ramp12x6.rgba"
convert "$work/ramp40x20.png" -depth 8 "rgba:$out/ramp40x20.rgba"
convert "$work/ramp12x6.png" -filter Triangle -resize '16x8!' -flip -depth 8 \
    "rgb:$out/ramp12x6_16x8.rgb"
convert "$work/ramp40x20.png" -scale '32x16!' -flip -depth 8 \
    "rgb:$out/ramp40x20_32x16.rgb"

convert -size 16x8 gradient:'#ff8000-#102040' \( -size 16x8 gradient:'#808080-#00c0ff' \) -append \
    "$work/cmyk_source.png"
convert "$work/cmyk_source.png" -colorspace CMYK -quality 100 "$out/cmyk_adobe.jpg"
convert "$out/cmyk_adobe.jpg" -colorspace sRGB -flip -depth 8 "rgb:$out/cmyk_adobe.rgb"
python3 - "$out/cmyk_adobe.jpg" "$out/cmyk_plain.jpg" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
at, out = 2, bytearray(data[:2])
while data[at + 1] != 0xDA:
    length = data[at + 2] << 8 | data[at + 3]
    if data[at + 1] != 0xEE:
        out += data[at:at + 2 + length]
    at += 2 + length
open(sys.argv[2], "wb").write(bytes(out + data[at:]))
PY
