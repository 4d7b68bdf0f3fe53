#!/usr/bin/env bash
# Links that a program without elevation could lay beforehand where the setup used to work,
# leading to files of C:\victims that the setup must never change, create or delete. Their
# checksums stay in $WINEPREFIX/victims.sha256 for check_planted_links.sh.
#   PLANT=temporary   in both temporary folders (the user's and the system's): a folder
#                     PLMTMP that is a link to C:\victims, and a folder PLMTMP holding links
#                     under the items' old names (a symbolic link, a hard link, and a link to a
#                     file that does not exist yet)
#   PLANT=new         in ${DESTINATION} (an earlier installation there, as
#                     prepare_earlier_installation.sh lays it): "Stop.wav.new_" a symbolic
#                     link, "Start.wav.new_" a hard link
# run_wine.sh runs it before the robot.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$here/product_checks.sh"

victims=$WINEPREFIX/drive_c/victims
mkdir -p "$victims"
for victim in one two three; do echo "the victim $victim, which no setup may touch" >"$victims/$victim.txt"; done

case ${PLANT:-} in
  temporary)
    user_temp=$(unix_path "$("$WINE" cmd /c echo %TEMP% | tr -d '\r')")
    system_temp=$WINEPREFIX/drive_c/windows/temp
    mkdir -p "$user_temp" "$system_temp"
    ln -s "$victims" "$user_temp/PLMTMP"
    mkdir "$system_temp/PLMTMP"
    ln -s "$victims/one.txt" "$system_temp/PLMTMP/Pelmora.ex_"
    ln "$victims/two.txt" "$system_temp/PLMTMP/Stop.wa_"
    ln -s "$victims/created.txt" "$system_temp/PLMTMP/PLM.ch_"
    ;;
  new)
    bash "$here/prepare_earlier_installation.sh"
    folder=$(unix_path "$DESTINATION")
    ln -s "$victims/one.txt" "$folder/Stop.wav.new_"
    ln "$victims/two.txt" "$folder/Start.wav.new_"
    ;;
  *) echo "prepare: no such planting: ${PLANT:-}" >&2; exit 2 ;;
esac
(cd "$victims" && sha256sum -- *.txt) >"$WINEPREFIX/victims.sha256"
