#!/usr/bin/env bash
# Installs the Debian packages Velumir needs to build, run and test, when
# any of them is missing. Run as root (or with sudo) on Debian 12.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-private-dev qt6-svg-dev libqt6svg6
  libsqlite3-dev
  mdbtools-dev libmdb3
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils fonts-dejavu-core
  python3 python3-fonttools libharfbuzz-bin fonts-khmeros
  clang libclang-rt-14-dev
  librsvg2-bin desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${missing[@]}"
fi
