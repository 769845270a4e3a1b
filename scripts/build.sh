#!/usr/bin/env bash
# Configures and builds Veldra in build/ (or $VELDRA_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELDRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
