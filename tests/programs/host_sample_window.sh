#!/usr/bin/env bash
# pictaro-host opens the real plug-in module on the sample layer: the Welcome
# window on the first run only, then the main window; Apply (Return) gives
# exit 0 and writes the output, Done (Escape) gives exit 1; the sample file is
# never touched. About runs from an installed copy.
set -uo pipefail
bin=$1
src=$2
[ -n "${DISPLAY:-}" ] || { echo "no display"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool"; exit 77; }
# A display that has just started may not answer yet.
for _ in $(seq 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "the display never answered"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
cp "$src/samples/sample-layer.png" "$work/layer.png"
before=$(sha256sum "$work/layer.png")

# Waits for a top-level window titled $1 and sends it key $2.
press() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
  [ -n "$id" ] || { echo "window '$1' never appeared"; return 1; }
  sleep 0.5
  xdotool windowfocus --sync "$id" key "$2"
}

fail=0
timeout 60 "$bin/pictaro-host" -o "$work/out.png" "$work/layer.png" >"$work/log1" 2>&1 &
pid=$!
press "Using Pictaro" Return || fail=1
press "Pictaro" Return || fail=1
wait "$pid"; status=$?
[ "$status" -eq 0 ] || { echo "Apply: exit $status, want 0"; cat "$work/log1"; fail=1; }
[ -s "$work/out.png" ] || { echo "Apply wrote no output"; fail=1; }

timeout 60 "$bin/pictaro-host" "$work/layer.png" >"$work/log2" 2>&1 &
pid=$!
# A second Welcome would block the main window, and press would time out.
press "Pictaro" Escape || fail=1
wait "$pid"; status=$?
[ "$status" -eq 1 ] || { echo "Done: exit $status, want 1"; cat "$work/log2"; fail=1; }

# The installed pair finds each other: About from the installed host.
cmake --install "$bin/.." --prefix "$work/installed" >/dev/null || fail=1
timeout 60 "$work/installed/bin/pictaro-host" --about >"$work/log3" 2>&1 &
pid=$!
press "About Pictaro" Return || fail=1
wait "$pid"; status=$?
[ "$status" -eq 0 ] || { echo "About: exit $status, want 0"; cat "$work/log3"; fail=1; }

after=$(sha256sum "$work/layer.png")
[ "$before" = "$after" ] || { echo "the layer file changed"; fail=1; }
exit $fail
