#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools a Debian 12
# machine lacks: compiler, CMake, Ninja, GoogleTest, Qt 6 with its Japanese
# translation, and a Japanese font.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev qt6-base-dev libicu-dev
          qt6-translations-l10n fonts-ipafont-gothic attr)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
