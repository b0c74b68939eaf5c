#!/usr/bin/env bash
# Installs every Debian package Orb needs to build, test and run.
# Safe to run again: only missing packages are installed.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-14 libclang-rt-14-dev clang-format
  # libraries
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  libgsf-1-dev libxlsxwriter-dev
  # geomagnetic models, normal gravity and map projections
  libgeographiclib-dev
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev qt6-translations-l10n
  qt6-l10n-tools libgl-dev
  # headless display, fonts for the Chinese texts and the report faces
  xvfb xauth fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fonts-liberation2 fonts-dejavu-core fontconfig
  # locales for the locale-independence tests
  locales
  # tools used by tests to look at what the program writes
  python3 python3-xlrd poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so tests can prove that number texts never follow the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
