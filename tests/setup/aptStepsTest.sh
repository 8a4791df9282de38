#!/usr/bin/env bash
# The set-up's apt steps against a fake apt-get: a failed index refresh is
# reported and the set-up goes on; a failed install names its packages and
# apt's first error, and fails.
set -euo pipefail
steps="$1/tools/setup/apt-steps.sh"
fake="$(mktemp -d)"
trap 'rm -rf "$fake"' EXIT
cat >"$fake/apt-get" <<'APT'
#!/usr/bin/env bash
case "$*" in
  update*) echo "E: Failed to fetch http://mirror/debian/dists/stale/main/binary-amd64/Packages.xz  File has unexpected size" >&2
           echo "E: Some index files failed to download." >&2; exit 100 ;;
  *install*) echo "Reading package lists..."; echo "E: Unable to locate package no-such-tool"
             echo "E: Second error"; exit 100 ;;
esac
APT
chmod +x "$fake/apt-get"
PATH="$fake:$PATH"
sudo_() { "$@"; }
. "$steps"

fail() { echo "FAIL: $*" >&2; exit 1; }

apt_update 2>"$fake/update.err" || fail "a failed refresh stopped the set-up"
grep -q 'apt-get update failed; going on' "$fake/update.err" || fail "the refresh failure is not told"
grep -q 'binary-amd64/Packages.xz' "$fake/update.err" || fail "the failed index is not named"

if apt_install -- make no-such-tool 2>"$fake/install.err"; then fail "a failed install passed"; fi
grep -q 'could not install: make no-such-tool' "$fake/install.err" || fail "the packages are not named"
grep -q 'Unable to locate package no-such-tool' "$fake/install.err" || fail "apt's first error is missing"
! grep -q 'Second error' "$fake/install.err" || fail "more than the first error was printed"
echo "apt steps: ok"
