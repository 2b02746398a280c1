#!/usr/bin/env bash
# Installs what building, running and testing Tovrelle needs on a Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake ninja-build g++ googletest mingw-w64 g++-mingw-w64-i686 gcc-mingw-w64-i686
      wine xvfb xdotool imagemagick fonts-wqy-microhei fonts-wine x11-utils python3 clang clang-format libclang-rt-14-dev zip)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
have wine32:i386 || need+=("wine32:i386")

if [ ${#need[@]} -eq 0 ]; then exit 0; fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
