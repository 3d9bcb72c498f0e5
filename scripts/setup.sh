#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and run QUAV, then
# configures and builds it in ./build. Safe to run again: installed packages
# are not fetched twice and the build is incremental.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ make cmake ccache qt6-base-dev qt6-translations-l10n libgl-dev desktop-file-utils dpkg-dev file
          fonts-ipafont-gothic xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
