#!/usr/bin/env bash
# Installs the Debian packages Orbiplate needs to build, test and run.
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev zlib1g-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdal-dev
  libbz2-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth imagemagick
  xdotool
  poppler-utils
  ccache
  qt6-translations-l10n
  clang libclang-rt-14-dev llvm-14
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installation des paquets manquants : ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
