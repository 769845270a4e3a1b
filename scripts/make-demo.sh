#!/usr/bin/env bash
# Makes (or refreshes) a demo installation: make-demo.sh BUILD_DIRECTORY DESTINATION
#   DESTINATION/program/veldra, veldra.ini   the program and its INI
#   DESTINATION/program/Moduli/              the example modules
#   DESTINATION/data/                        Veldra_be.mdb with demo persons, LastVer.ini
#   DESTINATION/config/                      the user's settings store (XDG_CONFIG_HOME)
# The program is always replaced; data and settings already there are kept.
set -euo pipefail
build=$(cd "$1" && pwd)
dest=$(mkdir -p "$2" && cd "$2" && pwd)
mkdir -p "$dest/program" "$dest/data/Slike" "$dest/config"
install -m 0755 "$build/src/app/veldra" "$dest/program/veldra"
# The example modules, with their icons, as a user would install them.
mkdir -p "$dest/program/Moduli"
for module in "$build"/examples/modules/*.so "$build"/examples/modules/*.so.*.png; do
  [[ -f $module ]] && install -m 0644 "$module" "$dest/program/Moduli/"
done

if [[ ! -f $dest/program/veldra.ini ]]; then
  cat > "$dest/program/veldra.ini" <<INI
[Glavno]
PathPodatki=$dest/data
ImagePath=\\Slike
MaticniPodatki=1
BackUpFolder=\\Backup\\Podatki /DATE/.mdb

[SETTINGS]
UpgradeProg=
INI
fi
if [[ ! -s $dest/data/Veldra_be.mdb ]]; then
  install -m 0644 "$build/Veldra_be.mdb" "$dest/data/Veldra_be.mdb"
  "$build/bench/veldra-gendata" "$dest/data/Veldra_be.mdb" 40 7
fi
if [[ ! -f $dest/data/LastVer.ini ]]; then
  cat > "$dest/data/LastVer.ini" <<'INI'
[Program]
ZadnjaVerzija=2.310

[Novosti]
Prva verzija programa Veldra za Linux.
[END]

[Obvestilo]
Dobrodošli v programu Veldra! To je predstavitvena namestitev s podatki za preizkus.
[END]
INI
fi
echo "$dest"
