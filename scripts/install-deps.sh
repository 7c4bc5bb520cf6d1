#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
# ninja-build runs the builds; fonts-liberation2 gives the window Arial's metrics (Liberation
# Sans); dpkg-dev, file and lintian build and check the Debian package; parallel and rsync run
# the README's converter on many machines; python3 runs the scorecards' own tests.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  zlib1g-dev libdeflate-dev libuchardet-dev libicu-dev libcld2-dev libmagic-dev
  libxml2-dev clang
  libmd4c-dev
  libgtest-dev googletest
  epubcheck default-jre-headless unzip
  xvfb xauth xdotool x11-utils libxcb1-dev
  desktop-file-utils appstream
  fonts-liberation2
  dpkg-dev file lintian
  parallel rsync
  python3
)

"$(dirname "$0")/install-missing.sh" "${packages[@]}"
