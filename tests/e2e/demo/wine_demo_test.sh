#!/usr/bin/env bash
# One Wine test of the demo product, in a fresh Wine prefix on a private X server: the product
# is laid into the prefix as an installation leaves it, the robot works the programs, and the
# files, keys and program group are checked afterwards.
#
#   wine_demo_test.sh BUILD CASE
#
# BUILD is a cross build folder (BUILD/demo/product, BUILD/tests/e2e/robot/robot.exe).
# CASE is one of
#   app_window               Pelmora starts, shows its window with its buttons, and closes
#   help_missing             without PLM.chm, the Help button says that the help cannot open
#   uninstall                the uninstaller removes exactly the files, keys and group that an
#                            installation leaves, its temporary copy goes too, and a second run
#                            says that there is nothing left to remove
#   uninstall_keeps_foreign  files, keys and groups that are not the product's stay, and the
#                            report names the folder that could not go
#   uninstall_follows_no_link  links planted among the product's files and in its group lead
#                            nowhere: the files they name elsewhere keep their bytes and modes
#   uninstall_from_linked_folder  the product's folder is a link: nothing behind it changes
#   install_then_uninstall   BUILD/setup.exe installs the product, and the installed uninstaller
#                            removes all of it (skipped, status 77, while there is no setup.exe)
#   install_then_uninstall_without_program_manager  the same while Program Manager does not
#                            answer the setup: the setup makes the program group itself, a
#                            folder of links, and the uninstaller removes it (skipped likewise)
# In every case that uninstalls, the uninstaller's finishing copy runs from a fresh folder in
# C:\windows\temp that others may not enter, and neither stays afterwards.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../wine_env.sh"

(($# == 2)) || wine_die "usage: wine_demo_test.sh BUILD CASE"
build=$(realpath -m "$1")
case_name=$2
product=$build/demo/product
robot=$build/tests/e2e/robot/robot.exe
[[ -f $robot ]] || wine_die "$robot is missing"

readonly title="Tarvo's Pelmora"
readonly install_dir='C:\Program Files\Pelmora'
readonly product_key='HKLM\Software\Quorvalen\PLM'
readonly vendor_key='HKLM\Software\Quorvalen'
readonly uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)
# What the uninstall entry holds beside its title and command line.
readonly entry_values=(DisplayVersion Publisher DisplayIcon InstallLocation EstimatedSize NoModify
  NoRepair)

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

wine_init "$build"
export WINEPREFIX=$wine_work/demo_$case_name
# The loader of the product's kind; its `reg` sees the registry through the product's view.
WINELOADER=$(wine_loader_for "$product/Pelmora.exe")
export WINELOADER
robot_loader=$(wine_loader_for "$robot")
folder=$WINEPREFIX/drive_c/Program\ Files/Pelmora

watcher=
cleanup() {
  if [[ -n $watcher ]]; then kill "$watcher" 2>/dev/null || true; fi
  wine_stop "$WINEPREFIX"
  wine_stop_xvfb
}
trap cleanup EXIT

wine() { "$WINELOADER" "$@"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
programs_folder() {
  find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -print -quit
}
# The entries of the system's and the users' temporary folders, with their modes, as paths
# below drive_c.
temp_entries() {
  find "$WINEPREFIX/drive_c/windows/temp" "$WINEPREFIX/drive_c/users" -ipath '*/temp/*' \
    -printf '%m %p\n' 2>/dev/null | sed "s|$WINEPREFIX/drive_c/||"
}
temp_copies() { temp_entries | grep -i ' [^ ]*temp/plm' || true; }

# Runs a robot script; NAME=VALUE arguments fill its ${NAME}s.
run_robot() {
  local name=$1 shots=$WINEPREFIX/drive_c/shots
  shift
  mkdir -p "$shots"
  timeout -k 10 $((120 * pace)) "$robot_loader" "$robot" --shots 'C:\shots' --pace "$pace" \
    "$(wine_path "$here/$name")" "SETUP=$(wine_path "$build/setup.exe")" \
    "PELMORA=$install_dir\\Pelmora.exe" "UNINSTALLER=$install_dir\\Uninstall PLM.exe" "$@" ||
    fail "the robot stopped in $name (pictures in $shots)"
}

# What a finished installation leaves: the eight files, the two keys with all their values,
# and the program group (Wine's Program Manager keeps a group as a folder of the Start menu).
install_product() {
  mkdir -p "$folder"
  for file in "${files[@]}"; do cp "$product/$file" "$folder/"; done
  wine reg add "$product_key" /v Dizin /t REG_SZ /d "$install_dir" /f >/dev/null
  wine reg add "$product_key" /v Version /t REG_DWORD /d 7 /f >/dev/null
  wine reg add "$product_key" /v IncCur /t REG_DWORD /d 1 /f >/dev/null
  wine reg add "$uninstall_key" /v DisplayName /t REG_SZ /d "$title" /f >/dev/null
  wine reg add "$uninstall_key" /v UninstallString /t REG_SZ \
    /d "$install_dir\\Uninstall PLM.exe" /f >/dev/null
  wine reg add "$uninstall_key" /v DisplayVersion /t REG_SZ /d 1.5 /f >/dev/null
  wine reg add "$uninstall_key" /v Publisher /t REG_SZ /d Quorvalen /f >/dev/null
  wine reg add "$uninstall_key" /v DisplayIcon /t REG_SZ /d "$install_dir\\Pelmora.exe,0" /f \
    >/dev/null
  wine reg add "$uninstall_key" /v InstallLocation /t REG_SZ /d "$install_dir" /f >/dev/null
  wine reg add "$uninstall_key" /v EstimatedSize /t REG_DWORD /d 469 /f >/dev/null
  wine reg add "$uninstall_key" /v NoModify /t REG_DWORD /d 1 /f >/dev/null
  wine reg add "$uninstall_key" /v NoRepair /t REG_DWORD /d 1 /f >/dev/null
  mkdir -p "$(programs_folder)/Pelmora"
  touch "$(programs_folder)/Pelmora/$title.lnk"
}

# Its report answered, the finishing copy moves its file out of its folder, removes the folder
# and ends, and the file goes with it.
expect_no_temp_copy() {
  for _ in $(seq $((100 * pace))); do
    [[ -z $(temp_copies) ]] && return 0
    sleep 0.2
  done
  fail "the uninstaller's temporary copy stays: $(temp_copies)"
}

# What the temporary folders held while the uninstaller worked (a log of temp_entries): its
# copy, in a folder of a random name in C:\windows\temp, which Wine gives no access for others
# when only administrators may enter it; nothing of it in the user's temporary folder.
expect_private_copy() {
  local log=$1 name='windows/temp/plm[0-9a-f]{16}'
  grep -qE "^[0-7]+ $name/Uninstall PLM\.exe\$" "$log" ||
    fail "the uninstaller's copy did not run from a fresh folder in C:\windows\temp: $(sort -u "$log")"
  ! grep -qE "^[0-7]*[1-7] $name\$" "$log" ||
    fail "others may enter the folder of the uninstaller's copy: $(sort -u "$log")"
  ! grep -qiE '^[0-7]+ users/.*/temp/.*plm' "$log" ||
    fail "the uninstaller's copy lay in the user's temporary folder: $(sort -u "$log")"
}

# Runs the installed uninstaller, whose copy reports $1, and watches its temporary folders.
run_uninstaller() {
  local log=$WINEPREFIX/temp_entries.log
  while :; do
    temp_entries
    sleep 0.1
  done >"$log" &
  watcher=$!
  run_robot uninstall.steps "REPORT=$1"
  expect_no_temp_copy
  kill "$watcher"
  wait "$watcher" 2>/dev/null || true
  watcher=
  expect_private_copy "$log"
}

expect_product_gone() {
  for file in "${files[@]}"; do
    [[ ! -e $folder/$file ]] || fail "$file stays"
  done
  ! key_exists "$product_key" || fail "the product key stays"
  ! key_exists "$uninstall_key" || fail "the uninstall key stays"
  [[ ! -e "$(programs_folder)/Pelmora" ]] || fail "the program group stays"
}

case_app_window() {
  install_product
  run_robot pelmora_window.steps
}

case_help_missing() {
  install_product
  rm "$folder/PLM.chm"
  run_robot help_missing.steps
}

# Runs the installed uninstaller on a whole installation: everything goes, its temporary copy
# too; a second run, from a copy put back where it was, says that nothing is left and touches
# nothing.
uninstall_everything() {
  run_uninstaller "$title has been removed from this computer."
  expect_product_gone
  [[ ! -e $folder ]] || fail "the folder stays"
  ! key_exists "$vendor_key" || fail "the vendor key stays, empty"

  mkdir -p "$folder"
  cp "$product/Uninstall PLM.exe" "$folder/"
  run_robot uninstall_again.steps
  [[ -f "$folder/Uninstall PLM.exe" ]] || fail "the second run removed itself"
}

case_uninstall() {
  install_product
  uninstall_everything
}

case_uninstall_keeps_foreign() {
  install_product
  wine reg add "$vendor_key\\Other" /v Kept /t REG_SZ /d yes /f >/dev/null
  echo "my notes" >"$folder/notes.txt"
  mkdir -p "$(programs_folder)/Other"
  run_uninstaller "$title could not be removed completely. These are left:

$install_dir"
  expect_product_gone
  [[ $(<"$folder/notes.txt") == "my notes" ]] || fail "notes.txt was touched"
  key_exists "$vendor_key\\Other" || fail "the other vendor subkey went"
  [[ -d "$(programs_folder)/Other" ]] || fail "the group Other went"
}

# A symbolic link and two second names (hard links) in place of three of the product's files,
# a link to a folder beside them, and one in the program group's folder: the uninstaller
# removes a second name as a name, leaves alone what it cannot remove as a name only (a
# symbolic link, which Wine follows whatever it is asked; a read-only second name, whose
# attributes are its file's) and says so, and the files behind the links keep their bytes
# and their modes.
case_uninstall_follows_no_link() {
  install_product
  local victims=$WINEPREFIX/drive_c/victims kept=$WINEPREFIX/victims.kept
  mkdir -p "$victims/folder" "$victims/group"
  echo "named by a symbolic link" >"$victims/linked.txt"
  echo "another name of this file" >"$victims/second.txt"
  echo "another name of this read-only file" >"$victims/third.txt"
  chmod a-w "$victims/linked.txt" "$victims/third.txt"
  echo "in a linked folder" >"$victims/folder/a.txt"
  echo "in a folder linked from the group" >"$victims/group/b.txt"
  cp -a "$victims" "$kept"
  ln -sf "$victims/linked.txt" "$folder/Stop.wav"
  ln -f "$victims/second.txt" "$folder/Start.wav"
  ln -f "$victims/third.txt" "$folder/Shot.wav"
  ln -s "$victims/folder" "$folder/Extras"
  ln -s "$victims/group" "$(programs_folder)/Pelmora/Extras"

  run_uninstaller "$title could not be removed completely. These are left:

Program group \"Pelmora\"
$install_dir\\Stop.wav
$install_dir\\Shot.wav
$install_dir"
  diff -r "$kept" "$victims" || fail "a file behind a link was changed"
  local name
  for name in linked.txt third.txt; do
    [[ $(stat -c %a "$victims/$name") == 444 ]] || fail "$name is no longer read-only"
  done
  [[ -L $folder/Stop.wav && -L $folder/Extras ]] || fail "a symbolic link went"
  [[ ! -e $folder/Start.wav ]] || fail "Start.wav, another name of a file, stays"
  ! key_exists "$product_key" || fail "the product key stays"
  ! key_exists "$uninstall_key" || fail "the uninstall key stays"
}

# The product's folder is a link to the folder that holds the product: the uninstaller enters
# no folder through a link, so it removes the keys and the group and names every file and the
# folder as left.
case_uninstall_from_linked_folder() {
  install_product
  local real=$WINEPREFIX/drive_c/Pelmora kept=$WINEPREFIX/Pelmora.kept left='' file
  mv "$folder" "$real"
  ln -s "$real" "$folder"
  cp -a "$real" "$kept"
  for file in "${files[@]}"; do left+=$'\n'"$install_dir\\$file"; done

  run_uninstaller "$title could not be removed completely. These are left:
$left
$install_dir"
  diff -r "$kept" "$real" || fail "a file in the linked folder was changed"
  [[ -L $folder ]] || fail "the link to the product's folder went"
  ! key_exists "$product_key" || fail "the product key stays"
  [[ ! -e "$(programs_folder)/Pelmora" ]] || fail "the program group stays"
}

case_install_then_uninstall() {
  run_robot install.steps
  for file in "${files[@]}"; do
    cmp "$product/$file" "$folder/$file" || fail "$file was not installed as built"
  done
  key_exists "$product_key" || fail "no product key after the installation"
  key_exists "$uninstall_key" || fail "no uninstall key after the installation"
  local name
  for name in "${entry_values[@]}"; do
    wine reg query "$uninstall_key" /v "$name" >/dev/null 2>&1 ||
      fail "the uninstall key has no $name after the installation"
  done
  [[ -d "$(programs_folder)/Pelmora" ]] || fail "no program group after the installation"

  uninstall_everything
}

# No Program Manager answers the setup, whose shell hangs (see the script): the group is a
# folder of the three links in the Programs folder of every user's Start menu, each naming its
# installed file, and the installed uninstaller removes it with the rest.
case_install_then_uninstall_without_program_manager() {
  run_robot install_without_program_manager.steps
  local group=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Pelmora
  local link caption file links=("$title:Pelmora.exe" "Pelmora Help:PLM.chm"
    "Uninstall Pelmora:Uninstall PLM.exe")
  for link in "${links[@]}"; do
    caption=${link%%:*} file=${link#*:}
    [[ -f $group/$caption.lnk ]] || fail "the setup's group has no link $caption"
    grep -qaF "$install_dir\\$file" "$group/$caption.lnk" ||
      fail "the link $caption does not start $install_dir\\$file"
  done
  [[ $(find "$group" -mindepth 1 | wc -l) == 3 ]] || fail "the setup's group holds more: $(ls "$group")"
  [[ ! -e "$(programs_folder)/Pelmora" ]] || fail "Program Manager made a group as well"

  uninstall_everything
  [[ ! -e $group ]] || fail "the setup's group stays"
}

declare -F "case_$case_name" >/dev/null || wine_die "unknown case $case_name"
if [[ $case_name == install_then_uninstall* && ! -f $build/setup.exe ]]; then
  echo "SKIPPED: $build/setup.exe is not built yet"
  exit 77
fi
wine_start_xvfb
wine_make_template
wine_lay_prefix "$WINEPREFIX"
pace=$(wine_pace_for "$robot_loader")
"case_$case_name"
echo "PASSED: $case_name"
