#!/usr/bin/env bash
# Installs the Debian packages Ombrelle builds and tests with, only those missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang pkg-config
  qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev libgif-dev libcurl4-openssl-dev libpugixml-dev
  libcdio-dev libiso9660-dev
  libwmf-dev libemf2svg-dev libuemf-dev
  libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
  cups cups-client printer-driver-cups-pdf libcups2-dev poppler-utils
  libvips-dev libmagickcore-dev xvfb
  fonts-liberation fonts-dejavu-core xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
