#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Quick when everything is already there: apt is only called for what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  fonts-arphic-gbsn00lp fonts-arphic-gkai00mp
  libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth poppler-utils time
  qt6-translations-l10n desktop-file-utils
  pkg-config libzip-dev libxlsxwriter-dev
  # Only the tests use these: independent readers of what the program exports.
  libreoffice-writer-nogui libreoffice-calc-nogui python3-docx python3-openpyxl unzip
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
echo "Installing: ${missing[*]}" >&2
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
