#!/usr/bin/env bash
# Checks that a run refused before it began left nothing: ${DESTINATION} as empty as
# prepare_earlier_folder.sh laid it, no record but the "Dizin" laid with it, no program group,
# and no temporary folder. run_wine.sh runs it after the robot.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/product_checks.sh"

folder=$(unix_path "$DESTINATION")
[[ -d $folder ]] || fail "no folder $folder"
[[ -z $(find "$folder" -mindepth 1) ]] || fail "$folder is no longer empty:" "$folder"/*
! "$WINE" reg query 'HKLM\Software\Quorvalen\PLM' /v Version >/dev/null 2>&1 ||
  fail "the product key has a Version"
! "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora' \
  >/dev/null 2>&1 || fail "the uninstall key was written"
programs=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -print -quit)
[[ ! -e $programs/Pelmora ]] || fail "a program group Pelmora was made"
check_temporary_folder_gone
finish_check "nothing was installed into $DESTINATION"
