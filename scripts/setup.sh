#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, and nothing
# that is already there. Everything comes from Debian's packages:
# - the two MinGW-w64 cross compilers, CMake, wine64 and GoogleTest's sources;
# - chromium: the headless browser of the log report's page test;
# - 32-bit Wine (wine32 for the i386 architecture) for the tests of the ship build;
# - qemu-i386 from the backports suite, for kernels that cannot run i386 programs:
#   only its static binary is extracted (to /usr/local/lib/kvt/), nothing is installed
#   through dpkg and nothing is registered for the machine (scripts/wine32.sh registers
#   it in a private namespace). The stable suite's qemu is too old to run 32-bit Wine.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
qemu_dir=/usr/local/lib/kvt
qemu_bin=$qemu_dir/qemu-i386
. /etc/os-release
backports="${VERSION_CODENAME:-bookworm}-backports"
backports_source=/etc/apt/sources.list.d/kvt-$backports.sources

packages=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 wine32:i386
          googletest libc-bin util-linux chromium)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture (for 32-bit Wine)"
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
if [ ! -x "$qemu_bin" ] && [ ! -f "$backports_source" ]; then
  echo "Adding the $backports suite (for qemu-i386)"
  printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" "Suites: $backports" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
    $SUDO tee "$backports_source" >/dev/null
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  $SUDO apt-get update -qq || true
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -x "$qemu_bin" ]; then
  echo "Extracting qemu-i386 from $backports to $qemu_bin"
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  (cd "$work" && apt-get download -q "qemu-user/$backports" 2>&1 | grep -v "^W: Download is performed unsandboxed" || true)
  deb="$(ls "$work"/qemu-user_*.deb 2>/dev/null | head -n 1)"
  [ -n "$deb" ] || { echo "setup: qemu-user could not be downloaded from $backports" >&2; exit 1; }
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/qemu-i386 > "$work/qemu-i386"
  chmod 755 "$work/qemu-i386"
  "$work/qemu-i386" --version | head -n 1
  $SUDO mkdir -p "$qemu_dir"
  $SUDO install -m 755 "$work/qemu-i386" "$qemu_bin"
fi
