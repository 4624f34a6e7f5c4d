#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors when TAVIL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DTAVIL_WERROR="${TAVIL_WERROR:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
