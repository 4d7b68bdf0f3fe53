#!/usr/bin/env bash
# Runs the backend's tests in a fresh Wine prefix on a private X server.
#
#   run_backend_test.sh BACKEND_TEST.EXE BUILD
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../wine_env.sh"

(($# == 2)) || wine_die "usage: run_backend_test.sh BACKEND_TEST.EXE BUILD"
program=$(realpath -m "$1")
wine_init "$2"
loader=$(wine_loader_for "$program")
prefix=$wine_work/backend_test

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
# The program ends with 0 when every check passed, 1 otherwise.
timeout -k 10 $((180 * $(wine_pace_for "$loader"))) env WINEPREFIX="$prefix" WINELOADER="$loader" "$loader" "$program"
