#!/usr/bin/env bash
# Installs the Debian packages Velumir needs to build, run and test, when
# any of them is missing, on Debian 12. Run as root it calls apt-get
# directly; run as a user, it asks for root through sudo for apt-get alone,
# and only when something is missing.
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
  librsvg2-bin desktop-file-utils appstream dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo > /dev/null; then
      echo "Installing packages needs root, and sudo is not installed: run" >&2
      echo "  su -c 'bash scripts/install-deps.sh'" >&2
      echo "then run this command again as yourself." >&2
      exit 1
    fi
    SUDO=(sudo)
  fi
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
