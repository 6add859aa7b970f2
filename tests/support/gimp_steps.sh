# The steps both GIMP tests share, sourced by them with the build's bin folder and the source
# folder as $bin and $src, the plug-in's program as $program and GIMP's as $gimp_program: the
# plug-in installed under a scratch root and named in the gimprc of $gimp_folder, the windows
# driven by xdotool, and pictaro-host's results on the same sample as the reference (host.png and
# host.ico after Build, Save and Apply; host-selection.png inside 40,30,200,150; host-flat.png on
# the layer without transparency).
[ -x "$bin/$program" ] && command -v "$gimp_program" >/dev/null || { echo "no $program built"; exit 77; }
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
work=$(mktemp -d)
trap 'exec 7>&-; kill $gimp 2>/dev/null; rm -rf "$work"' EXIT
gimp=
fail=0
cp "$src/samples/sample-layer.png" "$work/in.png"
# Run by hand, the plug-in's program tells its version.
"$bin/$program" --version | grep -qx "$program [0-9]*\.[0-9]*\.[0-9]*" || { echo "$program --version"; fail=1; }
DESTDIR="$work/root" cmake --install "$bin/.." --prefix /opt/pictaro >/dev/null || exit 1
gimp_folder=$work/gimp
mkdir -p "$gimp_folder"
printf '(plug-in-path "${gimp_plug_in_dir}/plug-ins:%s")\n' \
  "$(dirname "$(find "$work/root" -type f -name "$program")")/.." >"$gimp_folder/gimprc"
export HOME=$work

# window TITLE: the id of the visible window TITLE, once it has appeared. xdotool's search walks
# the window tree, and a window that goes meanwhile (a tip, a progress window) ends the walk with
# an X error and xdotool with it: each look is a walk of its own, until one finds TITLE.
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "window '$1' never appeared" >&2; return 1; }
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

# host OUT [OPTIONS] IN: the reference run of pictaro-host, with a settings folder of its own;
# without OPTIONS it builds, saves and applies, else Apply alone.
host() {
  local out=$1 in=${*: -1}
  XDG_CONFIG_HOME=$work/host timeout 120 "$bin/pictaro-host" "${@:2:$#-2}" -o "$work/$out" "$work/$in" &
  if [ $# = 2 ]; then build_save_apply "$work/host.ico"; else press Pictaro Return; fi || fail=1
  wait $! || { echo "pictaro-host failed for $out"; fail=1; }
}
host host.png in.png
host host-selection.png --selection 40,30,200,150 in.png
/usr/bin/convert "$work/in.png" -background white -alpha remove -alpha off "$work/flat.png"
host host-flat.png --opaque flat.png

same() {
  [ "$(/usr/bin/compare -metric AE "$work/$1" "$work/$2" null: 2>&1)" = 0 ] ||
    { echo "$1 and $2 differ"; fail=1; }
}
# step TEXT: waits until GIMP's log says [TEXT...; after a failure GIMP's steps are not awaited.
step() {
  [ $fail = 0 ] || return 1
  for _ in $(seq 1200); do grep -qF "[$1" "$work/gimp.log" && return; sleep 0.1; done
  echo "GIMP never said [$1]"
  fail=1
}
# same_outside "X0,Y0 X1,Y1" A B: A and B agree outside that rectangle.
same_outside() {
  for f in "$2" "$3"; do /usr/bin/convert "$work/$f" -fill black -draw "rectangle $1" "$work/out-$f"; done
  same "out-$2" "out-$3"
}
