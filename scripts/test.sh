#!/usr/bin/env bash
# Sets up, builds and runs every test (in build/, or TAVIL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
dir="${TAVIL_BUILD_DIR:-build}"
set +e
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 600 2>&1 | tee "$dir/ctest.log"
rc=${PIPESTATUS[0]}
set -e
# The summary line last, after ctest's list of skipped tests.
grep -E '^[0-9]+% tests passed' "$dir/ctest.log" | tail -n 1
exit "$rc"
