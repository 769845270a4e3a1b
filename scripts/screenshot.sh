#!/usr/bin/env bash
# Takes docs/main-window.png: the demo installation on a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELDRA_BUILD_DIR:-build}
demo=$(bash scripts/make-demo.sh "$build" "$build/screenshot-demo")
out=$(pwd)/docs/main-window.png
unset QT_QPA_PLATFORM
XDG_CONFIG_HOME=$demo/config xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
  "$1" & pid=$!
  sleep 4
  /usr/bin/import -window root "$2"
  kill $pid; wait $pid 2>/dev/null || true' _ "$demo/program/veldra" "$out"
echo "saved $out"
