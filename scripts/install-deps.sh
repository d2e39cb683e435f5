#!/usr/bin/env bash
# Installs the Debian packages Ombrelle needs, only those missing: what building and running it
# need, and with --tests also what its tests, benchmarks and fuzz targets need.
set -euo pipefail
# To build and run (./run.sh).
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libfontconfig-dev libjpeg62-turbo-dev libgif-dev libcurl4-openssl-dev libpugixml-dev
  libcdio-dev libiso9660-dev
  fonts-liberation fonts-dejavu-core xdg-utils
)
# For the tests, the benchmarks and fuzzing (./test.sh): the test frameworks, clang for the
# fuzz targets, the https test server's TLS, the print scheduler with its PDF queue, and the
# benchmarks' peers (libvips, ImageMagick) and X server.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev clang libssl-dev
  cups cups-client printer-driver-cups-pdf libcups2-dev poppler-utils
  libvips-dev libmagickcore-dev xvfb
)
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac
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
