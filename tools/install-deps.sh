#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ ccache libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          clang libclang-rt-14-dev libgsf-bin
          libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2 fonts-wqy-microhei fonts-dejavu-core
          pkg-config libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
          libjpeg-dev libgif-dev locales
          libx11-dev libxext-dev libxtst-dev xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
