#!/usr/bin/env bash
# What an earlier installation into ${DESTINATION} leaves for the next run to find: the folder
# and the product key's "Dizin". run_wine.sh runs it before the robot.
set -euo pipefail
mkdir -p "$("$WINE" winepath -u "$DESTINATION" | tr -d '\r')"
"$WINE" reg add 'HKLM\Software\Quorvalen\PLM' /v Dizin /t REG_SZ /d "$DESTINATION" /f >/dev/null
