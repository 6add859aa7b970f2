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
bin=$1 src=$2 program=pictaro-gimp gimp_program=gimp
. "$src/tests/support/gimp_steps.sh"
export GIMP2_DIRECTORY=$gimp_folder

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
  said "saved $1"
}
# said TEXT: GIMP's batch says TEXT once it has done all before.
said() {
  scheme "(display \"[$1]\")"
  step "$1"
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
# One undo now takes back Apply: Done left no step of its own.
press ".*GIMP" ctrl+z || fail=1
save undone
same undone.png in.png
scheme "(gimp-image-select-rectangle img 2 40 30 160 120)"
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Return || fail=1
save selection
# Apply alone applies the icon saved before Done: GIMP kept the parameter block. The host's run
# used its own icon, byte for byte the same as GIMP's.
same selection.png host-selection.png
same_outside "40,30 199,149" selection.png in.png
# A 16-bit image keeps its precision wherever the icon did not land (the 48 px square centred
# in the selection).
scheme "(gimp-image-convert-precision img 250)"
scheme "(gimp-drawable-brightness-contrast d 0.001 0)"
save deep
scheme "(plug-in-pictaro 0 img d)"
press Pictaro Return || fail=1
save deep-applied
same_outside "96,66 143,113" deep.png deep-applied.png
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
said closed && grep -q "failed: Pictaro: the layer was closed while Pictaro was open" "$work/gimp.log" ||
  { echo "no message for the closed layer"; fail=1; }
scheme "(gimp-quit 1)"
exec 7>&-
wait $gimp || { echo "GIMP failed"; cat "$work/gimp.log"; fail=1; }
grep -q '"<Image>/Filters/Icons"' "$GIMP2_DIRECTORY/pluginrc" && grep -q '"Pictaro…"' "$GIMP2_DIRECTORY/pluginrc" ||
  { echo "no menu entry"; fail=1; }
! grep -q "invalid ID" "$work/gimp.log" || { echo "GIMP reported calls on a closed layer"; fail=1; }
# A script with no display gets an error with the reason, never a cancelled run.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 gimp -i -b "(let* ((i (car (gimp-file-load 1 \"$work/in.png\" \"in.png\"))))
  (plug-in-pictaro 1 i (car (gimp-image-get-active-drawable i))))" -b "(gimp-quit 0)" >"$work/headless.log" 2>&1
grep -q "plug-in-pictaro failed: Pictaro: no display" "$work/headless.log" ||
  { echo "a run without a display did not fail with its reason"; cat "$work/headless.log"; fail=1; }
exit $fail
