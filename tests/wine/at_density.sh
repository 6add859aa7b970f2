#!/usr/bin/env bash
# Runs a Windows program under Wine at a display density: the prefix's LogPixels for the run,
# put back to 96 afterwards.
# Usage: at_density.sh DPI PROGRAM [ARGS...]; WINEPREFIX set by the caller.
set -uo pipefail
command -v wine >/dev/null && [ -n "${DISPLAY:-}" ] || { echo "no wine or display"; exit 77; }
export WINEDEBUG=-all
density() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
density "$1" || exit 1
wine "${@:2}" </dev/null
status=$?
density 96
exit "$status"
