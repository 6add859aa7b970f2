#!/usr/bin/env bash
# The Windows programs under Wine. The module exports PluginMain only and imports only the
# system's DLLs; pictaro.exe builds the sample, under a name outside any code page, into the
# same bytes as the Linux build (pictaro_cli_builds.txt holds those); pictaro-host.exe reads
# the module's property list and runs its main window on the sample: Apply (Return) gives exit
# 0 and writes the layer, Done (Escape) gives exit 1, and the settings record is then in the
# registry.
# Usage: windows_programs.sh WINDOWS_BIN_DIR SOURCE_DIR [SCREENSHOT]; WINEPREFIX set by the caller.
set -uo pipefail
bin=$(cd "$1" && pwd) source=$2 screenshot=${3:-}
command -v wine >/dev/null && [ -n "${DISPLAY:-}" ] || { echo "no wine or display"; exit 77; }
export WINEDEBUG=-all
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && cp "$source/samples/sample-layer.png" sample.png || exit 1
LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c%c%c", i, 255 - i, i * 7 % 256 }' >ramp.act
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Names outside any code page reach the program whole (Wine takes them from a UTF-8 locale).
export LC_ALL=C.UTF-8
cp sample.png "Ärger ☺.png"
while read -r sum args; do
  wine "$bin/pictaro.exe" build "Ärger ☺.png" -o "Ärger ☺ 図.ico" $args </dev/null ||
    fail "build $args: exit $?"
  [ "$(sha256sum <"Ärger ☺ 図.ico" | cut -c1-64)" = "$sum" ] ||
    fail "build $args: not the Linux build's icon"
done <"$source/tests/programs/pictaro_cli_builds.txt"

# Every DLL the module imports is one the system has (Wine's, in the prefix's system32).
system32=${WINEPREFIX:-$HOME/.wine}/drive_c/windows/system32
for dll in $(x86_64-w64-mingw32-objdump -p "$bin/Pictaro.8bf" | awk '/DLL Name:/ { print $3 }'); do
  [ -n "$(find "$system32" -maxdepth 1 -iname "$dll")" ] || fail "the module imports $dll"
done
exports=$(x86_64-w64-mingw32-objdump -p "$bin/Pictaro.8bf" |
  awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && /^\t\[/ { print $NF; next } on { exit }')
[ "$exports" = PluginMain ] || fail "the module exports: $exports"

# run EXIT KEYS ARGS...: runs pictaro-host.exe with ARGS; for each "TITLE=KEY" of KEYS (separated
# by commas) waits for the top-level window TITLE and sends it KEY; then checks the exit code.
# With $dpi set, at that density. The key "shot" presses Build, takes the screenshot (into $shot
# when set, else $screenshot, where it checks that the labels and radios on the grey band under
# the grid stand on that grey), and applies.
run() {
  # The pointer out of the way: a tip would show where it rests.
  xdotool mousemove 0 0
  local launch=(wine)
  [ -z "${dpi:-}" ] || launch=(bash "$source/tests/support/at_density.sh" "$dpi")
  timeout 120 "${launch[@]}" "$bin/pictaro-host.exe" "${@:3}" >log 2>&1 </dev/null &
  local pid=$! keys id top face
  IFS=, read -r -a keys <<<"$2"
  for key in "${keys[@]}"; do
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "^${key%=*}\$" | head -n 1)
    [ -n "$id" ] || { fail "window '${key%=*}' never appeared"; continue; }
    sleep 1
    if [ "${key#*=}" = shot ]; then
      # From Apply back to Build by keyboard (a click would leave Build's tip on the picture),
      # then the screenshot, then Apply, and No to saving the icon first.
      xdotool windowfocus --sync "$id" key shift+Tab shift+Tab space sleep 3
      /usr/bin/import -window "$id" "${shot:-$screenshot}"
      # The band's rows 328 to 427 (from the first grey row, under the menu bar) hold no pixel
      # of the face colour that the window has beside the panel.
      [ -n "${shot:-}" ] || top=$(/usr/bin/convert "$screenshot" -crop 1x100+2+0 txt:- |
        awk -F '[,:]' '/#BFBFBF/ { print $2; exit }')
      [ -n "${shot:-}" ] || {
        face=$(/usr/bin/convert "$screenshot" -format '%[hex:p{493,30}]' info:)
        /usr/bin/convert "$screenshot" -crop "480x100+0+$((top + 328))" -unique-colors txt:- |
          grep -q "#$face " && fail "the grey band's labels and radios stand on the face colour"
      }
      xdotool key Tab Tab Return sleep 2 key n
    else
      xdotool windowfocus --sync "$id" key "${key#*=}"
    fi
  done
  wait "$pid"
  local status=$?
  [ "$status" -eq "$1" ] || { fail "pictaro-host.exe ${*:3}: exit $status, want $1"; cat log; }
}
run 0 "Using Pictaro=Return,Pictaro=Return" -o applied.png sample.png
[ "$(/usr/bin/identify -format %wx%h applied.png)" = "$(/usr/bin/identify -format %wx%h sample.png)" ] ||
  fail "Apply wrote no layer"
run 1 "Pictaro=Escape" sample.png
wine reg query 'HKCU\Software\Quillory\PictaroXP\2.0' /v Settings >reg.txt 2>&1
# 2264 bytes are 4528 hexadecimal digits.
digits=$(tr -d '\r' <reg.txt | awk '$1 == "Settings" && $2 == "REG_BINARY" { print length($3) }')
[ "$digits" = 4528 ] || { fail "no 2264-byte Settings value in the registry"; cat reg.txt; }
# About names the filter as its property list does.
run 0 "About Pictaro=Return" --about
grep -q "^About Pictaro 2.0… (Quillory)" log || { fail "About: $(cat log)"; }
# Build, then Apply, with the screenshot between.
[ -z "$screenshot" ] || run 0 "Pictaro=shot" -o built.png sample.png
# And at 144 dots an inch, beside it.
[ -z "$screenshot" ] || dpi=144 shot=${screenshot%.png}-144.png run 0 "Pictaro=shot" -o built.png sample.png
[ "$failures" -eq 0 ]
