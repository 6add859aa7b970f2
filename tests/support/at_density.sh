#!/usr/bin/env bash
# Runs PROGRAM with PICTARO_TEST_DPI at a display density: Xft.dpi on the X display, or for a
# Windows program the Wine prefix's LogPixels; either is put back to 96 afterwards.
# Usage: at_density.sh DPI PROGRAM [ARGS...]
set -uo pipefail
if [[ $2 == *.exe ]]; then
  density() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
  run=(wine)
else
  density() { xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$1"; }
  run=()
fi
export WINEDEBUG=-all PICTARO_TEST_DPI=$1
density "$1" || { echo "no display or no wine"; exit 77; }
"${run[@]}" "${@:2}" </dev/null
status=$?
density 96
exit "$status"
