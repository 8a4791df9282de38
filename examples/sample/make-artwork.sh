#!/usr/bin/env bash
# make-artwork.sh OUT: draws the sample saver's pictures with ImageMagick and
# writes its settings record, all into OUT (the build tree):
#   splash.bmp, splash.jpg             the installer picture (482 x 272)
#   aurora.bmp, zenith.jpg            carried pictures for the saver folder
#   members/pictures/...               the data file's members, in sub-folders
#   settings.bin                       the 1240-byte settings record
# Every picture is drawn here from shapes and gradients; the same run gives
# the same files.
set -euo pipefail
out="${1:?output folder}"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
mkdir -p "$out/members/pictures/night"

# stars W H COUNT SEED: a -draw list of small white points, placed by a
# fixed linear congruential sequence.
stars() {
  local w=$1 h=$2 n=$3 s=$4 list="" i
  for ((i = 0; i < n; i++)); do
    s=$(( (s * 1103515245 + 12345) % 2147483648 )); local x=$(( s % w ))
    s=$(( (s * 1103515245 + 12345) % 2147483648 )); local y=$(( s % (h * 2 / 3) ))
    list+="point $x,$y "
  done
  printf '%s' "$list"
}

# sky W H TOP BOTTOM RIBBON1 RIBBON2 SEED OUTFILE: a night sky with stars and
# two blurred ribbons of light.
sky() {
  local w=$1 h=$2 top=$3 bottom=$4 c1=$5 c2=$6 seed=$7 file=$8
  convert -size "${w}x${h}" "gradient:$top-$bottom" \
    -fill white -draw "$(stars "$w" "$h" 90 "$seed")" \
    \( -size "${w}x${h}" xc:black -stroke "$c1" -strokewidth $((h / 9)) -fill none \
       -draw "path 'M 0,$((h * 6 / 10)) C $((w / 4)),$((h / 4)) $((w / 2)),$((h * 8 / 10)) $w,$((h * 3 / 10))'" \
       -stroke "$c2" -strokewidth $((h / 14)) \
       -draw "path 'M 0,$((h * 4 / 10)) C $((w / 3)),$((h * 7 / 10)) $((w * 2 / 3)),$((h / 6)) $w,$((h / 2))'" \
       -blur 0x$((h / 18)) \) -compose screen -composite \
    -stroke none -fill '#05070c' -draw "polygon 0,$h 0,$((h * 86 / 100)) $((w / 5)),$((h * 80 / 100)) $((w / 2)),$((h * 88 / 100)) $((w * 4 / 5)),$((h * 78 / 100)) $w,$((h * 84 / 100)) $w,$h" \
    -type TrueColor "$file"
}

sky 482 272 '#030616' '#0b3440' '#3dff9a' '#7a5cff' 11 "$out/splash-sky.bmp"
convert "$out/splash-sky.bmp" \
  -font "$bold" -pointsize 34 -fill '#e8fff4' -annotate +24+58 'Aurora Sampler' \
  -font "$font" -pointsize 15 -fill '#b8d8e8' -annotate +26+84 'a sample screen saver: pictures of light in the night sky' \
  -type TrueColor BMP3:"$out/splash.bmp"
rm "$out/splash-sky.bmp"
convert "$out/splash.bmp" -quality 90 "$out/splash.jpg"

sky 640 400 '#01030d' '#08283a' '#45ff8c' '#2fd6ff' 23 BMP3:"$out/aurora.bmp"
sky 640 400 '#050214' '#2a0f3a' '#ff5fa8' '#7dff6a' 37 "$out/zenith-sky.bmp"
convert "$out/zenith-sky.bmp" -font "$font" -pointsize 22 -fill '#f0e8ff' -annotate +24+40 'Look up' \
  -quality 90 "$out/zenith.jpg"
rm "$out/zenith-sky.bmp"

sky 800 500 '#020812' '#0e3b2e' '#9bff5a' '#35e0c0' 41 "$out/members/pictures/ribbons.bmp.tmp.bmp"
convert "$out/members/pictures/ribbons.bmp.tmp.bmp" -quality 88 "$out/members/pictures/ribbons.jpg"
rm "$out/members/pictures/ribbons.bmp.tmp.bmp"
sky 640 400 '#000000' '#0a1a3c' '#5a8cff' '#c46bff' 53 BMP3:"$out/members/pictures/night/horizon.bmp"
sky 720 450 '#01020a' '#14324a' '#5cffb0' '#ffe07a' 67 "$out/members/pictures/night/stars.bmp.tmp.bmp"
convert "$out/members/pictures/night/stars.bmp.tmp.bmp" -quality 85 "$out/members/pictures/night/stars.jpeg"
rm "$out/members/pictures/night/stars.bmp.tmp.bmp"
printf 'Pictures of the Aurora Sampler, drawn for it by its build.\r\n' > "$out/members/pictures/about.txt"

# The settings record: the slide time (4 seconds, u32 little-endian), the
# title in 64 bytes, zeros up to 1240 bytes; the packer sets the member count.
{
  printf '\004\000\000\000'
  printf 'Aurora Sampler'
  head -c $((1240 - 4 - 14)) /dev/zero
} > "$out/settings.bin"
