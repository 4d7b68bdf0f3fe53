#!/usr/bin/env bash
# The Wine check of our SZDD files: the system's LZ expansion library (lz32, as Wine
# provides it) expands what our compressor writes to the original bytes.
#
#   lz32_check.sh BUILD LZ32_EXPAND HOST_TOOLS [TEXT_FILE...]
#
# BUILD is the cross build folder; LZ32_EXPAND is the Windows program that calls lz32;
# HOST_TOOLS holds mkcorpus and szdd. The corpus and the compressed files lie beside the
# fresh Wine prefix of the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../wine_env.sh"

[[ $# -ge 3 ]] || wine_die "usage: lz32_check.sh BUILD LZ32_EXPAND HOST_TOOLS [TEXT_FILE...]"
wine_init "$1"
expander=$(realpath "$2") tools=$(realpath "$3")
shift 3
loader=$(wine_loader_for "$expander")
prefix=$wine_work/lz32
work=$wine_work/lz32_files

wine_make_template
wine_lay_prefix "$prefix"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/out"
"$tools/mkcorpus" "$work/corpus" --copy "$expander" ${1:+--text "$@"}

status=0
for original in "$work/corpus"/*; do
  name=$(basename "$original")
  compressed=$work/out/$name._
  expanded=$work/out/$name
  "$tools/szdd" compress "$original" "$compressed"
  if ! result=$(wine_in "$prefix" "$loader" "$expander" \
        "$(wine_path "$compressed")" "$(wine_path "$expanded")" 2>/dev/null | tr -d '\r'); then
    echo "FAILED $name: $result"
    status=1
  elif ! cmp -s "$original" "$expanded"; then
    echo "FAILED $name: lz32 expanded it to other bytes ($result)"
    status=1
  else
    echo "ok     $name: $(stat -c %s "$original") bytes from $(stat -c %s "$compressed") ($result)"
  fi
done
wine_stop "$prefix"
exit $status
