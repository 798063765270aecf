#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and harbinet need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ ccache binutils clang-format qt6-base-dev libgl1-mesa-dev
          libgtest-dev libgmock-dev xvfb xauth fonts-dejavu-core clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
