# The two apt steps of install-packages.sh, each explaining its own failure.
# Sourced; expects sudo_ from the caller.

# Refreshes the package lists. A failure does not stop the set-up: a mirror
# in the middle of a sync serves a stale index now and then, and the lists
# already here still install the packages. It is reported with the indexes
# that failed.
apt_update() {
  local errors
  errors="$(mktemp)"
  # A stale i386 security index leaves the security updates for amd64 only,
  # so multi-arch pairs (zlib1g, libc6) no longer match across i386 and
  # amd64: then take the release versions for both until the mirror is whole.
  local security_pin=/etc/apt/preferences.d/saver-security-fallback
  if sudo_ apt-get update -qq 2>"$errors"; then
    sudo_ rm -f "$security_pin"
  else
    echo "setup: apt-get update failed; going on with the package lists at hand:" >&2
    grep -E '^(E|W|Err):' "$errors" >&2 || cat "$errors" >&2
    if grep -q 'security.*binary-i386\|binary-i386.*security' "$errors"; then
      echo "setup: the i386 security index could not be fetched; installing release versions" >&2
      printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' |
        sudo_ tee "$security_pin" >/dev/null
    fi
  fi
  rm -f "$errors"
}

# apt_install [apt-get options] -- packages...: installs the packages, or
# names them and prints apt's first error, and fails.
apt_install() {
  local options=()
  while [ "$1" != -- ]; do options+=("$1"); shift; done
  shift
  local log
  log="$(mktemp)"
  if ! DEBIAN_FRONTEND=noninteractive sudo_ apt-get install -y -qq --no-install-recommends \
    "${options[@]}" "$@" >"$log" 2>&1; then
    echo "setup: could not install: $*" >&2
    grep -m 1 '^E:' "$log" >&2 || tail -n 1 "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}
