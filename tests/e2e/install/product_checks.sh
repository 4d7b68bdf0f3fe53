# shellcheck shell=bash
# What the prepare and check scripts of the installation tests share: the product's eight
# files, failure counting, and the checks of files, program group and temporary folder.
# Sourced by them; run_wine.sh gives them WINEPREFIX, WINE, BUILD and the script's values.

readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)

failures=0
fail() {
  echo "check: FAILED: $*" >&2
  failures=$((failures + 1))
}

# Ends a check script: status 1 after any failure, else the line that says what held.
finish_check() {
  ((failures == 0)) || exit 1
  echo "check: $*"
}

unix_path() { "$WINE" winepath -u "$1" | tr -d '\r'; }

# The folder holds exactly the eight files; each equals the product's own, or, where the
# function named by KEEP (optional) accepts its name, the earlier copy in $WINEPREFIX/earlier.
check_product_files() {
  local folder=$1 keep=${2:-} file count
  [[ -d $folder ]] || { fail "no folder $folder"; return; }
  for file in "${files[@]}"; do
    if [[ -n $keep ]] && "$keep" "$file"; then
      cmp -s "$WINEPREFIX/earlier/$file" "$folder/$file" || fail "the earlier $file is not kept"
    else
      cmp -s "$BUILD/demo/product/$file" "$folder/$file" || fail "$file differs from the product's"
    fi
  done
  count=$(find "$folder" -mindepth 1 | wc -l)
  ((count == ${#files[@]})) || fail "$folder holds $count entries, not ${#files[@]}:" "$folder"/*
}

# Wine's Program Manager keeps a group as a folder of the user's Start menu, with a .lnk
# shortcut per item. With a FOLDER (the destination as Windows spells it), each shortcut must
# lead to its file there, in any letter case.
check_program_group() {
  local windows_folder=${1:-} programs group count
  programs=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -print -quit)
  group=$programs/Pelmora
  [[ -d $group ]] || { fail "no program group Pelmora in the Start menu"; return; }
  check_shortcut "$group" "Tarvo's Pelmora" Pelmora.exe "$windows_folder"
  check_shortcut "$group" "Pelmora Help" PLM.chm "$windows_folder"
  check_shortcut "$group" "Uninstall Pelmora" "Uninstall PLM.exe" "$windows_folder"
  count=$(find "$group" -mindepth 1 | wc -l)
  ((count == 3)) || fail "the group holds $count entries, not 3"
}

check_shortcut() {
  local group=$1 caption=$2 file=$3 windows_folder=$4
  [[ -f $group/$caption.lnk ]] || { fail "no shortcut $caption"; return; }
  [[ -z $windows_folder ]] || grep -qaiF "$windows_folder\\$file" "$group/$caption.lnk" ||
    fail "the shortcut $caption does not lead to $windows_folder\\$file"
}

# The run makes its own folder, "PLMTMP-" and sixteen hexadecimal digits, in the system's
# temporary folder when it runs elevated (as every program does under Wine), else in the
# user's: none may stay in either.
check_temporary_folder_gone() {
  local user_temp left
  user_temp=$(unix_path "$("$WINE" cmd /c echo %TEMP% | tr -d '\r')")
  [[ -d $user_temp ]] || { fail "no temporary path $user_temp"; return; }
  left=$(find "$user_temp" "$WINEPREFIX/drive_c/windows/temp" -maxdepth 1 \
    -regex '.*/PLMTMP-[0-9a-f]\{16\}')
  [[ -z $left ]] || fail "the temporary folder stays:" $left
}
