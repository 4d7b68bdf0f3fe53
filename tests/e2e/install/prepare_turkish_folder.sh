#!/usr/bin/env bash
# An earlier destination whose name the ANSI code page cannot spell, as a Turkish user names
# folders: "C:\Ğüzel Pelmora", recorded as "Dizin" in the product key. The name goes into the
# registry through a UTF-16 file, so that no command line has to carry it. run_wine.sh runs it
# before the robot.
set -euo pipefail

readonly name='Ğüzel Pelmora'
drive_c=$("$WINE" winepath -u 'C:\' | tr -d '\r')
mkdir -p "$drive_c/$name"
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quorvalen\\PLM]\r\n"Dizin"="C:\\\\%s"\r\n' \
    "$name" | iconv -f UTF-8 -t UTF-16LE
} >"$drive_c/dizin.reg"
"$WINE" reg import 'C:\dizin.reg' >/dev/null 2>&1
rm "$drive_c/dizin.reg"
