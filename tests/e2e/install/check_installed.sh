#!/usr/bin/env bash
# Checks what an installation into ${DESTINATION} leaves in the Wine prefix: the eight files as
# built, the records of the product and of the system's list of installed programs, the
# program group "Pelmora" with its three shortcuts, and no temporary folder.
# run_wine.sh runs it after the robot, with WINEPREFIX, WINE, BUILD and DESTINATION set.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/product_checks.sh"

readonly product_key='HKLM\Software\Quorvalen\PLM'
readonly uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'

# `reg query` prints a value as "    NAME    TYPE    DATA".
check_value() {
  local key=$1 name=$2 type=$3 data=$4 line
  line=$("$WINE" reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' | grep -F "    $name    ") ||
    { fail "$key has no value $name"; return; }
  [[ $line == "    $name    $type    $data" ]] ||
    fail "$key: expected $name $type $data, found ${line#    }"
}

# The kilobytes of the eight files as built, a part of one counted whole, in reg's notation.
installed_kilobytes() {
  local bytes=0 file
  for file in "${files[@]}"; do bytes=$((bytes + $(stat -c %s "$BUILD/demo/product/$file"))); done
  printf '0x%x' $(((bytes + 1023) / 1024))
}

check_records() {
  check_value "$product_key" Dizin REG_SZ "$DESTINATION"
  check_value "$product_key" Version REG_DWORD 0x7
  check_value "$product_key" IncCur REG_DWORD 0x1
  check_value "$uninstall_key" DisplayName REG_SZ "Tarvo's Pelmora"
  check_value "$uninstall_key" UninstallString REG_SZ "\"$DESTINATION\\Uninstall PLM.exe\""
  check_value "$uninstall_key" DisplayVersion REG_SZ 1.5
  check_value "$uninstall_key" Publisher REG_SZ Quorvalen
  check_value "$uninstall_key" DisplayIcon REG_SZ "$DESTINATION\\Pelmora.exe,0"
  check_value "$uninstall_key" InstallLocation REG_SZ "$DESTINATION"
  check_value "$uninstall_key" EstimatedSize REG_DWORD "$(installed_kilobytes)"
  check_value "$uninstall_key" NoModify REG_DWORD 0x1
  check_value "$uninstall_key" NoRepair REG_DWORD 0x1
}

check_product_files "$(unix_path "$DESTINATION")"
check_records
check_program_group "$DESTINATION"
check_temporary_folder_gone
finish_check "the installation into $DESTINATION is complete"
