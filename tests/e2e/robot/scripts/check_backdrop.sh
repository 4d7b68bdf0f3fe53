#!/usr/bin/env bash
# Checks that every picture of the screenshot walk shows the backdrop behind the wizard: the
# blue gradient, strip by strip, right of the wizard, and the white title and credit at the
# top left. run_wine.sh runs it after screens.steps, with SHOTS set.
#
# The Wine desktop is 1024 x 768 at 96 dots per inch: a strip of 75 twips is 5 pixels high,
# and the backdrop covers the screen from its top-left corner.
set -euo pipefail

readonly column=900                # right of the wizard and of its message boxes
readonly rows=(7 33 200 400 404 600 767)
readonly strip_pixels=5

# The blue of strip k: brighter by 3 down to strip 80, darker by 3 down to strip 159, then
# 6 and 3 by turns.
strip_blue() {
  local k=$1
  if ((k <= 80)); then echo $((3 * k))
  elif ((k <= 159)); then echo $((480 - 3 * k))
  elif ((k % 2 == 0)); then echo 6
  else echo 3
  fi
}

# Whether more than a twentieth of a rectangle WxH+X+Y of a picture is white: letters.
has_white() {
  local share
  share=$(convert "$1" -crop "$2" +repage -fill black +opaque white -format '%[fx:mean>0.05]' info:)
  [[ $share == 1 ]]
}

failures=0
fail() {
  echo "check: FAILED: $*" >&2
  failures=$((failures + 1))
}

check_picture() {
  local shot=$1 name format='' row colours at=0 wrong=''
  name=$(basename "$shot")
  for row in "${rows[@]}"; do
    format+="%[fx:round(255*p{$column,$row}.r)],%[fx:round(255*p{$column,$row}.g)],"
    format+="%[fx:round(255*p{$column,$row}.b)] "
  done
  read -ra colours <<<"$(convert "$shot" -format "$format" info:)"
  for row in "${rows[@]}"; do
    local wanted
    wanted="0,0,$(strip_blue $((row / strip_pixels)))"
    [[ ${colours[at]} == "$wanted" ]] || wrong+=" at $column,$row ${colours[at]} for $wanted;"
    at=$((at + 1))
  done
  [[ -z $wrong ]] || fail "$name: not the backdrop's blue (red,green,blue):$wrong"
  # "Tarvo's Pelmora v.1.5a" at 20,48 (537 x 37 pixels) and "Tarvo Kenlisk" at 20,96.
  has_white "$shot" 537x37+20+48 || fail "$name: no white title at the top left"
  has_white "$shot" 237x37+20+96 || fail "$name: no white credit under the title"
}

shots=("$SHOTS"/walk-*.bmp)
[[ -f ${shots[0]} ]] || { echo "check: FAILED: no pictures of the walk in $SHOTS" >&2; exit 1; }
for shot in "${shots[@]}"; do check_picture "$shot"; done
((failures == 0)) || exit 1
echo "check: the backdrop stands behind all ${#shots[@]} pictures of the walk"
