#!/usr/bin/env bash
# Real GIMP lists the installed plug-in under Filters > Icons and runs it on the sample layer,
# driven through the real windows:
# Build, Save and Apply give exactly what pictaro-host makes of the same steps; Done changes
# no pixel and adds no undo step; one undo takes Apply back exactly; a run inside a
# rectangular selection changes nothing outside it; a layer without transparency and a 16-bit
# image are served as well.
set -uo pipefail
bin=$1
[ -x "$bin/pictaro-gimp" ] && command -v gimp >/dev/null || { echo "no GIMP plug-in built"; exit 77; }
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
work=$(mktemp -d)
trap 'exec 7>&-; kill $gimp 2>/dev/null; rm -rf "$work"' EXIT
gimp=
fail=0
cp "$2/samples/sample-layer.png" "$work/in.png"
DESTDIR="$work/root" cmake --install "$bin/.." --prefix /opt/pictaro >/dev/null || exit 1
plugins=$(dirname "$(find "$work/root" -type f -name pictaro-gimp)")/..
export HOME=$work GIMP2_DIRECTORY=$work/gimp
mkdir -p "$GIMP2_DIRECTORY"
echo "(plug-in-path \"\${gimp_plug_in_dir}/plug-ins:$plugins\")" >"$GIMP2_DIRECTORY/gimprc"

# window TITLE: the id of the visible window TITLE, once it has appeared.
window() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
  [ -n "$id" ] || { echo "window '$1' never appeared"; return 1; }
  sleep 0.5
  echo "$id"
}
# press TITLE KEYS...: sends keys to window TITLE.
press() {
  local id
  id=$(window "$1") || return 1
  shift
  xdotool windowfocus --sync "$id" key --delay 100 "$@"
}
# build_save_apply ICO: the first run's steps in the main window: Welcome, Build, Save
# (as ICO, through the Save As chooser), Apply.
build_save_apply() {
  press "Using Pictaro" Return || return 1
  local main menu
  main=$(window Pictaro) || return 1
  # The client area starts below the menu bar, with the panel's grey band.
  menu=$(/usr/bin/import -window "$main" -crop 1x100+2+0 +repage txt:- |
    awk -F '[,:]' '/#BFBFBF/ && !found { print $2; found = 1 }')
  xdotool mousemove --window "$main" 520 $((129 + menu)) click 1 sleep 1
  press Pictaro alt+f s
  press "Save As" ctrl+a && xdotool type "$1" && xdotool key Return
  # Apply lies under the chooser: wait until it has gone and the icon is written.
  for _ in $(seq 100); do
    [ -s "$1" ] && ! xdotool search --onlyvisible --name '^Save As$' >/dev/null && break
    sleep 0.1
  done
  xdotool mousemove --window "$main" 520 $((193 + menu)) click 1
}

# The reference: pictaro-host, with a settings folder of its own.
XDG_CONFIG_HOME=$work/host timeout 120 "$bin/pictaro-host" -o "$work/host.png" "$work/in.png" &
build_save_apply "$work/host.ico" || fail=1
wait $! || { echo "pictaro-host failed"; fail=1; }
XDG_CONFIG_HOME=$work/host timeout 120 "$bin/pictaro-host" --selection 40,30,200,150 \
  -o "$work/host-selection.png" "$work/in.png" &
press Pictaro Return || fail=1
wait $! || { echo "pictaro-host failed in the selection"; fail=1; }
/usr/bin/convert "$work/in.png" -background white -alpha remove -alpha off "$work/flat.png"
XDG_CONFIG_HOME=$work/host timeout 120 "$bin/pictaro-host" -o "$work/host-flat.png" "$work/flat.png" &
press Pictaro Return || fail=1
wait $! || { echo "pictaro-host failed on the opaque layer"; fail=1; }

# GIMP with its own user interface (undo is a menu action), fed script commands one by one.
export XDG_CONFIG_HOME=$work/config
mkfifo "$work/commands"
# Under AddressSanitizer the plug-in's leak check would end it with an error after its run:
# GIMP's libraries unload modules whose allocations it can't name. The module's own leaks are
# checked in pictaro-host.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
  timeout 300 gimp -d -f -s -b - <"$work/commands" >"$work/gimp.log" 2>&1 &
gimp=$!
exec 7>"$work/commands"
scheme() { echo "$*" >&7; }
# save NAME: writes the layer as NAME.png, colour kept under transparent pixels, and waits until
# GIMP has finished it (a file that exists may still be being written).
save() {
  scheme "(file-png-save2 1 img d \"$work/$1.png\" \"$1.png\" 0 9 0 0 0 0 0 0 1)"
  scheme "(display \"[saved $1]\")"
  for _ in $(seq 300); do grep -qF "[saved $1]" "$work/gimp.log" && return; sleep 0.1; done
  echo "GIMP wrote no $1.png"
  fail=1
}
same() {
  [ "$(/usr/bin/compare -metric AE "$work/$1" "$work/$2" null: 2>&1)" = 0 ] ||
    { echo "$1 and $2 differ"; fail=1; }
}
scheme "(define img (car (gimp-file-load 1 \"$work/in.png\" \"in.png\")))"
scheme "(define d (car (gimp-image-get-active-drawable img)))"
scheme "(gimp-display-new img)"
scheme "(plug-in-pictaro 0 img d)"
build_save_apply "$work/gimp.ico" || fail=1
save applied
same applied.png host.png
cmp -s "$work/gimp.ico" "$work/host.ico" || { echo "the saved icons differ"; fail=1; }
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Escape || fail=1
save done
same done.png applied.png
# GIMP keeps the parameter block between runs: after Done it still names the applied icon.
scheme "(define (text v i) (if (= (vector-ref v i) 0) \"\" (string-append (string (integer->char (vector-ref v i))) (text v (+ i 1)))))"
scheme "(display (string-append \"block: \" (text (cadr (gimp-procedural-db-get-data \"plug-in-pictaro\")) 280)))"
# One undo now takes back Apply: Done left no step of its own.
press ".*GIMP" ctrl+z || fail=1
save undone
same undone.png in.png
scheme "(gimp-image-select-rectangle img 2 40 30 160 120)"
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Return || fail=1
save selection
# The host's run used its own icon, byte for byte the same as GIMP's.
same selection.png host-selection.png
/usr/bin/convert "$work/selection.png" -fill black -draw "rectangle 40,30 199,149" "$work/a.png"
/usr/bin/convert "$work/in.png" -fill black -draw "rectangle 40,30 199,149" "$work/b.png"
same a.png b.png
# A 16-bit image keeps its precision wherever the icon did not land (the 48 px square centred
# in the selection).
scheme "(gimp-image-convert-precision img 250)"
scheme "(gimp-drawable-brightness-contrast d 0.001 0)"
save deep
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Return || fail=1
save deep-applied
for f in deep deep-applied; do
  /usr/bin/convert "$work/$f.png" -fill black -draw "rectangle 96,66 143,113" "$work/$f-out.png"
done
same deep-out.png deep-applied-out.png
# A layer without transparency (3 planes) takes the icon as pictaro-host gives it.
scheme "(set! img (car (gimp-file-load 1 \"$work/flat.png\" \"flat.png\")))"
scheme "(set! d (car (gimp-image-get-active-drawable img)))"
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Return || fail=1
save flat-applied
same flat-applied.png host-flat.png
scheme "(gimp-quit 1)"
exec 7>&-
wait $gimp || { echo "GIMP failed"; cat "$work/gimp.log"; fail=1; }
grep -q '"<Image>/Filters/Icons"' "$GIMP2_DIRECTORY/pluginrc" && grep -q '"Pictaro…"' "$GIMP2_DIRECTORY/pluginrc" ||
  { echo "no menu entry"; fail=1; }
grep -q "block: $work/gimp.ico" "$work/gimp.log" || { echo "the parameter block was not kept"; fail=1; }
exit $fail
