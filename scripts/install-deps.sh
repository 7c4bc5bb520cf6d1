#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
# ninja-build runs the builds; fonts-liberation2 gives the window Arial's metrics (Liberation
# Sans); dpkg-dev, file and lintian build and check the Debian package.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  zlib1g-dev libdeflate-dev libuchardet-dev libicu-dev libcld2-dev
  libxml2-dev clang
  libmd4c-dev
  libgtest-dev googletest
  epubcheck default-jre-headless unzip
  xvfb xauth xdotool x11-utils libxcb1-dev
  desktop-file-utils appstream
  fonts-liberation2
  dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
