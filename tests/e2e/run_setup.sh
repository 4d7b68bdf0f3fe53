#!/usr/bin/env bash
# What ./x run does with a cross build of setup.exe under Wine:
#
#   run_setup.sh BUILD
#
# With a display it opens the wizard there, in a fresh prefix (build/wine/BUILDNAME/run), and
# waits until it ends. Without one it walks the wizard with the robot on a private X server
# and leaves a PNG of every state it passes in BUILD/../screens.
set -euo pipefail
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
source "$here/wine_env.sh"
(($# == 1)) || wine_die "usage: run_setup.sh BUILD"
build=$(realpath -m "$1")

if [[ -z ${DISPLAY:-} ]]; then
  exec "$here/run_wine.sh" --build "$build" "$here/robot/scripts/screens.steps"
fi

wine_init "$build"
prefix=$wine_work/run
loader=$(wine_loader_for "$build/setup.exe")
trap 'wine_stop "$prefix"' EXIT
wine_make_template
wine_lay_prefix "$prefix"
# On the user's display the wizard gets a window of its own, not a virtual desktop.
wine_in "$prefix" "$loader" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null
echo "run_setup: $build/setup.exe in $prefix"
wine_in "$prefix" "$loader" "$build/setup.exe"
