#!/usr/bin/env bash
# Runs a robot script against the setup.exe of a cross build, under Wine on a private X
# server, inside a 1024 x 768 Wine virtual desktop so that windows have their frames and
# titles as on Windows. The Wine tests and the screenshot walk of ./x run use it.
#
#   run_wine.sh --build DIR [options] SCRIPT [NAME=VALUE...]
#
#   --build DIR      the cross build folder: DIR/setup.exe, DIR/tests/e2e/robot/robot.exe
#   --prefix DIR     the Wine prefix, laid afresh for the run
#                    (default: build/wine/BUILDNAME/SCRIPTNAME beside DIR)
#   --screens DIR    where the screenshots go as PNG files (default: DIR/../screens)
#   --limit SECONDS  time allowed for the robot (default 120), times the machine's pace
#   --prepare FILE   a bash script run in the fresh prefix before the robot starts, to lay
#                    files or registry values that an earlier run would have left; when it
#                    exits with 77 after a line "SKIPPED: why", the test is skipped (the
#                    machine cannot lay what it needs)
#   --check FILE     a bash script run after the robot has passed, to check files, the
#                    registry (`"$WINE" reg query ...`) and the pictures; its status is the result
#   --native-only WHY  skip the test where setup.exe would run under emulation (WHY says why)
#
# The script sees ${SETUP}, the Windows path of setup.exe, and every NAME=VALUE given (a
# SETUP=... given names another setup file, which the prepare script may lay). The prepare and
# check scripts see them as environment variables, together with WINEPREFIX, WINELOADER,
# WINESERVER, BUILD (the build folder), SHOTS (the folder of the robot's BMP pictures) and
# WINE: the loader of setup.exe's own kind, so that `"$WINE" reg` sees the registry through
# the view that setup.exe uses (a PE32 program's keys of HKLM\Software lie under Wow6432Node
# in the 64-bit prefix). A disk that the prepare script mounts inside WINEPREFIX is unmounted
# when the run ends.
# Exit status: the robot's (0 passed, 1 a step failed, 2 unusable script), else the check's;
# 124 when the time ran out; 3 when Wine or the build cannot be used; 77 when skipped.
# The robot's time-outs, like the limit, follow the machine's pace (wine_env.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

build='' prefix='' screens='' limit=120 prepare='' check='' native_only=''
while (($#)); do
  case $1 in
    --native-only) native_only=$2; shift 2 ;;
    --build) build=$(realpath -m "$2"); shift 2 ;;
    --prefix) prefix=$(realpath -m "$2"); shift 2 ;;
    --screens) screens=$(realpath -m "$2"); shift 2 ;;
    --limit) limit=$2; shift 2 ;;
    --prepare) prepare=$(realpath "$2"); shift 2 ;;
    --check) check=$(realpath "$2"); shift 2 ;;
    -*) wine_die "unknown option $1" ;;
    *) break ;;
  esac
done
[[ -n $build && $# -ge 1 ]] ||
  wine_die "usage: run_wine.sh --build DIR [options] SCRIPT [NAME=VALUE...]"
script=$(realpath "$1")
shift
name=$(basename "$script")
name=${name%.*}
setup=$build/setup.exe
robot=$build/tests/e2e/robot/robot.exe
[[ -f $setup ]] || wine_die "$setup is missing"
[[ -f $robot ]] || wine_die "$robot is missing"
command -v convert >/dev/null || wine_die "ImageMagick (convert) is not installed"

wine_init "$build"
prefix=${prefix:-$wine_work/$name}
screens=${screens:-$(dirname "$build")/screens}
loader=$(wine_loader_for "$setup")
if [[ -n $native_only ]]; then wine_native_only "$loader" "$native_only"; fi

# shellcheck disable=SC2317  # run by the trap
cleanup() {
  wine_stop "$prefix"
  wine_stop_xvfb
}
trap cleanup EXIT

# Converts the robot's BMP pictures into PNG files in the screens folder.
collect_screens() {
  local picture
  mkdir -p "$screens"
  for picture in "$1"/*.bmp; do
    [[ -f $picture ]] || continue
    convert "$picture" "$screens/$(basename "$picture" .bmp).png" ||
      echo "run_wine: could not convert $picture" >&2
  done
}

# Runs a prepare or check script in the prefix: run_in_prefix SCRIPT [NAME=VALUE...]
run_in_prefix() {
  local script=$1
  shift
  env WINEPREFIX="$prefix" WINELOADER="$loader" WINE="$loader" BUILD="$build" SHOTS="$shots" \
    "$@" bash "$script"
}

wine_start_xvfb
wine_make_template
wine_lay_prefix "$prefix"
# Outside drive C:, so that the pictures never show in the folder lists they take.
shots=$prefix/shots
mkdir -p "$shots"
rm -f "$screens/$name-failure.png"
if [[ -n $prepare ]]; then
  prepared=0
  run_in_prefix "$prepare" "$@" || prepared=$?
  ((prepared != 77)) || exit 77  # this machine cannot lay what the test needs
  ((prepared == 0)) || wine_die "$(basename "$prepare") failed"
fi
pace=$(wine_pace_for "$loader")
limit=$((limit * pace))
echo "run_wine: $name with $setup in $prefix (PE32 programs run $(i386_how), pace $pace)"
status=0
timeout -k 10 "$limit" env WINEPREFIX="$prefix" WINELOADER="$loader" "$loader" "$robot" \
  --shots "$(wine_path "$shots")" --pace "$pace" "$(wine_path "$script")" \
  "SETUP=$(wine_path "$setup")" "$@" || status=$?
((status != 124)) || echo "run_wine: the robot did not finish within $limit s" >&2
collect_screens "$shots"
echo "run_wine: screenshots are in $screens"
if ((status == 0)) && [[ -n $check ]]; then
  run_in_prefix "$check" "$@" || status=$?
fi
exit "$status"
