#!/usr/bin/env bash
# The big install benchmark: builds, with the host's packer, a package of one
# 1.4 GB incompressible member (stored plain, since it cannot shrink) and a
# small one of the same make, has build/win32's bench_big_install install
# both quietly under Wine, and removes every big file afterwards.
# Usage: tools/bench-big-install.sh NATIVE_BUILD WIN32_BUILD
set -euo pipefail
native="$(realpath "$1")"
win32="$(realpath "$2")"
# On the build's disk: the files take about 3 GB.
folder="$(mktemp -d "$win32/big-install.XXXXXX")"
trap 'rm -rf "$folder"' EXIT

mkdir -p "$folder/bin" "$folder/big" "$folder/small"
cp "$win32/launcher/saverstart.exe" "$win32/installer/saversetup.exe" "$win32/codec/impborl.dll" "$folder/bin/"
for name in Bench.scr installer.swf benchfx.dat notes.txt; do
  printf 'bench %s\n' "$name" >"$folder/$name"
done
head -c $((1400 * 1024 * 1024)) /dev/urandom >"$folder/big/movie.bin"
head -c $((1024 * 1024)) /dev/urandom >"$folder/small/movie.bin"
for size in big small; do
  cat >"$folder/$size.json" <<JSON
{"saverName": "Bench", "uninstall": "saver", "launcher": "bin/saverstart.exe",
 "installer": "bin/saversetup.exe", "codecLibrary": "bin/impborl.dll", "installerType": 4,
 "entries": [{"index": 6, "file": "Bench.scr", "destKind": 2},
  {"index": 7, "file": "installer.swf", "destKind": 7},
  {"index": 9, "file": "benchfx.dat", "destKind": 3},
  {"index": 10, "file": "notes.txt", "destKind": 1}],
 "dataFile": {"name": "bench.dat", "members": "$size"}}
JSON
done
"$native/tools/saverpack/saverpack" build "$folder/big.json" -o "$folder/BigSetup.exe" --quiet
"$native/tools/saverpack/saverpack" build "$folder/small.json" -o "$folder/SmallSetup.exe" --quiet
"$win32/wine-run" "$win32/tests/installer/bench_big_install.exe" "Z:${folder//\//\\}"
