#!/usr/bin/env bash
# Installs every Debian package Orb needs to build, test, package and run.
# The only step that needs root; building and testing then run as any user.
# Safe to run again: only missing packages are installed.
#   setup.sh          install what is missing (as root, or through sudo)
#   setup.sh --check  list what is missing and fail if anything is
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-14 libclang-rt-14-dev clang-format
  # libraries
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  libgsf-1-dev libxlsxwriter-dev libgeographiclib-dev libzip-dev libxml2-dev zlib1g-dev
  # Qt 6 (lupdate/lrelease come with the l10n tools)
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-l10n-tools libgl-dev
  # headless display, fonts for the Chinese texts and the report faces
  xvfb xauth fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fonts-liberation2 fonts-dejavu-core fontconfig
  # locales for the locale-independence tests
  locales
  # tools used by tests to look at what the program writes
  python3 python3-xlrd python3-openpyxl poppler-utils libreoffice-calc-nogui
  # the Debian package and its desktop files
  dpkg-dev desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
need_locale=0
locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$' || need_locale=1

if [ "${1:-}" = "--check" ]; then
  if [ ${#missing[@]} -gt 0 ] || [ $need_locale -eq 1 ]; then
    echo "Missing: ${missing[*]}$([ $need_locale -eq 1 ] && echo ' (locale de_DE.UTF-8)')" >&2
    echo "Install them first: sudo bash scripts/setup.sh" >&2
    exit 1
  fi
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so tests can prove that number texts never follow the locale.
if [ $need_locale -eq 1 ]; then
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
