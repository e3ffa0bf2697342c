#!/usr/bin/env bash
# Installs the Debian packages Starvane needs to build, test and run. Installs only what is
# missing, so it is cheap to run again.
set -euo pipefail

packages=(
  g++ make cmake python3
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libstb-dev
  libirrlicht-dev libgl-dev libgl1-mesa-dri xvfb xauth xfonts-base xdotool python3-pil python3-numpy
  libx11-dev dpkg-dev desktop-file-utils groff-base
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
