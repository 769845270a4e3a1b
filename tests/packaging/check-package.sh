#!/usr/bin/env bash
# check-package.sh BUILD_DIRECTORY CMAKE CPACK
# Installs the build into a temporary prefix and checks the installation source folder
# against its Setup.ini; then builds the Debian package, unpacks it and checks what it
# holds, with Debian's validators for the menu entry and the metainfo where installed.
set -euo pipefail
build=$1 cmake=$2 cpack=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need_file() { [[ -f $1 && ! -L $1 ]] || fail "missing file ${1#"$work"/}"; }

# The value of a key in a section of an INI file, names without regard to case.
ini_value() {
  awk -v section="$2" -v key="$3" '
    { sub(/\r$/, "") }
    /^[ \t]*\[/ { inside = tolower($0) ~ "^[ \t]*\\[" tolower(section) "\\]" ; next }
    inside && index($0, "=") {
      name = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", name)
      if (tolower(name) == tolower(key)) { print substr($0, index($0, "=") + 1); exit }
    }' "$1"
}
# The key lines of a section, "source=target;option" each.
ini_lines() {
  awk -v section="$2" '
    { sub(/\r$/, "") }
    /^[ \t]*\[/ { inside = tolower($0) ~ "^[ \t]*\\[" tolower(section) "\\]" ; next }
    inside && index($0, "=") && $0 !~ /^[ \t]*;/ { print }' "$1"
}

# The folder as the package and the prefix install both lay it out.
check_source_folder() {
  local folder=$1 script=$1/Setup.ini
  local file
  for file in setup veldra; do
    [[ -x $folder/$file && -f $folder/$file ]] || fail "no program $file in ${folder#"$work"/}"
  done
  for file in Setup.ini veldra.ini veldra.png LICENSE Baza/Veldra_be.mdb Baza/Verzija.ini Baza/LastVer.ini; do
    need_file "$folder/$file"
  done
  [[ -f $script ]] || return 0

  iconv -f UTF-8 -t UTF-8 "$script" >/dev/null || fail "Setup.ini is not UTF-8"
  [[ $(ini_value "$script" Glavno Ime) == Veldra ]] || fail "Ime is not Veldra"
  [[ $(ini_value "$script" Glavno ProgramFolder) == "~/Veldra" ]] || fail "ProgramFolder"
  [[ $(ini_value "$script" Glavno MrezaFolder) == "~/Veldra/Baza" ]] || fail "MrezaFolder"
  [[ $(ini_value "$folder/Baza/Verzija.ini" Baza Verzija) == 1 ]] || fail "Verzija.ini has no Baza/Verzija=1"
  [[ -z $(ini_value "$folder/veldra.ini" Glavno PathPodatki) ]] || fail "veldra.ini names a data folder"
  [[ -n $(ini_value "$folder/veldra.ini" Glavno ImagePath) ]] || fail "veldra.ini has no ImagePath"

  # Every source the script names is in the folder, and everything in the folder but
  # the installer and its script is named, so that nothing is shipped and left behind.
  local -A named=()
  local key line source target option
  for key in Slika Memo; do
    source=$(ini_value "$script" Glavno "$key")
    [[ -n $source ]] || { fail "no $key"; continue; }
    named[$source]=1
  done
  [[ $(wc -l < "$folder/$(ini_value "$script" Glavno Memo)") -gt 17 ]] ||
    fail "the Memo text fits the welcome window without scrolling"
  local shortcuts=() targets=()
  while IFS= read -r line; do
    source=${line%%=*} target=${line#*=}
    option=""
    [[ $target == *";"* ]] && option=${target#*;} && option=${option%%;*}
    target=${target%%;*}
    named[$source]=1
    targets+=("$target")
    [[ ${option,,} == shortcut ]] && shortcuts+=("$target")
  done < <(ini_lines "$script" Datoteke; ini_lines "$script" DLL)
  for source in "${!named[@]}"; do
    [[ -e $folder/$source ]] || fail "Setup.ini names $source, which the folder lacks"
  done
  while IFS= read -r file; do
    file=${file#"$folder"/}
    [[ $file == setup || $file == Setup.ini || -n ${named[$file]:-} ]] ||
      fail "$file is in the folder but Setup.ini does not install it"
  done < <(find "$folder" -type f)
  [[ ${shortcuts[*]} == "%ProgramFolder%veldra" ]] || fail "the shortcuts are '${shortcuts[*]}', not the program"
  [[ " ${targets[*]} " == *" $(ini_value "$script" Glavno ChangePathInIni) "* ]] ||
    fail "ChangePathInIni names no file that is installed"
  ls "$folder"/Moduli/*.so >/dev/null 2>&1 || fail "no modules"
  ls "$folder"/Moduli/*.so.0.png >/dev/null 2>&1 || fail "no module icons"
}

# (a) The installation source folder.
"$cmake" --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; exit 1; }
check_source_folder "$work/prefix/lib/veldra"
[[ -x $work/prefix/bin/veldra-dbtool ]] || fail "no bin/veldra-dbtool"

# (b) The Debian package.
(cd "$build" && "$cpack" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
debs=("$work"/deb/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { fail "cpack made no single .deb"; exit 1; }
deb=${debs[0]}
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == veldra ]] || fail "package name $(field Package)"
[[ $(field Version) == "$(ini_value "$work/prefix/lib/veldra/Setup.ini" Glavno Verzija)" ]] ||
  fail "package version $(field Version) is not the script's"
[[ $(field Section) == misc ]] || fail "section $(field Section)"
[[ $(field Maintainer) == "Veldra developers" ]] || fail "maintainer $(field Maintainer)"
[[ $(field Depends) == *libqt6widgets6* ]] || fail "Depends lacks what dpkg-shlibdeps finds: $(field Depends)"
[[ $(field Depends) == *libqt6sql6-sqlite* ]] || fail "Depends lacks the SQLite driver"

root=$work/root
dpkg-deb -x "$deb" "$root"
check_source_folder "$root/usr/lib/veldra"
diff <(cd "$work/prefix/lib/veldra" && find . | sort) <(cd "$root/usr/lib/veldra" && find . | sort) ||
  fail "the package's source folder differs from the installed one"
[[ -x $root/usr/bin/veldra-dbtool ]] || fail "no /usr/bin/veldra-dbtool"
[[ -L $root/usr/bin/veldra-setup && $(readlink -f "$root/usr/bin/veldra-setup") == "$root/usr/lib/veldra/setup" ]] ||
  fail "/usr/bin/veldra-setup is no link to /usr/lib/veldra/setup"
cmp -s "$root/usr/share/doc/veldra/copyright" "$root/usr/lib/veldra/LICENSE" ||
  fail "the copyright file is not the licence"
grep -q "^MIT License" "$root/usr/share/doc/veldra/copyright" || fail "the licence is not MIT"

desktop=$root/usr/share/applications/org.veldra.Veldra.desktop
metainfo=$root/usr/share/metainfo/org.veldra.Veldra.metainfo.xml
need_file "$desktop"
need_file "$metainfo"
[[ $(ini_value "$desktop" "Desktop Entry" Exec) == /usr/lib/veldra/setup ]] || fail "the menu entry does not start setup"
[[ $(ini_value "$desktop" "Desktop Entry" Icon) == org.veldra.Veldra ]] || fail "the menu entry's icon"
for size in 64 48 32 16; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/org.veldra.Veldra.png
  need_file "$icon"
  [[ -f $icon ]] && { file "$icon" | grep -q ", $size x $size," || fail "$icon is not $size x $size"; }
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
fi

# Nothing else: no tests, benches or headers.
while IFS= read -r file; do
  case ${file#"$root"} in
    /usr/lib/veldra/* | /usr/bin/veldra-dbtool | /usr/bin/veldra-setup | /usr/share/applications/org.veldra.Veldra.desktop | \
      /usr/share/icons/hicolor/*/apps/org.veldra.Veldra.png | /usr/share/metainfo/org.veldra.Veldra.metainfo.xml | \
      /usr/share/doc/veldra/copyright) ;;
    *) fail "the package holds ${file#"$root"}" ;;
  esac
done < <(find "$root" ! -type d)

if [[ $failures -gt 0 ]]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "installation source folder and package: all checks passed"
