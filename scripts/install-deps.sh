#!/usr/bin/env bash
# Installs the Debian packages Veldra needs to build, package and run, where missing;
# with --tests also the PostgreSQL server the database tests use and the validators of
# the package's menu entry and metainfo; with --sanitized those and clang with its
# sanitizer and libFuzzer runtimes and the symbolizer of their reports.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-l10n-tools qt6-webengine-dev libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev
  xvfb xauth dbus libglib2.0-bin imagemagick fonts-dejavu-core
  dpkg-dev file mdbtools-dev
)
[[ ${1:-} == --tests || ${1:-} == --sanitized ]] && packages+=(postgresql desktop-file-utils appstream)
[[ ${1:-} == --sanitized ]] && packages+=(clang libclang-rt-14-dev llvm)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
