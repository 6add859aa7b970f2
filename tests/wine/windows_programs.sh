#!/usr/bin/env bash
# The Windows programs under Wine: pictaro.exe builds the sample into the same bytes as the
# Linux build (pictaro_cli_builds.txt holds those), and pictaro-host.exe runs the real module's
# main window on the sample: Apply (Return) gives exit 0 and writes the layer, Done (Escape)
# gives exit 1, and the settings record is then in the registry.
# Usage: windows_programs.sh WINDOWS_BIN_DIR SOURCE_DIR [SCREENSHOT]; WINEPREFIX set by the caller.
set -uo pipefail
bin=$(cd "$1" && pwd) source=$2
command -v wine >/dev/null && [ -n "${DISPLAY:-}" ] || { echo "no wine or display"; exit 77; }
export WINEDEBUG=-all
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && cp "$source/samples/sample-layer.png" sample.png || exit 1
LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c%c%c", i, 255 - i, i * 7 % 256 }' >ramp.act
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

while read -r sum args; do
  wine "$bin/pictaro.exe" build sample.png -o sum.ico $args </dev/null || fail "build $args: exit $?"
  [ "$(sha256sum <sum.ico | cut -c1-64)" = "$sum" ] || fail "build $args: not the Linux build's icon"
done <"$source/tests/programs/pictaro_cli_builds.txt"

# host EXIT KEY ARGS...: runs pictaro-host.exe with ARGS, presses KEY in its main window once it
# shows, and checks the exit code. The first run's Welcome is answered first.
host() {
  timeout 120 wine "$bin/pictaro-host.exe" "${@:3}" >log 2>&1 </dev/null &
  local pid=$! id
  for title in "Using Pictaro" Pictaro; do
    [ "$title" = "Using Pictaro" ] && [ -n "${welcomed:-}" ] && continue
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
    [ -n "$id" ] || { fail "window '$title' never appeared"; continue; }
    sleep 1
    [ "$title" = Pictaro ] && [ -n "${screenshot:-}" ] && /usr/bin/import -window "$id" "$screenshot"
    xdotool windowfocus --sync "$id" key "$([ "$title" = Pictaro ] && echo "$2" || echo Return)"
  done
  welcomed=1
  wait "$pid"
  local status=$?
  [ "$status" -eq "$1" ] || { fail "pictaro-host.exe ${*:3}: exit $status, want $1"; cat log; }
}
screenshot=${3:-}
host 0 Return -o applied.png sample.png
screenshot=
[ "$(/usr/bin/compare -metric AE sample.png applied.png null: 2>&1)" -gt 0 ] || fail "Apply changed nothing"
host 1 Escape sample.png
wine reg query 'HKCU\Software\Quillory\PictaroXP\2.0' /v Settings >reg.txt 2>&1
# 2264 bytes are 4528 hexadecimal digits.
digits=$(awk '$1 == "Settings" && $2 == "REG_BINARY" { print length($3) }' reg.txt)
[ "$digits" = 4528 ] || { fail "no 2264-byte Settings value in the registry"; cat reg.txt; }
[ "$failures" -eq 0 ]
