#!/bin/sh
# deleteFolderTree on a tree holding links to a folder outside it, and on a
# link in place of the tree itself: the folder they point to keeps its files. Windows removes such a link itself; Wine 8
# cannot, so there the tree stays and the status must say so.
# Usage: treeLinks.sh <wine-run> <treeDeletionProbe.exe> <scratch folder>
wine_run="$1" probe="$2" work="$3"
rm -rf "$work"
mkdir -p "$work/outside" "$work/tree/sub" || exit 1
echo keep > "$work/outside/keep.txt"
echo gone > "$work/tree/sub/file.txt"
ln -s ../outside "$work/tree/link"
ln -s ../../outside "$work/tree/sub/deeperLink"

tree="Z:$(printf '%s/tree/' "$work" | tr / '\\')"
status=$("$wine_run" "$probe" "$tree" | tr -d '\r')
failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
check "linked folder kept its file" '[ -f "$work/outside/keep.txt" ]'
check "files of the tree removed" '[ ! -e "$work/tree/sub/file.txt" ]'
if [ -e "$work/tree" ]; then
  check "tree left in place reported as -1 (got '$status')" '[ "$status" = -1 ]'
else
  check "tree removed reported as 0 (got '$status')" '[ "$status" = 0 ]'
fi

ln -s outside "$work/linkedTree"
"$wine_run" "$probe" "Z:$(printf '%s/linkedTree/' "$work" | tr / '\\')" >/dev/null
check "a link in place of the tree is not followed" '[ -f "$work/outside/keep.txt" ]'
rm -rf "$work"
exit $((failures != 0))
