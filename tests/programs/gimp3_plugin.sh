#!/usr/bin/env bash
# Real GIMP 3 lists the installed plug-in under Filters > Icons and runs it on the sample layer,
# driven through the real windows, as the GIMP 2.10 test does: started from the image window, its
# windows are attached to GIMP's; Build, Save and Apply give exactly what pictaro-host makes;
# Done changes nothing; one undo takes Apply back; a selection, a 16-bit image and a layer
# without transparency are served; a layer closed while the window is open gets a message and
# no write; the parameter block outlasts a restart of GIMP; a run without a display fails with
# its reason.
set -uo pipefail
bin=$1 src=$2 program=pictaro-gimp3 gimp_program=gimp-3.0
. "$src/tests/support/gimp_steps.sh"
export GIMP3_DIRECTORY=$gimp_folder XDG_CONFIG_HOME=$work/config PICTARO_WORK=$work
cp "$work/in.png" "$work/gone.png"

# The steps in GIMP, as Python in GIMP's own interpreter. Each run of Pictaro blocks until its
# window closes; where this side must act first, the script waits for a file of that name.
cat >"$work/steps.py" <<'PY'
import os, sys, time
import gi
gi.require_version('Gimp', '3.0')
from gi.repository import Gimp, Gio
W = os.environ['PICTARO_WORK']
pdb = Gimp.get_pdb()
def say(text): print('[%s]' % text, flush=True)
def wait(flag):  # as long as GIMP's own time allows
    while not os.path.exists(os.path.join(W, flag)): time.sleep(0.1)
def load(name):
    return Gimp.file_load(Gimp.RunMode.NONINTERACTIVE, Gio.File.new_for_path(os.path.join(W, name)))
def run(name, **values):
    config = pdb.lookup_procedure(name).create_config()
    for key, value in values.items():
        if key == 'drawables': config.set_core_object_array(key, value)
        else: config.set_property(key.replace('_', '-'), value)
    return config.get_procedure().run(config)
def save(image, name):
    run('file-png-export', run_mode=Gimp.RunMode.NONINTERACTIVE, image=image,
        file=Gio.File.new_for_path(os.path.join(W, name + '.png')), save_transparent=True)
    say('saved ' + name)
def pictaro(image, mode=Gimp.RunMode.INTERACTIVE, drawables=None):
    result = run('plug-in-pictaro', run_mode=mode, image=image,
                 drawables=image.get_selected_drawables() if drawables is None else drawables)
    say('pictaro %d %s' % (int(result.index(0)), pdb.get_last_error()))
img = load('in.png')
if sys.argv[-1] == 'headless':
    pictaro(img, Gimp.RunMode.NONINTERACTIVE); pictaro(img, Gimp.RunMode.NONINTERACTIVE, [])
elif sys.argv[-1] == 'restart':
    Gimp.Display.new(img); pictaro(img); save(img, 'restart')
else:
    Gimp.Display.new(img)
    say('shown'); wait('ran'); save(img, 'applied')
    pictaro(img); save(img, 'done')
    say('undo'); wait('undone'); save(img, 'undone')
    img.select_rectangle(Gimp.ChannelOps.REPLACE, 40, 30, 160, 120)
    pictaro(img); save(img, 'selection')
    img.convert_precision(Gimp.Precision.U16_NON_LINEAR)
    img.get_selected_drawables()[0].brightness_contrast(0.001, 0)
    save(img, 'deep'); pictaro(img); save(img, 'deep-applied')
    flat = load('flat.png'); pictaro(flat); save(flat, 'flat-applied')
    say('open gone'); wait('gone-done')
PY
# gimp3 LOG [STEP]: GIMP 3 with its interface, running the steps, then quitting.
gimp3() {
  # Under AddressSanitizer the plug-in's leak check would end it with an error after its run.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 timeout 300 "$gimp_program" \
    -d -f -s --batch-interpreter=python-fu-eval \
    -b "import sys; sys.argv.append('${2:-}'); exec(open('$work/steps.py').read())" --quit \
    >"$work/$1" 2>&1 &
  gimp=$!
}

gimp3 gimp.log
step shown
from_menu "$image"
build_save_apply "$work/gimp.ico" || fail=1
finished
touch "$work/ran"
step "saved applied" && same applied.png host.png
cmp -s "$work/gimp.ico" "$work/host.ico" || { echo "the saved icons differ"; fail=1; }
press Pictaro Escape || fail=1
step "saved done" && same done.png applied.png
step undo && press "$image" ctrl+z && touch "$work/undone"
step "saved undone" && same undone.png in.png
press Pictaro Return || fail=1
step "saved selection" && same selection.png host-selection.png
same_outside "40,30 199,149" selection.png in.png
# The 16-bit image keeps its precision wherever the icon did not land.
step "saved deep" && press Pictaro Return || fail=1
step "saved deep-applied"
same_outside "96,66 143,113" deep.png deep-applied.png
press Pictaro Return || fail=1
step "saved flat-applied" && same flat-applied.png host-flat.png
# An image that a script loaded lives as long as the script, whatever its windows: the image
# closed while Pictaro is open is one opened in GIMP's window, as a user opens it. Apply then
# writes nothing and fails with one message.
step "open gone" && press "$image" ctrl+o && press "Open Image" ctrl+l &&
  xdotool type --delay 20 "$work/gone.png" && sleep 1 && press "Open Image" Return || fail=1
gone='.*gone.*GIMP built-in sRGB.*'
window "$gone" >/dev/null && from_menu "$gone" && window Pictaro >/dev/null && press "$gone" ctrl+w &&
  press Pictaro Return && window "GIMP Message" >/dev/null || fail=1
finished
[ "$(xdotool search --onlyvisible --name '^GIMP Message$' | wc -l)" = 1 ] ||
  { echo "not one message for the closed layer"; fail=1; }
press "GIMP Message" Return
touch "$work/gone-done"
wait $gimp || { echo "GIMP failed"; fail=1; }
grep -q '"<Image>/Filters/Icons"' "$GIMP3_DIRECTORY/pluginrc" && grep -q '"Pictaro…"' "$GIMP3_DIRECTORY/pluginrc" ||
  { echo "no menu entry"; fail=1; }

# GIMP keeps the parameter block across a restart: Apply alone uses the saved icon again.
gimp3 restart.log restart
press Pictaro Return || fail=1
wait $gimp || { echo "GIMP failed after the restart"; fail=1; }
grep -qF "[saved restart]" "$work/restart.log" && same restart.png host.png ||
  { echo "the parameter block did not outlast the restart"; fail=1; }

# A script with no display gets an error with the reason, never a cancelled run; one that names
# no layer is refused.
DISPLAY= gimp_program=gimp-console-3.0 gimp3 headless.log headless
wait $gimp
grep -q "\[pictaro 0 Pictaro: no display" "$work/headless.log" &&
  grep -q "\[pictaro 1 Pictaro works on one layer at a time: select exactly one (0 are" "$work/headless.log" ||
  { echo "a run without a display did not fail with its reason"; cat "$work/headless.log"; fail=1; }
[ $fail = 0 ] || tail -n 40 "$work/gimp.log"
exit $fail
