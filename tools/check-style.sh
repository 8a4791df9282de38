#!/usr/bin/env bash
# Fails on any formatting difference (.clang-format) or linter warning
# (.clang-tidy) in the tree's C++ sources. The linter reads the native build's
# compile_commands.json and, when the Windows build tree is there, the
# Windows one for the files only it compiles, parsed for the MinGW target.
# Usage: check-style.sh [NATIVE_BUILD [WIN32_BUILD]]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
native="${1:-build/native}"
win32="${2:-build/win32}"
jobs="${JOBS:-$(nproc)}"
failed=0

echo "== clang-format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror || failed=1

# The tree's own sources of a compile_commands.json, one a line.
tree_sources() {
  python3 - "$1" "$root" <<'PY'
import json, sys
commands, root = sys.argv[1], sys.argv[2] + "/"
for path in sorted({entry["file"] for entry in json.load(open(commands))}):
    if path.startswith(root) and not path.startswith(root + "build/"):
        print(path)
PY
}

# Runs the linter over the files on standard input; extra arguments go to it.
lint() {
  xargs -r -P "$jobs" -n 4 clang-tidy --quiet -p "$@" 2> >(grep -v 'warnings\( and [0-9]* errors\)\? generated' >&2)
}

[ -f "$native/compile_commands.json" ] || { echo "no $native/compile_commands.json: build the native tree first" >&2; exit 1; }
echo "== clang-tidy, native ($native)"
tree_sources "$native/compile_commands.json" >"$native/style-sources.txt"
lint "$native" <"$native/style-sources.txt" || failed=1

if [ -f "$win32/compile_commands.json" ]; then
  echo "== clang-tidy, Windows ($win32)"
  # Clang finds the MinGW headers but not the cross compiler's C++ library.
  cxx_includes=()
  while IFS= read -r folder; do
    case "$folder" in */c++*) cxx_includes+=("--extra-arg=-isystem$folder") ;; esac
  done < <(echo | i686-w64-mingw32-g++ -xc++ -E -v - 2>&1 | sed -n '/#include <...>/,/^End/s/^ //p')
  tree_sources "$win32/compile_commands.json" | grep -vxFf "$native/style-sources.txt" |
    lint "$win32" --extra-arg=--target=i686-w64-mingw32 "${cxx_includes[@]}" || failed=1
fi

[ $failed = 0 ] && echo "style: clean"
exit $failed
