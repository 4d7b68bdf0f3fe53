#!/usr/bin/env bash
# Checks an installation into "C:\Ğüzel Pelmora" (prepare_turkish_folder.sh): the eight files
# as built, and the program group with its three shortcuts, which Program Manager made from
# the short form of the paths (so the shortcuts do not hold the long folder name).
# run_wine.sh runs it after the robot.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=product_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/product_checks.sh"

check_product_files "$(unix_path 'C:\')/Ğüzel Pelmora"
check_program_group ''  # the shortcuts hold short paths: only their presence is checked
finish_check "Pelmora is installed in C:\\Ğüzel Pelmora, with its program group"
