#!/usr/bin/env bash
# Makes sure this machine can run 32-bit x86 Linux programs, which Wine needs
# for the 32-bit Windows programs and tests. Some virtual machines run only
# 64-bit user code: there the kernel refuses i386 programs (ENOEXEC), and
# this registers the qemu user-mode emulator as their interpreter instead.
# Nothing happens where they already run. Registrations last until reboot.
set -euo pipefail

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# The 32-bit Wine loader answers --version without a Windows prefix.
probe=/usr/lib/wine/wine
if "$probe" --version >/dev/null 2>&1; then exit 0; fi

emulator=/usr/bin/qemu-i386-static
[ -x "$emulator" ] || { echo "setup: $emulator is missing" >&2; exit 1; }
binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || sudo_ mount -t binfmt_misc binfmt_misc "$binfmt"
if [ ! -e "$binfmt/saver-i386" ]; then
  echo "setup: this kernel runs no 32-bit programs; running them through $emulator"
  # ELF, 32-bit, little-endian, executable or shared object, machine i386.
  # "F" opens the emulator now, so it also serves other mount namespaces.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":saver-i386:M::$magic:$mask:$emulator:F" | sudo_ tee "$binfmt/register" >/dev/null
fi
"$probe" --version >/dev/null 2>&1 || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
