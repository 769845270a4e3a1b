#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite, the
# database tests on SQLite and on a local PostgreSQL server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests
bash scripts/build.sh
VELDRA_TEST_PG=${VELDRA_TEST_PG:-$(bash scripts/start-postgres.sh)}
export VELDRA_TEST_PG
QT_QPA_PLATFORM=offscreen ctest --test-dir "${VELDRA_BUILD_DIR:-build}" --output-on-failure -j2
