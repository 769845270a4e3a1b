#!/usr/bin/env bash
# Installs what is missing, configures the clang build with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitized/ (or $VELDRA_BUILD_DIR) and builds the targets named, or everything.
# VELDRA_FUZZ is on as well, so that one build serves the sanitized suite and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --sanitized
build=${VELDRA_BUILD_DIR:-build-sanitized}
# -O1 and line tables only: the sanitizers' usual trade, and a much shorter build than -O2 -g.
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DVELDRA_SANITIZE=ON -DVELDRA_FUZZ=ON >/dev/null
cmake --build "$build" ${1:+--target "$@"}
