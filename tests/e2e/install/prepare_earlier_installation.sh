#!/usr/bin/env bash
# An earlier installation into ${DESTINATION} for the run to replace: the eight files, each
# with bytes of its own (copies stay in $WINEPREFIX/earlier for the check), and the product
# key of an older version. run_wine.sh runs it before the robot.
#
# ${DAMAGE}, when given, lays ${SETUP} as a damaged copy of the build's setup file:
#   cut          the file ends 1000 bytes early
#   application  one byte changed inside the compressed Pelmora.exe (the file's last item)
#   sound        one byte changed inside the compressed Stop.wav (the item before it)
#   forged       the compressed Pelmora.exe forged by ${TOOLS}/forge_item: the same size, and
#                it expands to the same length with the same CRC-32, but to other bytes
# The byte changed is the item's first literal, the first byte of the file it expands to,
# which any change alters. A byte further in may belong to a match that, changed, copies the
# same bytes from elsewhere (a program holds long runs of zeros): the item would still expand
# to the file it was built from.
# ${FORGED}, when given, lays ${SETUP} as a copy of the build's setup file, and beside it at
# ${FORGED} one whose application is forged (as DAMAGE=forged makes it), for another program
# to try to put in its place while the setup runs.
# ${EARLIER}=runnable makes the earlier Pelmora.exe one that runs: the product's own with a
# line of its own behind its image, so that the robot can start it and the check tell it from
# the new one.
# ${DISK}, when given, puts ${DESTINATION}'s drive (E:) on a small disk of its own:
#   full         room for no further file: every entry it can hold is taken
#   small        less free space than the new files need
#   tight        room for the run as it goes and not a page more: each new file beside the
#                earlier one it replaces, but not all the new files beside all the earlier ones
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/product_checks.sh"

# A tmpfs for drive E:, inside the prefix, which run_wine.sh unmounts when the run ends.
# Skips the test (77) where this machine lets no disk be mounted.
make_drive_e() {
  local disk=$WINEPREFIX/disk_e
  mkdir -p "$disk"
  mount -t tmpfs -o "$1" pelmora-test "$disk" 2>/dev/null ||
    { echo "SKIPPED: this machine cannot mount a small disk (root is needed)"; exit 77; }
  ln -sfn "$disk" "$WINEPREFIX/dosdevices/e:"
}

case ${DISK:-} in
  '') ;;
  full) make_drive_e "size=4m,nr_inodes=10" ;;  # the root, the folder and the eight files
  small) make_drive_e "size=64k" ;;
  tight) make_drive_e "size=4m" ;;  # cut down to size once the earlier installation is laid
  *) echo "prepare: no such disk: $DISK" >&2; exit 2 ;;
esac

folder=$(unix_path "$DESTINATION")
mkdir -p "$folder" "$WINEPREFIX/earlier"
for file in "${files[@]}"; do
  printf 'the earlier %s, which only a whole new one may replace\n' "$file" >"$folder/$file"
  cp "$folder/$file" "$WINEPREFIX/earlier/$file"
done
case ${EARLIER:-} in
  '') ;;
  runnable)
    { cat "$BUILD/demo/product/Pelmora.exe"; echo 'the earlier Pelmora.exe'; } >"$folder/Pelmora.exe"
    cp "$folder/Pelmora.exe" "$WINEPREFIX/earlier/Pelmora.exe"
    ;;
  *) echo "prepare: no such earlier installation: $EARLIER" >&2; exit 2 ;;
esac

# The most that the run adds to the disk at any moment, in pages of 4 KiB: the new files in
# run order, each beside its earlier version (a line of text, one page) until it replaces it.
peak_pages() {
  awk -F'[{,]' '/HexDigest/ {
      added += int(($3 + 4095) / 4096); if (added > peak) peak = added; added -= 1
    } END { print peak }' "$BUILD/setup/item_table.cpp"
}

if [[ ${DISK:-} == tight ]]; then
  disk=$WINEPREFIX/disk_e
  used=$(df --output=used -B4096 "$disk" | tail -n 1)
  mount -o remount,size=$(((used + $(peak_pages)) * 4096)) "$disk"
fi

"$WINE" reg add 'HKLM\Software\Quorvalen\PLM' /v Dizin /t REG_SZ /d "$DESTINATION" /f >/dev/null
"$WINE" reg add 'HKLM\Software\Quorvalen\PLM' /v Version /t REG_DWORD /d 6 /f >/dev/null

# Changes the byte at OFFSET of FILE.
flip_byte() {
  local file=$1 offset=$2 byte
  byte=$(od -An -tu1 -j"$offset" -N1 "$file" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 0x5A)))" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

# The size of an item, from the item table that the program was built with.
item_size() {
  awk -F'[{,]' -v item="$1" '$0 ~ "// " item "$" { print $2 }' "$BUILD/setup/item_table.cpp"
}

if [[ -n ${FORGED:-} ]]; then
  setup_file=$(unix_path "$SETUP")
  mkdir -p "$(dirname "$setup_file")"
  cp "$BUILD/setup.exe" "$setup_file"
  "$TOOLS/forge_item" "$BUILD/setup.exe" "$BUILD/setup/item_table.cpp" Pelmora.ex_ \
    "$(unix_path "$FORGED")"
fi

if [[ -n ${DAMAGE:-} ]]; then
  damaged=$(unix_path "$SETUP")
  mkdir -p "$(dirname "$damaged")"
  cp "$BUILD/setup.exe" "$damaged"
  length=$(stat -c %s "$damaged")
  application=$(item_size Pelmora.ex_)
  first_literal=15  # after the 14 bytes of the SZDD header and the first flag byte
  case $DAMAGE in
    cut) truncate -s $((length - 1000)) "$damaged" ;;
    application) flip_byte "$damaged" $((length - application + first_literal)) ;;
    sound) flip_byte "$damaged" $((length - application - $(item_size Stop.wa_) + first_literal)) ;;
    forged) "$TOOLS/forge_item" "$BUILD/setup.exe" "$BUILD/setup/item_table.cpp" Pelmora.ex_ "$damaged" ;;
    *) echo "prepare: no such damage: $DAMAGE" >&2; exit 2 ;;
  esac
fi
