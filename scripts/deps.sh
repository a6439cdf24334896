#!/usr/bin/env bash
# Installs, from Debian's archive, whatever of the build and test tools is missing.
# Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail
packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          libwine-dev wine64 fonts-wine xvfb xauth
          imagemagick libimage-exiftool-perl clang libclang-rt-14-dev hyperfine
          "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
