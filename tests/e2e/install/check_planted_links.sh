#!/usr/bin/env bash
# Checks that the links of prepare_planted_links.sh led the setup nowhere: every file of
# C:\victims as it was and none added, the links laid in the temporary folders still there
# (the setup removes only what it made), a hard link where a new file goes refused and kept;
# then, when ${CHECK} names one, the installation as check_installed.sh or check_reinstall.sh
# checks it.
# run_wine.sh runs it after the robot.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$here/product_checks.sh"

victims=$WINEPREFIX/drive_c/victims
(cd "$victims" && sha256sum --quiet -c "$WINEPREFIX/victims.sha256") ||
  fail "a file of C:\\victims was changed or removed"
[[ ! -e $victims/created.txt ]] || fail "the setup created C:\\victims\\created.txt through a link"
count=$(find "$victims" -mindepth 1 | wc -l)
((count == 3)) || fail "C:\\victims holds $count entries, not 3"

case $PLANT in
  temporary)
    user_temp=$(unix_path "$("$WINE" cmd /c echo %TEMP% | tr -d '\r')")
    system_temp=$WINEPREFIX/drive_c/windows/temp
    [[ -L $user_temp/PLMTMP ]] || fail "the link PLMTMP in the user's temporary folder is gone"
    for item in Pelmora.ex_ Stop.wa_ PLM.ch_; do
      [[ -e $system_temp/PLMTMP/$item || -L $system_temp/PLMTMP/$item ]] ||
        fail "the link PLMTMP\\$item in the system's temporary folder is gone"
    done
    ;;
  new)
    # Refused and told; the check of the folder below then finds the product's files alone.
    folder=$(unix_path "$DESTINATION")
    [[ $folder/Start.wav.new_ -ef $victims/two.txt ]] || fail "the hard link Start.wav.new_ is gone"
    rm "$folder/Start.wav.new_"
    ;;
esac
((failures == 0)) || exit 1
echo "check: the planted links led nowhere"
if [[ -n ${CHECK:-} ]]; then exec bash "$here/$CHECK"; fi
