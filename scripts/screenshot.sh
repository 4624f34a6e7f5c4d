#!/usr/bin/env bash
# Takes the README's screenshot of the main window under Xvfb, with the
# Japanese font the set-up installs: docs/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
if ! command -v xvfb-run >/dev/null; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends xvfb xauth
fi
bash scripts/build.sh
mkdir -p docs
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" ./build/tools/tavil_screenshot docs/main-window.png
