#!/usr/bin/env bash
# Cross-builds libjpeg-turbo from Debian's source package for the win32
# toolchain into DEPS/win32. The result is kept, so later runs skip this.
set -euo pipefail
deps="$(realpath -m "$1")"
prefix="$deps/win32"
[ -f "$prefix/lib/libjpeg.a" ] && exit 0
mkdir -p "$deps/src"
cd "$deps/src"
if ! ls -d libjpeg-turbo-*/ >/dev/null 2>&1; then
  apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo
fi
srcdir="$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n1)"
here="$(cd "$(dirname "$0")/../.." && pwd)"
cmake -S "$srcdir" -B "$deps/libjpeg-build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
  -DREQUIRE_SIMD=OFF >/dev/null
cmake --build "$deps/libjpeg-build" -j"$(nproc)" --target jpeg-static >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "$deps/libjpeg-build/libjpeg.a" "$prefix/lib/"
cp "$deps/libjpeg-build/jconfig.h" "$srcdir/jpeglib.h" "$srcdir/jmorecfg.h" "$srcdir/jerror.h" "$prefix/include/"
