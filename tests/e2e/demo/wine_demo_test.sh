#!/bin/bash
# One Wine test of the demo product, in a fresh Wine prefix under Xvfb:
#   wine_demo_test.sh CASE PRODUCT_DIR PROBE_EXE WORK_DIR
# CASE is one of
#   app_window               Pelmora starts, shows its window with its buttons, and closes
#   help_missing             without PLM.chm, the Help button says that the help cannot open
#   uninstall                the uninstaller removes exactly the files, keys and group that an
#                            installation leaves, deletes its temporary copy, and a second run
#                            says that there is nothing left to remove
#   uninstall_keeps_foreign  files and keys that are not the product's stay where they are,
#                            and the report names the folder that could not go
set -euo pipefail

case_name=$1
product=$2
probe=$3
work=$4

wine=${WINE64:-/usr/lib/wine/wine64}
export WINELOADER=$wine
export WINESERVER=${WINESERVER64:-/usr/lib/wine/wineserver64}
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
# No Mono or Gecko prompts, and no desktop menu entries on the host for the program group.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

readonly title="Tarvo's Pelmora"
readonly uninstall_title="Uninstall Pelmora"
readonly install_dir='C:\Program Files\Pelmora'
readonly product_key='HKLM\Software\Quorvalen\PLM'
readonly vendor_key='HKLM\Software\Quorvalen'
readonly uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

xvfb_pid=
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

start_xvfb() {
  local display_file=$work/display
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  [ -s "$display_file" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$display_file")
}

probe() { "$wine" "$probe" "$@"; }

unix_install_dir() { echo "$WINEPREFIX/drive_c/Program Files/Pelmora"; }

start_menu_group() {
  find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs/Pelmora' 2>/dev/null
}

temp_copies() {
  find "$WINEPREFIX/drive_c" -path '*/Temp/*' -iname 'plm*.tmp' 2>/dev/null
}

key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

# What a finished installation leaves: the eight files, the two keys and the program group.
install_product() {
  local dir
  dir=$(unix_install_dir)
  mkdir -p "$dir"
  for file in "${files[@]}"; do cp "$product/$file" "$dir/"; done
  "$wine" reg add "$product_key" /v Dizin /t REG_SZ /d "$install_dir" /f >/dev/null
  "$wine" reg add "$product_key" /v Version /t REG_DWORD /d 7 /f >/dev/null
  "$wine" reg add "$product_key" /v IncCur /t REG_DWORD /d 1 /f >/dev/null
  "$wine" reg add "$uninstall_key" /v DisplayName /t REG_SZ /d "$title" /f >/dev/null
  "$wine" reg add "$uninstall_key" /v UninstallString /t REG_SZ \
    /d "$install_dir\\Uninstall PLM.exe" /f >/dev/null
  probe progman "[CreateGroup(Pelmora)]" || fail "Program Manager did not create the group"
  probe progman "[additem(\"$install_dir\\Pelmora.exe\",$title)]" || fail "additem failed"
  [ -n "$(start_menu_group)" ] || fail "no Start-menu folder for the group"
  [ "$(probe group Pelmora | tr -d '\r')" = present ] || fail "Program Manager lists no group"
}

# Runs the installed uninstaller, answers its question Yes, and prints its report.
uninstall_answering_yes() {
  "$wine" "$install_dir\\Uninstall PLM.exe" >>"$work/wine.log" 2>&1 &
  local question
  question=$(probe answer "$uninstall_title" "&Yes" 60 | tr -d '\r') ||
    fail "the uninstaller did not ask"
  [ "$question" = "Do you want to remove $title and all of its components from this computer?" ] ||
    fail "unexpected question: $question"
  probe answer "$uninstall_title" OK 60 | tr -d '\r' || fail "the uninstaller did not report"
  wait_for_no_temp_copy
}

wait_for_no_temp_copy() {
  for _ in $(seq 100); do
    [ -z "$(temp_copies)" ] && return 0
    sleep 0.2
  done
  fail "the uninstaller's temporary copy stays: $(temp_copies)"
}

expect_product_files_gone() {
  local dir
  dir=$(unix_install_dir)
  for file in "${files[@]}"; do
    [ ! -e "$dir/$file" ] || fail "$file stays"
  done
}

expect_keys_and_group_gone() {
  ! key_exists "$product_key" || fail "the product key stays"
  ! key_exists "$uninstall_key" || fail "the uninstall key stays"
  [ -z "$(start_menu_group)" ] || fail "the program group stays"
  [ "$(probe group Pelmora | tr -d '\r')" = absent ] || fail "Program Manager still lists it"
}

case_app_window() {
  install_product
  "$wine" "$install_dir\\Pelmora.exe" &
  local app=$!
  probe window "$title" 60 || fail "Pelmora showed no window"
  probe buttons "$title" Stop Start Shot Click Beep Help Close || fail "buttons missing"
  if command -v import >/dev/null; then
    import -window root "$work/pelmora.png" 2>/dev/null || true
  fi
  probe close "$title" 20 || fail "Pelmora's window does not close"
  wait "$app" || fail "Pelmora ended with an error"
}

case_help_missing() {
  install_product
  rm "$(unix_install_dir)/PLM.chm"
  "$wine" "$install_dir\\Pelmora.exe" &
  probe window "$title" 60 || fail "Pelmora showed no window"
  probe click "$title" Help
  local text
  text=$(probe answer "$title" OK 30 | tr -d '\r') || fail "no message about the help file"
  [ "$text" = 'Pelmora could not open its help file "PLM.chm".' ] || fail "unexpected: $text"
  probe close "$title" 20 || fail "Pelmora's window does not close"
}

case_uninstall() {
  install_product
  local report
  report=$(uninstall_answering_yes)
  [ "$report" = "$title has been removed from this computer." ] || fail "report: $report"
  expect_product_files_gone
  [ ! -e "$(unix_install_dir)" ] || fail "the folder stays"
  expect_keys_and_group_gone
  ! key_exists "$vendor_key" || fail "the empty vendor key stays"

  # A second run, from a copy put back where the uninstaller was.
  mkdir -p "$(unix_install_dir)"
  cp "$product/Uninstall PLM.exe" "$(unix_install_dir)/"
  "$wine" "$install_dir\\Uninstall PLM.exe" >>"$work/wine.log" 2>&1 &
  local second=$!
  report=$(probe answer "$uninstall_title" OK 60 | tr -d '\r') || fail "no report on a second run"
  [ "$report" = "There is nothing left to remove." ] || fail "second run: $report"
  wait "$second" || fail "the second run ended with an error"
  [ -e "$(unix_install_dir)/Uninstall PLM.exe" ] || fail "the second run removed itself"
}

case_uninstall_keeps_foreign() {
  install_product
  "$wine" reg add "$vendor_key\\Other" /v Kept /t REG_SZ /d yes /f >/dev/null
  echo "my notes" >"$(unix_install_dir)/notes.txt"
  probe progman "[CreateGroup(Other)]" || fail "no group Other"
  local report
  report=$(uninstall_answering_yes)
  [ "$report" = "$title could not be removed completely. These are left:

$install_dir" ] || fail "report: $report"
  expect_product_files_gone
  [ "$(cat "$(unix_install_dir)/notes.txt")" = "my notes" ] || fail "notes.txt was touched"
  expect_keys_and_group_gone
  key_exists "$vendor_key\\Other" || fail "the other vendor subkey went"
  [ "$(probe group Other | tr -d '\r')" = present ] || fail "the group Other went"
}

rm -rf "$work"
mkdir -p "$work"
start_xvfb
"$wine" wineboot -i >/dev/null 2>&1
"$WINESERVER" -w
"case_$case_name"
echo "PASSED: $case_name"
