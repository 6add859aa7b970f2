#!/bin/bash
# The GIMP 2.10 plug-in's own memory on a large layer: GIMP loads a SIZE x SIZE RGBA layer with
# the sample's artwork at its top left, and Pictaro runs on it through its windows (Welcome,
# Build, Save, Apply) while the plug-in process's peak resident memory (VmHWM) is read. Prints
# that peak, the layer's size in memory, the time from the Apply click to the run's end and how
# the run ended.
# Needs a display (xvfb-run -a -s "-noreset -screen 0 1280x1024x24" ...), xdotool and GIMP 2.10.
# Usage: bench/gimp-plugin-memory.sh [BUILD_DIR] [SIZE]   (defaults: build, 10000)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
size=${2:-10000}
[ -x "$build/bin/pictaro-gimp" ] || { echo "no $build/bin/pictaro-gimp" >&2; exit 1; }
work=$(mktemp -d)
gimp=
trap 'exec 7>&-; [ -n "$gimp" ] && kill $gimp 2>/dev/null; rm -rf "$work"' EXIT
/usr/bin/convert "$here/../samples/sample-layer.png" -background none -extent "${size}x$size" \
  "PNG32:$work/in.png"
DESTDIR="$work/root" cmake --install "$build" --prefix /opt/pictaro >/dev/null
plugin=$(find "$work/root" -type f -name pictaro-gimp)
export GIMP2_DIRECTORY=$work/gimp XDG_CONFIG_HOME=$work/config HOME=$work
mkdir -p "$GIMP2_DIRECTORY"
printf '(plug-in-path "${gimp_plug_in_dir}/plug-ins:%s")\n' "$(dirname "$plugin")/.." \
  >"$GIMP2_DIRECTORY/gimprc"

window() {
  local id
  id=$(timeout 120 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
  [ -n "$id" ] || { echo "window '$1' never appeared" >&2; return 1; }
  sleep 0.5
  echo "$id"
}
press() {
  local id
  id=$(window "$1")
  shift
  xdotool windowfocus --sync "$id" key --delay 100 "$@"
}

mkfifo "$work/commands"
GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 gimp -i -d -f -s -b - <"$work/commands" >"$work/gimp.log" 2>&1 &
gimp=$!
exec 7>"$work/commands"
echo "(define img (car (gimp-file-load 1 \"$work/in.png\" \"in.png\")))" >&7
echo "(plug-in-pictaro 0 img (car (gimp-image-get-active-drawable img)))" >&7
press "Using Pictaro" Return
main=$(window Pictaro)
pid=$(pgrep -f "$plugin" | head -n 1)
# Its peak so far, read until it ends: an ended process that GIMP has not reaped yet has no
# memory figures left.
while status=$(grep '^VmHWM:' "/proc/$pid/status" 2>/dev/null); do
  awk '{ print $2 }' <<<"$status" >"$work/peak"
  sleep 0.05
done &
poller=$!
# The client area starts below the menu bar, with the panel's grey band.
menu=$(/usr/bin/import -window "$main" -crop 1x100+2+0 +repage txt:- |
  awk -F '[,:]' '/#BFBFBF/ && !found { print $2; found = 1 }')
xdotool mousemove --window "$main" 520 $((129 + menu)) click 1 sleep 1
press Pictaro alt+f s
press "Save As" ctrl+a && xdotool type "$work/built.ico" && xdotool key Return
for _ in $(seq 100); do
  [ -s "$work/built.ico" ] && ! xdotool search --onlyvisible --name '^Save As$' >/dev/null && break
  sleep 0.1
done
start=$EPOCHREALTIME
xdotool mousemove --window "$main" 520 $((193 + menu)) click 1
while grep -q '^VmHWM:' "/proc/$pid/status" 2>/dev/null; do sleep 0.01; done
end=$EPOCHREALTIME
wait $poller
peak=$(<"$work/peak")
echo "(gimp-quit 0)" >&7
exec 7>&-
wait $gimp || true
result=$(grep -o 'plug-in-pictaro failed: .*' "$work/gimp.log" || echo "Apply done")
gimp=
awk -v peak="$peak" -v size="$size" -v s="$start" -v e="$end" 'BEGIN {
  printf "layer           %6.0f MB (%d x %d RGBA)\n", size * size * 4 / 1048576, size, size
  printf "plug-in peak    %6.0f MB\n", peak / 1024
  printf "Apply to end    %6.2f s\n", e - s }'
echo "result          $result"
