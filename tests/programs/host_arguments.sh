#!/bin/bash
# pictaro-host's exit codes for command lines it must refuse, and its help, as host_arguments.txt
# lists them.
# Usage: host_arguments.sh BIN_DIR SOURCE_DIR
host=$(cd "$1" && pwd)/pictaro-host
[ -x "$host" ] || { echo "no $host"; exit 77; }
rows=$(grep -vE '^(#|$)' "$2/tests/programs/host_arguments.txt") || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && /usr/bin/convert -size 8x6 xc:red PNG32:layer.png && cp layer.png before.png || exit 1
failures=0
while IFS='|' read -r -a row; do
  "$host" "${row[@]:2}" >out 2>&1 </dev/null
  got=$?
  [ "$got" -eq "${row[0]}" ] && grep -q -- "${row[1]}" out && continue
  echo "FAIL: pictaro-host ${row[*]:2} exited $got (want ${row[0]}), output without '${row[1]}':"
  cat out
  failures=$((failures + 1))
done <<<"$rows"
# Without a display the run fails as such, never as a cancel.
env -u DISPLAY -u WAYLAND_DISPLAY "$host" layer.png >out 2>&1 </dev/null
[ $? -eq 2 ] && grep -q "^pictaro-host: no display" out || { echo "FAIL: no display:" && cat out; failures=1; }
cmp -s layer.png before.png || { echo "FAIL: the layer changed"; failures=1; }
[ "$failures" -eq 0 ]
