#!/usr/bin/env bash
# Real GIMP lists the installed plug-in under Filters > Icons and runs it on the sample layer,
# driven through the real windows:
# Build, Save and Apply give exactly what pictaro-host makes of the same steps; Done changes
# no pixel and adds no undo step; one undo takes Apply back exactly; a run inside a
# rectangular selection changes nothing outside it; a layer without transparency and a 16-bit
# image are served as well. Started from the image window, Pictaro's windows are attached to
# GIMP's; a layer closed while the window is open gets a message and no write; a script run
# without a display fails with its reason.
set -uo pipefail
bin=$1
[ -x "$bin/pictaro-gimp" ] && command -v gimp >/dev/null || { echo "no GIMP plug-in built"; exit 77; }
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
src=$2 program=pictaro-gimp
. "$src/tests/support/gimp_steps.sh"
export GIMP2_DIRECTORY=$work/gimp
mkdir -p "$GIMP2_DIRECTORY"
echo "(plug-in-path \"\${gimp_plug_in_dir}/plug-ins:$plugins\")" >"$GIMP2_DIRECTORY/gimprc"

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
scheme "(define img (car (gimp-file-load 1 \"$work/in.png\" \"in.png\")))"
scheme "(define d (car (gimp-image-get-active-drawable img)))"
scheme "(gimp-display-new img)"
# The first run starts from the image window, as a user starts it, so that GIMP names the window.
from_menu "$image"
build_save_apply "$work/gimp.ico" || fail=1
finished
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
# Closing the image while Pictaro is open: Apply then writes nothing and fails with one message.
cp "$work/in.png" "$work/gone.png"
scheme "(define gone (car (gimp-file-load 1 \"$work/gone.png\" \"gone.png\")))"
scheme "(gimp-display-new gone)"
scheme "(plug-in-pictaro 0 gone (car (gimp-image-get-active-drawable gone)))"
window Pictaro >/dev/null && press '.*GIMP built-in sRGB.*' ctrl+w && press 'Close .*' ctrl+d && press Pictaro Return || fail=1
scheme "(display \"[closed]\")"
for _ in $(seq 100); do grep -qF "[closed]" "$work/gimp.log" && break; sleep 0.1; done
grep -q "failed: Pictaro: the layer was closed while Pictaro was open" "$work/gimp.log" ||
  { echo "no message for the closed layer"; fail=1; }
scheme "(gimp-quit 1)"
exec 7>&-
wait $gimp || { echo "GIMP failed"; cat "$work/gimp.log"; fail=1; }
grep -q '"<Image>/Filters/Icons"' "$GIMP2_DIRECTORY/pluginrc" && grep -q '"Pictaro…"' "$GIMP2_DIRECTORY/pluginrc" ||
  { echo "no menu entry"; fail=1; }
grep -q "block: $work/gimp.ico" "$work/gimp.log" || { echo "the parameter block was not kept"; fail=1; }
! grep -q "invalid ID" "$work/gimp.log" || { echo "GIMP reported calls on a closed layer"; fail=1; }
# A script with no display gets an error with the reason, never a cancelled run.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 gimp -i -b "(let* ((i (car (gimp-file-load 1 \"$work/in.png\" \"in.png\"))))
  (plug-in-pictaro 1 i (car (gimp-image-get-active-drawable i))))" -b "(gimp-quit 0)" >"$work/headless.log" 2>&1
grep -q "plug-in-pictaro failed: Pictaro: no display" "$work/headless.log" ||
  { echo "a run without a display did not fail with its reason"; cat "$work/headless.log"; fail=1; }
exit $fail
