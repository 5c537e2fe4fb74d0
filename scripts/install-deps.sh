#!/usr/bin/env bash
# Installs what building and testing Marlox needs on Debian 12. Run as root (or through sudo).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  qt6-base-dev
  socat xvfb xdotool imagemagick fonts-noto-cjk fonts-liberation2 fonts-wine
  python3 python3-serial libserialport-dev libx11-dev cutecom util-linux
  nlohmann-json3-dev
  clang libclang-rt-14-dev clang-format
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  dpkg-dev file lintian appstream desktop-file-utils
  qemu-system-x86 busybox-static cpio
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
