#!/usr/bin/env bash
# Sets up, builds the program (and only what it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh tavil
exec "${TAVIL_BUILD_DIR:-build}/mainwin/tavil" "$@"
