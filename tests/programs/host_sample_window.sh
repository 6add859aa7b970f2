#!/usr/bin/env bash
# pictaro-host opens the real plug-in module on the sample layer: the Welcome
# window on the first run only, then the main window; Apply (Return) gives
# exit 0 and writes the output, Done (Escape) gives exit 1; the sample file is
# never touched. About runs from an installed copy.
set -uo pipefail
bin=$1
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
# A display that has just started may not answer yet.
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
cp "$2/samples/sample-layer.png" "$work/layer.png"
before=$(sha256sum <"$work/layer.png")
fail=0

# run EXIT KEYS ARGS...: runs pictaro-host with ARGS; for each "TITLE=KEY" of KEYS (separated by
# commas) waits for the top-level window TITLE and sends it KEY; then checks the exit code.
run() {
  timeout 60 "${@:3}" >"$work/log" 2>&1 &
  local pid=$! keys id
  IFS=, read -r -a keys <<<"$2"
  for key in "${keys[@]}"; do
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "^${key%=*}\$" | head -n 1)
    [ -n "$id" ] || { echo "window '${key%=*}' never appeared"; fail=1; continue; }
    sleep 0.5
    xdotool windowfocus --sync "$id" key "${key#*=}"
  done
  wait "$pid"
  local status=$?
  [ "$status" -eq "$1" ] || { echo "${*:3}: exit $status, want $1"; cat "$work/log"; fail=1; }
}

run 0 "Using Pictaro=Return,Pictaro=Return" "$bin/pictaro-host" -o "$work/out.png" "$work/layer.png"
[ -s "$work/out.png" ] || { echo "Apply wrote no output"; fail=1; }
# A second Welcome would block the main window, and the wait for it would time out.
run 1 "Pictaro=Escape" "$bin/pictaro-host" "$work/layer.png"
# The installed pair finds each other: About from the installed host.
# Staged under a root of its own: the GIMP plug-in installs outside the prefix.
DESTDIR="$work/root" cmake --install "$bin/.." --prefix /opt/pictaro >/dev/null || fail=1
run 0 "About Pictaro=Return" "$work/root/opt/pictaro/bin/pictaro-host" --about
[ "$before" = "$(sha256sum <"$work/layer.png")" ] || { echo "the layer file changed"; fail=1; }
exit $fail
