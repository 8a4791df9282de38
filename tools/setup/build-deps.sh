#!/usr/bin/env bash
# build-deps.sh DEPS: cross-builds libjpeg-turbo and zlib from Debian's source
# packages for the win32 toolchain into DEPS/win32. Each result is kept with a
# stamp of the settings it was built with; a later run with the same settings
# does nothing, a run with other settings builds that library again.
#
# Both are built for size, as they end up in every installer: -Os, each
# function in its own section without unwind tables (so that a program's link
# keeps only what it calls; neither library lets an exception through), and the
# system C library's printf family. libjpeg-turbo, of which the installer only
# decodes one picture, also goes without SIMD code (mostly encoder routines)
# and without the JPEGMEM variable (its parsing would link scanf). zlib builds
# its CRC table at run time instead of carrying 9 KiB of tables; its CRC-32,
# which the installer takes over every byte of a package, is built for speed.
set -euo pipefail
deps="$(realpath -m "$1")"
prefix="$deps/win32"
here="$(cd "$(dirname "$0")/../.." && pwd)"
toolchain="$here/cmake/mingw-i686.cmake"
c_flags="-Os -ffunction-sections -fno-asynchronous-unwind-tables -D__USE_MINGW_ANSI_STDIO=0"

mkdir -p "$deps/src" "$prefix/lib" "$prefix/include"
exec 9>"$deps/.build-deps.lock"
flock 9  # build trees that share the cache configure one at a time

# up_to_date NAME SETTINGS: the library was built with these settings.
up_to_date() {
  [ -f "$prefix/lib/lib$1.a" ] && [ "$(cat "$prefix/$1.settings" 2>/dev/null)" = "$2" ]
}

# source_of PACKAGE: the unpacked Debian source, fetched once.
source_of() {
  if ! ls -d "$deps/src/$1"-*/ >/dev/null 2>&1; then
    (cd "$deps/src" && { apt-get source -qq "$1" >/dev/null 2>&1 || apt-get source "$1"; })
  fi
  ls -d "$deps/src/$1"-*/ | head -n1
}

# jmorecfg.h's own switches: the installer decodes with the default accurate
# integer IDCT at full size, fancy upsampling and no colour quantisation, so
# the other DCT methods, IDCT scaling, merged upsampling and the quantisers are
# left out.
jpeg_left_out="DCT_IFAST_SUPPORTED DCT_FLOAT_SUPPORTED IDCT_SCALING_SUPPORTED UPSAMPLE_MERGING_SUPPORTED
  QUANT_1PASS_SUPPORTED QUANT_2PASS_SUPPORTED"
jpeg_options=(-DCMAKE_BUILD_TYPE=MinSizeRel "-DCMAKE_C_FLAGS=$c_flags -DNO_GETENV"
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
  -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF -DFORCE_INLINE=OFF)
jpeg_settings="${jpeg_options[*]} without $jpeg_left_out $(sha1sum "$toolchain" | cut -c1-12)"
if ! up_to_date jpeg "$jpeg_settings"; then
  echo "Cross-building libjpeg-turbo into $prefix"
  srcdir="$deps/libjpeg-source"  # a copy with the switches set
  rm -rf "$deps/libjpeg-build" "$srcdir"
  cp -r "$(source_of libjpeg-turbo)" "$srcdir"
  for switch in $jpeg_left_out; do
    sed -i "s/^#define $switch\b/#undef  $switch/" "$srcdir/jmorecfg.h"
    grep -q "^#undef  $switch\b" "$srcdir/jmorecfg.h" || { echo "jmorecfg.h has no switch $switch" >&2; exit 1; }
  done
  cmake -S "$srcdir" -B "$deps/libjpeg-build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${jpeg_options[@]}" >/dev/null
  cmake --build "$deps/libjpeg-build" -j"$(nproc)" --target jpeg-static >/dev/null
  cp "$deps/libjpeg-build/libjpeg.a" "$prefix/lib/"
  cp "$deps/libjpeg-build/jconfig.h" "$srcdir/jpeglib.h" "$srcdir/jmorecfg.h" "$srcdir/jerror.h" "$prefix/include/"
  printf '%s\n' "$jpeg_settings" >"$prefix/jpeg.settings"
fi

zlib_units="adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees uncompr zutil"
zlib_flags="$c_flags -DDYNAMIC_CRC_TABLE"
zlib_fast_units="crc32"
zlib_settings="$zlib_flags $zlib_units -O2 for $zlib_fast_units"
if ! up_to_date z "$zlib_settings"; then
  echo "Cross-building zlib into $prefix"
  srcdir="$(source_of zlib)"
  build="$deps/zlib-build"
  rm -rf "$build" && mkdir -p "$build"
  for unit in $zlib_units; do
    unit_flags="$zlib_flags"
    # A later -O2 overrides -Os.
    [[ " $zlib_fast_units " == *" $unit "* ]] && unit_flags="$zlib_flags -O2"
    # shellcheck disable=SC2086  # the flags are words
    i686-w64-mingw32-gcc $unit_flags -c "$srcdir/$unit.c" -o "$build/$unit.o"
  done
  rm -f "$prefix/lib/libz.a"
  i686-w64-mingw32-ar rcs "$prefix/lib/libz.a" "$build"/*.o
  cp "$srcdir/zlib.h" "$srcdir/zconf.h" "$prefix/include/"
  printf '%s\n' "$zlib_settings" >"$prefix/z.settings"
fi
