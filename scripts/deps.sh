#!/usr/bin/env bash
# Installs what building and testing Vaelo needs on Debian 12, and nothing when all is there.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev libfribidi-dev clang-14 libclang-rt-14-dev xvfb xauth culmus fonts-dejavu-core)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
