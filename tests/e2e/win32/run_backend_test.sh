#!/usr/bin/env bash
# Runs the backend's tests in a fresh Wine prefix on a private X server.
#
#   run_backend_test.sh BACKEND_TEST.EXE BUILD [--shell-start]
#
# With --shell-start, the start of a program through the shell alone, which uses COM: where
# PE32 programs run under emulation, qemu-user 7 does not always survive the threads that COM
# leaves behind, and the PE32 run is skipped (status 77).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../wine_env.sh"

(($# == 2 || $# == 3)) ||
  wine_die "usage: run_backend_test.sh BACKEND_TEST.EXE BUILD [--shell-start]"
program=$(realpath -m "$1")
part=${3:-}
wine_init "$2"
loader=$(wine_loader_for "$program")
prefix=$wine_work/backend_test$part
if [[ -n $part ]]; then
  wine_native_only "$loader" "qemu-user 7 does not always survive the threads that COM leaves to a program"
fi

cleanup() {
  wine_stop "$prefix"
  wine_stop_xvfb
}
trap cleanup EXIT

wine_start_xvfb
wine_make_template
wine_lay_prefix "$prefix"
# Drive O: is an empty folder, as a freshly formatted disk whose root holds nothing.
mkdir "$prefix/empty_drive"
ln -s ../empty_drive "$prefix/dosdevices/o:"
# The pictures it takes go to the screens folder beside the build, as PNG files.
shots=$prefix/shots
mkdir -p "$shots"
# The program ends with 0 when every check passed, 1 otherwise.
status=0
timeout -k 10 $((180 * $(wine_pace_for "$loader"))) \
  env WINEPREFIX="$prefix" WINELOADER="$loader" SHOTS="$(wine_path "$shots")" \
  "$loader" "$program" ${part:+"$part"} || status=$?
screens=$(dirname "$(realpath -m "$2")")/screens
mkdir -p "$screens"
for picture in "$shots"/*.bmp; do
  [[ -f $picture ]] && convert "$picture" "$screens/$(basename "$picture" .bmp).png"
done
exit "$status"
