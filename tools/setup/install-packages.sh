#!/usr/bin/env bash
# Installs the system packages the build and the tests need. A second run
# changes nothing and returns at once when everything is present.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev nasm
  wine wine64 wine32:i386 xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-wqy-microhei locales
  dynamite libdynamite-dev libstorm-dev
  nlohmann-json3-dev libgtest-dev googletest libbenchmark-dev
  zlib1g-dev libjpeg-dev clang libclang-rt-14-dev clang-format clang-tidy dpkg-dev cmake make
  osslsigncode openssl libssl-dev
  python3-jsonschema python3-yaml
)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
. "$(dirname "$0")/apt-steps.sh"

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
  need_update=1
fi

# Source entries for "apt-get source" of libjpeg-turbo and zlib.
src_list=/etc/apt/sources.list.d/saver-deb-src.sources
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat <<'SRC' | sudo_ tee "$src_list" >/dev/null
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

# qemu's user-mode emulator runs Wine's 32-bit side on kernels without 32-bit
# support (enable-i386.sh). Bookworm's own 7.2 walks its page table page by
# page on every mapping and needs a minute per Wine process; the backport
# starts one in a fraction of a second.
bpo_list=/etc/apt/sources.list.d/saver-backports.sources
if [ ! -f "$bpo_list" ]; then
  cat <<'BPO' | sudo_ tee "$bpo_list" >/dev/null
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
BPO
  need_update=1
fi
qemu_version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
need_qemu=0
if [ -z "$qemu_version" ] || dpkg --compare-versions "$qemu_version" lt 1:8.1; then need_qemu=1; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -ne 0 ] || [ $need_update -ne 0 ] || [ $need_qemu -ne 0 ]; then
  echo "setup: installing ${missing[*]:-(source lists only)}"
  apt_update
  [ ${#missing[@]} -eq 0 ] || apt_install -- "${missing[@]}"
  [ $need_qemu -eq 0 ] || apt_install -t bookworm-backports -- qemu-user-static
fi
"$(dirname "$0")/enable-i386.sh"


# The locales the language tests run the programs under: Wine takes the
# user's language from LANG only when the system has that locale.
for locale in en_US de_DE fr_FR ja_JP ru_RU; do
  locale -a | grep -qx "$locale.utf8" || sudo_ localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
done
