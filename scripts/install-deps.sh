#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Idempotent and quiet when everything is already present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config make
  libgtest-dev libgmock-dev libbenchmark-dev
  libzstd-dev libpng-dev zlib1g-dev nlohmann-json3-dev libtinygltf-dev libtinygltf2d
  clang libclang-rt-14-dev
  qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev libgl-dev
  xvfb xauth libgl1-mesa-dri
  desktop-file-utils shared-mime-info
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
