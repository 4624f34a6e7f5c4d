#!/usr/bin/env bash
# Configures and builds (warnings are errors when TAVIL_WERROR=ON). The build
# folder is build/, or TAVIL_BUILD_DIR; TAVIL_SANITIZE=ON builds under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${TAVIL_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DTAVIL_WERROR="${TAVIL_WERROR:-OFF}" -DTAVIL_SANITIZE="${TAVIL_SANITIZE:-OFF}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
