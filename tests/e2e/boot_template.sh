#!/usr/bin/env bash
# Boots the Wine template prefix of a cross build's runs, unless it is ready for the Wines
# installed and the way they run, and says how PE32 programs run and at which pace. The Wine
# tests need it first; booting it in a test of its own keeps the boot out of their time limits.
#
#   boot_template.sh BUILD
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

(($# == 1)) || wine_die "usage: boot_template.sh BUILD"
wine_init "$1"
trap wine_stop_xvfb EXIT
wine_start_xvfb
wine_make_template
echo "wine: the template is ready; PE32 programs run $(i386_how), at pace $(wine_pace_for "$wine32")"
