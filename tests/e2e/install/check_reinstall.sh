#!/usr/bin/env bash
# Checks what a run over the earlier installation of prepare_earlier_installation.sh left in
# ${DESTINATION}: the files named in ${KEPT} ("all" for every one) byte for byte as they were,
# every other file the product's own, nothing else in the folder, and no temporary folder.
# run_wine.sh runs it after the robot.
set -euo pipefail

readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)

failures=0
fail() {
  echo "check: FAILED: $*" >&2
  failures=$((failures + 1))
}

unix_path() { "$WINE" winepath -u "$1" | tr -d '\r'; }

kept() { [[ $KEPT == all || " $KEPT " == *" $1 "* ]]; }

folder=$(unix_path "$DESTINATION")
for file in "${files[@]}"; do
  if kept "$file"; then
    cmp -s "$WINEPREFIX/earlier/$file" "$folder/$file" || fail "the earlier $file is not kept"
  else
    cmp -s "$BUILD/demo/product/$file" "$folder/$file" || fail "$file is not the product's"
  fi
done
count=$(find "$folder" -mindepth 1 | wc -l)
((count == ${#files[@]})) || fail "$DESTINATION holds more than the eight files:" "$folder"/*

temp=$(unix_path "$("$WINE" cmd /c echo %TEMP% | tr -d '\r')")
[[ ! -e $temp/PLMTMP ]] || fail "the temporary folder stays"

((failures == 0)) || exit 1
echo "check: the files of $DESTINATION are as they must be (kept: $KEPT)"
