#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and benchmarks need, only those missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6svg6
  libgl-dev libxkbcommon-dev
  libsqlite3-dev libxlsxwriter-dev mdbtools-dev
  libbenchmark-dev
  poppler-utils python3 python3-openpyxl
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Instalando paquetes: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
