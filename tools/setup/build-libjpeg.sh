#!/usr/bin/env bash
# Cross-builds libjpeg-turbo from Debian's source package for the win32
# toolchain into DEPS/win32. The result is kept with a stamp of the settings
# it was built with; a later run with the same settings does nothing, a run
# with other settings builds it again.
#
# The installer only decodes one picture, so the library is built for size:
# -Os, no SIMD code (most of it would be encoder routines), no JPEGMEM
# variable (its parsing would link the C library's scanf), the system C
# library's printf family, and each function in its own section without
# unwind tables, so that the program's link keeps only what it calls.
set -euo pipefail
deps="$(realpath -m "$1")"
prefix="$deps/win32"
here="$(cd "$(dirname "$0")/../.." && pwd)"

c_flags="-ffunction-sections -fno-asynchronous-unwind-tables -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0"
options=(-DCMAKE_BUILD_TYPE=MinSizeRel "-DCMAKE_C_FLAGS=$c_flags"
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
  -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF -DFORCE_INLINE=OFF)
settings="libjpeg-turbo ${options[*]} $(sha1sum "$here/cmake/mingw-i686.cmake" | cut -c1-12)"

mkdir -p "$deps"
exec 9>"$deps/.build-libjpeg.lock"
flock 9  # build trees that share the cache configure one at a time
stamp="$prefix/build-settings"
if [ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$settings" ]; then
  exit 0
fi

mkdir -p "$deps/src"
cd "$deps/src"
if ! ls -d libjpeg-turbo-*/ >/dev/null 2>&1; then
  apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo
fi
srcdir="$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n1)"
echo "Cross-building libjpeg-turbo into $prefix"
rm -rf "$deps/libjpeg-build" "$prefix"
cmake -S "$srcdir" -B "$deps/libjpeg-build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${options[@]}" >/dev/null
cmake --build "$deps/libjpeg-build" -j"$(nproc)" --target jpeg-static >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "$deps/libjpeg-build/libjpeg.a" "$prefix/lib/"
cp "$deps/libjpeg-build/jconfig.h" "$srcdir/jpeglib.h" "$srcdir/jmorecfg.h" "$srcdir/jerror.h" "$prefix/include/"
printf '%s\n' "$settings" >"$stamp"
