#!/usr/bin/env bash
# Installs whatever the build, the tests or the program need and is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-translations-l10n libgl-dev
  libsqlcipher-dev sqlcipher libssl-dev libpq-dev libsodium-dev zlib1g-dev unzip
  mdbtools-dev libmdb3
  postgresql postgresql-contrib postgresql-common
  libgtest-dev libbenchmark-dev
  fonts-arphic-uming fonts-arphic-ukai fonts-noto-cjk
  poppler-utils xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm fetches SQLCipher 4's amalgamation; a Node.js from elsewhere brings its own.
command -v npm >/dev/null || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
