#!/usr/bin/env bash
# Runs a command in which 32-bit (i386) Linux programs execute, so that 32-bit Wine and
# the PE32 deploy folder run on a 64-bit machine whose kernel cannot execute them.
#
# Where the kernel already runs i386 programs the command runs as it is. Otherwise the
# command runs in a private user and mount namespace whose own binfmt_misc instance
# hands i386 ELF programs to qemu-i386 (user-mode emulation): nothing is registered
# for the rest of the machine, where a global registration would make every new
# wine64 prefix start 32-bit helpers under emulation. Needs kernel 6.7 or later.
#
# Usage: scripts/wine32.sh COMMAND [ARGS...]
#        scripts/wine32.sh --check      says whether 32-bit programs can run, exit 0/1
# KVT_QEMU_I386 names another qemu-i386 (default: the one scripts/setup.sh installs);
# KVT_WINE32_EMULATE=1 takes the emulated way even where the kernel runs i386 natively
# (to measure or test it on such a machine).
set -uo pipefail

kvt_wine32_loader=/usr/lib/wine/wine
kvt_qemu_i386="${KVT_QEMU_I386:-/usr/local/lib/kvt/qemu-i386}"
kvt_binfmt=/proc/sys/fs/binfmt_misc

fail() {
  echo "wine32: cannot run 32-bit programs: $1" >&2
  echo "wine32: nothing was run" >&2
  exit 1
}

# True when an i386 program starts here: the 32-bit Wine loader prints its version.
i386_runs() {
  "$kvt_wine32_loader" --version >/dev/null 2>&1
}

[ -x "$kvt_wine32_loader" ] ||
  fail "no 32-bit Wine loader at $kvt_wine32_loader (scripts/setup.sh installs wine32:i386)"

if [ "${1:-}" = "--inside" ]; then
  # Second stage, inside the fresh namespace: mount its binfmt_misc and register qemu.
  # The F flag opens the interpreter now, so it need not be visible to the programs.
  shift
  mount -t binfmt_misc binfmt_misc "$kvt_binfmt" 2>/dev/null ||
    fail "binfmt_misc cannot be mounted in a user namespace (kernel 6.7 or later is needed; this is $(uname -r))"
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':kvt-i386:M::%s:%s:%s:F' "$magic" "$mask" "$kvt_qemu_i386" > "$kvt_binfmt/register" ||
    fail "qemu-i386 could not be registered for i386 programs"
  i386_runs || fail "$kvt_wine32_loader does not start under $kvt_qemu_i386"
  [ "${1:-}" = "--check" ] && { echo "wine32: 32-bit programs run (qemu-i386 in a private namespace)"; exit 0; }
  exec "$@"
fi

if [ "${KVT_WINE32_EMULATE:-0}" != 1 ] && i386_runs; then
  [ "${1:-}" = "--check" ] && { echo "wine32: 32-bit programs run natively"; exit 0; }
  exec "$@"
fi
[ -x "$kvt_qemu_i386" ] || fail "i386 programs need emulation here and there is no qemu-i386 at $kvt_qemu_i386 (scripts/setup.sh installs it)"
command -v unshare >/dev/null || fail "unshare is missing (package util-linux)"
[ $# -gt 0 ] || fail "no command given"
exec unshare --user --map-root-user --mount -- bash "${BASH_SOURCE[0]}" --inside "$@"
