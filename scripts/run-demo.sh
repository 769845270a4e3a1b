#!/usr/bin/env bash
# Installs what is missing, builds Veldra and starts it on the demo installation in
# build/demo (its own data folder and settings, so nothing of yours is touched).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build=${VELDRA_BUILD_DIR:-build}
demo=$(bash scripts/make-demo.sh "$build" "$build/demo")
export XDG_CONFIG_HOME=$demo/config
exec "$demo/program/veldra" "$@"
