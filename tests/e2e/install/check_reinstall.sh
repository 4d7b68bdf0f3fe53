#!/usr/bin/env bash
# Checks what a run over the earlier installation of prepare_earlier_installation.sh left in
# ${DESTINATION}: the files named in ${KEPT} ("all" for every one) byte for byte as they were,
# every other file the product's own, nothing else in the folder, and no temporary folder.
# run_wine.sh runs it after the robot.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/product_checks.sh"

kept() { [[ $KEPT == all || " $KEPT " == *" $1 "* ]]; }

check_product_files "$(unix_path "$DESTINATION")" kept
check_temporary_folder_gone
finish_check "the files of $DESTINATION are as they must be (kept: $KEPT)"
