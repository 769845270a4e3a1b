#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir "${VELDRA_BUILD_DIR:-build}" --output-on-failure -j2
