#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, test and benchmark Partsmith.
# Idempotent and quiet when everything is already there.
set -euo pipefail

build_pkgs=(build-essential cmake ninja-build ccache pkg-config
            qt6-base-dev qt6-base-dev-tools libgl-dev
            libcrypto++-dev libisal-dev libgtest-dev libgmock-dev
            fonts-dejavu-core)
test_pkgs=(xvfb xauth xdotool)
bench_pkgs=(rhash p7zip-full openssl time)

want=("${build_pkgs[@]}")
case "${1:-}" in
  --with-bench) want+=("${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
  --with-gui)   want+=("${test_pkgs[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
