#!/bin/sh
# Fails when a folder includes a header of its own layer's neighbour or of a
# higher layer, or when a folder's build file compiles sources of another. Layers, from the bottom: common and codec; package and flash;
# installer, launcher, uninstaller and examples; tools. A folder's sub-folders belong to its layer.
# Usage: checkLayers.sh <source tree>
. "$(dirname "$0")/layers.sh"
cd "${1:?source tree}" || exit 2

violations=$(
  grep -rnE --include='*.h' --include='*.cpp' --include='*.c' --include='*.rc' \
       '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' common codec package flash installer launcher uninstaller examples tools |
  while IFS= read -r match; do
    file=${match%%:*}
    own=${file%%/*}
    included=$(printf '%s\n' "$match" | sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/')
    own_layer=$(layer_of "$own")
    included_layer=$(layer_of "$included")
    [ -z "$included_layer" ] && continue  # a system or third-party header
    if [ "$included" != "$own" ] && [ "$included_layer" -ge "$own_layer" ]; then
      echo "$match: $own (layer $own_layer) includes $included (layer $included_layer)"
    fi
  done
)

# Sources named by path outside the folder: "../x.cpp" or "${CMAKE_SOURCE_DIR}/x/y.cpp".
foreign_sources=$(
  grep -nE '(\.\./|CMAKE_SOURCE_DIR\}/)[^ )]*\.(cpp|c|rc)' \
       $(find common codec package flash installer launcher uninstaller examples tools -name CMakeLists.txt)
)
[ -n "$foreign_sources" ] && violations="$violations${violations:+
}$foreign_sources"

if [ -n "$violations" ]; then
  printf '%s\n' "$violations"
  exit 1
fi
echo "includes point down only; each folder builds its own sources"
