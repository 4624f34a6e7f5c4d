#!/usr/bin/env bash
# Configures and builds the targets named (all of them, the tests included,
# when none is named; warnings are errors when TAVIL_WERROR=ON). The build
# folder is build/, or TAVIL_BUILD_DIR; TAVIL_SANITIZE=ON builds under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${TAVIL_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DTAVIL_WERROR="${TAVIL_WERROR:-OFF}" -DTAVIL_SANITIZE="${TAVIL_SANITIZE:-OFF}" >/dev/null
if [ "$#" -gt 0 ]; then
  cmake --build "$dir" -j"$(nproc)" --target "$@"
else
  cmake --build "$dir" -j"$(nproc)"
fi
