#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need (run as root or with sudo).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql postgresql libgl1-mesa-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev libsqlite3-dev
  xvfb xauth xdg-utils qt6-translations-l10n shared-mime-info desktop-file-utils fonts-dejavu-core fonts-liberation poppler-utils python3
  libpugixml-dev libxlsxwriter-dev libzip-dev libreoffice-calc-nogui
  dpkg-dev lintian xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
