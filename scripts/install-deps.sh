#!/usr/bin/env bash
# Installs, as root on Debian 12, every package that building, running and
# testing the notebook needs and that is not installed yet.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libfontconfig-dev libqt6sql6-sqlite libsqlite3-dev qt6-translations-l10n fonts-noto-cjk
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool appstream desktop-file-utils python3 python3-icalendar
  x11-apps x11-utils netpbm fontconfig xclip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}" </dev/null
fi
