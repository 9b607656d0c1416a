#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need.
# Quiet when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6sql6-sqlite
  libqcustomplot-dev
  libgtest-dev libgmock-dev
  fonts-wqy-microhei fontconfig
  locales
  xvfb xauth poppler-utils
  clang libclang-rt-14-dev
  dpkg-dev file  # make package: the libraries the programs need, read from the programs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# A decimal-comma locale, so the tests can prove that number parsing ignores it.
need_locale=0
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then need_locale=1; fi

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then exit 0; fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ $need_locale -eq 1 ] && [ -f /etc/locale.gen ]; then
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null 2>&1 || true
fi
