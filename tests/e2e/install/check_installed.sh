#!/usr/bin/env bash
# Checks what an installation into ${DESTINATION} leaves in the Wine prefix: the eight files as
# built, the records of the product and of the system's list of installed programs, the
# program group "Pelmora" with its three shortcuts, and no temporary folder.
# run_wine.sh runs it after the robot, with WINEPREFIX, WINE, BUILD and DESTINATION set.
set -euo pipefail

readonly product_key='HKLM\Software\Quorvalen\PLM'
readonly uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)

failures=0
fail() {
  echo "check: FAILED: $*" >&2
  failures=$((failures + 1))
}

unix_path() { "$WINE" winepath -u "$1" | tr -d '\r'; }

# The folder holds exactly the eight files, each equal to the product's own.
check_files() {
  local folder=$1 file
  [[ -d $folder ]] || { fail "no folder $DESTINATION"; return; }
  for file in "${files[@]}"; do
    cmp -s "$BUILD/demo/product/$file" "$folder/$file" || fail "$file differs from the product's"
  done
  local count
  count=$(find "$folder" -mindepth 1 | wc -l)
  ((count == ${#files[@]})) || fail "$DESTINATION holds $count entries, not ${#files[@]}"
}

# `reg query` prints a value as "    NAME    TYPE    DATA".
check_value() {
  local key=$1 name=$2 type=$3 data=$4 line
  line=$("$WINE" reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' | grep -F "    $name    ") ||
    { fail "$key has no value $name"; return; }
  [[ $line == "    $name    $type    $data" ]] ||
    fail "$key: expected $name $type $data, found ${line#    }"
}

check_records() {
  check_value "$product_key" Dizin REG_SZ "$DESTINATION"
  check_value "$product_key" Version REG_DWORD 0x7
  check_value "$product_key" IncCur REG_DWORD 0x1
  check_value "$uninstall_key" DisplayName REG_SZ "Tarvo's Pelmora"
  check_value "$uninstall_key" UninstallString REG_SZ "\"$DESTINATION\\Uninstall PLM.exe\""
}

# Wine's Program Manager keeps a group as a folder of the user's Start menu, with a .lnk
# shortcut per item; a shortcut holds the path of its file, in any letter case.
check_group() {
  local programs group
  programs=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -print -quit)
  group=$programs/Pelmora
  [[ -d $group ]] || { fail "no program group Pelmora in the Start menu"; return; }
  check_shortcut "$group" "Tarvo's Pelmora" Pelmora.exe
  check_shortcut "$group" "Pelmora Help" PLM.chm
  check_shortcut "$group" "Uninstall Pelmora" "Uninstall PLM.exe"
  local count
  count=$(find "$group" -mindepth 1 | wc -l)
  ((count == 3)) || fail "the group holds $count entries, not 3"
}

check_shortcut() {
  local group=$1 caption=$2 file=$3
  [[ -f $group/$caption.lnk ]] || { fail "no shortcut $caption"; return; }
  grep -qaiF "$DESTINATION\\$file" "$group/$caption.lnk" ||
    fail "the shortcut $caption does not lead to $DESTINATION\\$file"
}

check_temporary_folder_gone() {
  local temp
  temp=$(unix_path "$("$WINE" cmd /c echo %TEMP% | tr -d '\r')")
  [[ -d $temp ]] || { fail "no temporary path $temp"; return; }
  [[ ! -e $temp/PLMTMP ]] || fail "the temporary folder stays:" "$temp"/PLMTMP/*
}

check_files "$(unix_path "$DESTINATION")"
check_records
check_group
check_temporary_folder_gone
((failures == 0)) || exit 1
echo "check: the installation into $DESTINATION is complete"
