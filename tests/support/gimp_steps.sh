# The steps both GIMP tests share, sourced by them with the build's bin folder and the source
# folder as $bin and $src and the plug-in's program as $program: the plug-in installed under a
# scratch root, the windows driven by xdotool, and pictaro-host's results on the same sample as
# the reference (host.png and host.ico after Build, Save and Apply; host-selection.png inside
# 40,30,200,150; host-flat.png on the layer without transparency).
work=$(mktemp -d)
trap 'exec 7>&-; kill $gimp 2>/dev/null; rm -rf "$work"' EXIT
gimp=
fail=0
cp "$src/samples/sample-layer.png" "$work/in.png"
DESTDIR="$work/root" cmake --install "$bin/.." --prefix /opt/pictaro >/dev/null || exit 1
plugins=$(dirname "$(find "$work/root" -type f -name "$program")")/..
export HOME=$work

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
# attached TITLE: window TITLE is transient for the window of GIMP's first image (in.png), when
# GIMP runs.
image='.*-1\.0 \(.*'
attached() {
  [ -n "$gimp" ] || return 0
  local id owner
  id=$(window "$1") && owner=$(window "$image") || { fail=1; return; }
  xprop -id "$id" WM_TRANSIENT_FOR | grep -qi "# $(printf '0x%x' "$owner")\$" ||
    { echo "'$1' is not attached to GIMP's window"; fail=1; }
}
# from_menu TITLE: starts Pictaro from GIMP's image window TITLE through its action search.
from_menu() {
  press "$1" slash || return 1
  local id
  id=$(window "Search Actions") || return 1
  xdotool windowfocus --sync "$id" type --delay 50 Pictaro && sleep 1 && xdotool key Return
}
# finished: waits until no run of the plug-in is left.
finished() {
  for _ in $(seq 300); do pgrep -f "$work/root/.*/$program" >/dev/null || return 0; sleep 0.1; done
  echo "the plug-in never ended"
  fail=1
}
# build_save_apply ICO: the first run's steps in the main window: Welcome, Build, Save
# (as ICO, through the Save As chooser), Apply.
build_save_apply() {
  attached "Using Pictaro"
  press "Using Pictaro" Return || return 1
  attached Pictaro
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

same() {
  [ "$(/usr/bin/compare -metric AE "$work/$1" "$work/$2" null: 2>&1)" = 0 ] ||
    { echo "$1 and $2 differ"; fail=1; }
}
