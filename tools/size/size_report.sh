#!/usr/bin/env bash
# Size report of the Windows programs, for reading before cutting.
#
#   size_report.sh files BUILD...      the file sizes of setup.exe, its program image and
#                                      payload, and the demo programs, one column per build
#   size_report.sh image EXE MAP [N]   the sections of the program EXE, and its N largest
#                                      contributors (default 20) by library, by object or
#                                      library member and by symbol, and the library code
#                                      that each reference of ours pulls in, from its link
#                                      map MAP
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")

die() {
  echo "size_report.sh: $*" >&2
  exit 2
}

# 1234567 -> 1,234,567
group_digits() { sed -E ':a; s/([0-9])([0-9]{3})($|[^0-9])/\1,\2\3/; ta'; }

file_size() { if [[ -f $1 ]]; then stat -c %s "$1"; else echo -; fi; }

payload_size() {
  local items=$1/setup/items
  [[ -d $items ]] || { echo -; return; }
  find "$items" -type f -printf '%s\n' | awk '{ total += $1 } END { printf "%.0f\n", total }'
}

report_files() {
  local build row
  printf '%-22s' ""
  for build in "$@"; do printf '%14s' "$(basename "$build")"; done
  echo
  for row in "setup.exe" "  program image" "  payload" "Pelmora.exe" "Uninstall PLM.exe"; do
    printf '%-22s' "$row"
    for build in "$@"; do
      case $row in
        "setup.exe") size=$(file_size "$build/setup.exe") ;;
        "  program image") size=$(file_size "$build/setup/setup-image.exe") ;;
        "  payload") size=$(payload_size "$build") ;;
        *) size=$(file_size "$build/demo/product/$row") ;;
      esac
      printf '%14s' "$size"
    done
    echo
  done | group_digits
}

# The section table as objdump shows it (names cut to eight letters), sizes in decimal.
report_sections() {
  {
    echo "sections of $1 ($(file_size "$1") bytes):"
    x86_64-w64-mingw32-objdump -h "$1" |
      awk 'function hex(text,   value, i) {
             value = 0
             for (i = 1; i <= length(text); i++)
               value = value * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
             return value
           }
           $1 ~ /^[0-9]+$/ && NF >= 7 { printf "  %-10s %12.0f\n", $2, hex($3) }'
  } | group_digits
}

# report_largest ROWS KIND HEADING N
report_largest() {
  echo "$3:"
  # awk takes the first N rather than head, which would end sort early (and fail the pipe).
  awk -F'\t' -v kind="$2" '$1 == kind' "$1" | sort -t$'\t' -k2,2nr |
    awk -F'\t' -v count="$4" 'NR <= count {
      printf "  %10d  %s%s\n", $2, $3, ($4 == "" ? "" : "   [" $4 "]") }' |
    c++filt | group_digits
}

report_image() {
  local exe=$1 map=$2 top=${3:-20} rows
  [[ -f $exe ]] || die "$exe is missing"
  [[ -f $map ]] || die "$map is missing"
  rows=$(mktemp)
  trap 'rm -f "$rows"' RETURN
  awk -f "$here/link_map.awk" "$map" >"$rows"
  report_sections "$exe"
  report_largest "$rows" library "largest libraries and objects" "$top"
  report_largest "$rows" member "largest objects and library members" "$top"
  report_largest "$rows" symbol "largest symbols" "$top"
  report_largest "$rows" pulled \
    "library code pulled in, under the reference of ours that first needed it" "$top"
}

case "${1:-}" in
  files) shift; (($# > 0)) || die "no build folder"; report_files "$@" ;;
  image) shift; (($# >= 2)) || die "usage: size_report.sh image EXE MAP [N]"; report_image "$@" ;;
  *) die "usage: size_report.sh files BUILD... | size_report.sh image EXE MAP [N]" ;;
esac
