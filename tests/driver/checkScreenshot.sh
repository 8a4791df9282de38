#!/bin/sh
# checkScreenshot.sh WINE-RUN PROGRAM PNG: takes a screenshot under Wine with
# the driver and checks with ImageMagick that the file is a PNG of the
# screen's size whose pixels all decode.
set -u
wine_run="$1" program="$2" png="$3"
rm -f "$png"
size=$("$wine_run" "$program" "Z:$(printf '%s' "$png" | tr / '\\')" | tr -d '\r')
[ -n "$size" ] || { echo "driver_screenshot failed"; exit 1; }

described=$(identify -regard-warnings -format '%m %w %h' "$png") || exit 1
[ "$described" = "PNG $size" ] || { echo "identify says '$described', expected 'PNG $size'"; exit 1; }

width=${size% *} height=${size#* }
decoded=$(convert -regard-warnings "$png" rgb:- | wc -c)
[ "$decoded" -eq $((width * height * 3)) ] || { echo "decoded $decoded bytes, expected $((width * height * 3))"; exit 1; }
echo "screenshot $width x $height decodes"
