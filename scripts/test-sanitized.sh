#!/usr/bin/env bash
# The whole test suite in the sanitized clang build (scripts/build-sanitized.sh), on SQLite
# and a local PostgreSQL server like scripts/test.sh; the fuzz targets replay their corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-sanitized.sh
VELDRA_TEST_PG=${VELDRA_TEST_PG:-$(bash scripts/start-postgres.sh)}
export VELDRA_TEST_PG
source scripts/sanitizer-options.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir "${VELDRA_BUILD_DIR:-build-sanitized}" --output-on-failure -j2
