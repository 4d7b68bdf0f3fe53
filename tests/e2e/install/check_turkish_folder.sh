#!/usr/bin/env bash
# Checks an installation into "C:\Ğüzel Pelmora" (prepare_turkish_folder.sh): the eight files
# as built, and the program group with its three shortcuts, which Program Manager made from
# the short form of the paths. run_wine.sh runs it after the robot.
set -euo pipefail

readonly files=(Pelmora.exe "Uninstall PLM.exe" PLM.chm Stop.wav Start.wav Shot.wav Click.wav
  Beep.wav)

failures=0
fail() {
  echo "check: FAILED: $*" >&2
  failures=$((failures + 1))
}

folder="$("$WINE" winepath -u 'C:\' | tr -d '\r')/Ğüzel Pelmora"
for file in "${files[@]}"; do
  cmp -s "$BUILD/demo/product/$file" "$folder/$file" || fail "$file differs from the product's"
done

programs=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -print -quit)
for caption in "Tarvo's Pelmora" "Pelmora Help" "Uninstall Pelmora"; do
  [[ -f $programs/Pelmora/$caption.lnk ]] || fail "no shortcut $caption"
done

((failures == 0)) || exit 1
echo "check: Pelmora is installed in C:\\Ğüzel Pelmora, with its program group"
