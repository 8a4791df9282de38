#!/bin/sh
# The link-time twin of checkLayers.sh: fails when the object files of a
# folder use a symbol that the object files of another folder of the same or
# a higher layer define, and no lower layer does (layers.sh).
# Objects whose source is gone are left out; so are the C++ runtime's
# allocation and error entries, which the launcher defines for itself
# (launcher/withoutExceptions.cpp).
# Usage: checkLinkLayers.sh <source tree> <build tree> [nm]
. "$(dirname "$0")/layers.sh"
source=$(cd "${1:?source tree}" && pwd) || exit 2
build=${2:?build tree}
nm=${3:-nm}
cd "$build" || exit 2

# The object files of the build whose source still exists: folder/CMakeFiles/
# target.dir/path.cpp.o(bj) was built from folder/path.cpp.
current_objects() {
  find "$@" -path '*/CMakeFiles/*.dir/*' \( -name '*.o' -o -name '*.obj' \) 2>/dev/null | sort |
    while IFS= read -r object; do
      folder=${object%%/*}
      built=${object#*/CMakeFiles/*.dir/}
      [ -f "$source/$folder/${built%.*}" ] && echo "$object"
    done
}

# One line per symbol an object defines ("D folder layer symbol") or uses
# ("U folder layer symbol").
symbols() {
  current_objects common codec package flash installer launcher uninstaller examples tools | while IFS= read -r object; do
    folder=${object%%/*}
    "$nm" "$object" | awk -v folder="$folder" -v layer="$(layer_of "$folder")" '
      $NF ~ /^_*(_Zn[wa]|_Zd[la]|_ZSt[0-9]+__throw_)/ { next }
      $1 == "U" { print "U", folder, layer, $2; next }
      NF == 3 && $2 ~ /^[TDBRVWC]$/ { print "D", folder, layer, $3 }'
  done
}

if [ -z "$(current_objects common codec package flash installer launcher examples tools | head -n 1)" ]; then
  echo "no object files below $build: build the tree first"
  exit 2
fi

violations=$(
  symbols | awk '
    $1 == "D" {
      definedIn[$4 " " $2] = 1
      if (!($4 in lowest) || $3 < lowest[$4]) lowest[$4] = $3
      if (!($4 in highest) || $3 > highest[$4]) { highest[$4] = $3; highestFolder[$4] = $2 }
      next
    }
    { uses[$2 " " $4] = $3 }
    END {
      for (use in uses) {
        split(use, part, " ")
        folder = part[1]; symbol = part[2]; layer = uses[use]
        if (!(symbol in lowest) || (symbol " " folder) in definedIn) continue
        if (lowest[symbol] >= layer)
          print folder " (layer " layer ") uses " symbol ", defined in " highestFolder[symbol] " (layer " highest[symbol] ")"
      }
    }' | sort
)

if [ -n "$violations" ]; then
  printf '%s\n' "$violations"
  exit 1
fi
echo "objects use symbols of their own and lower layers only"
