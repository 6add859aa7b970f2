#!/bin/bash
# pictaro-host's exit codes for command lines it must refuse, and its help.
# Usage: host_arguments.sh BIN_DIR SOURCE_DIR
host=$1/pictaro-host
[ -x "$host" ] || { echo "no $host"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect CODE PATTERN ARGS...: the exit code, and a pattern the output must match.
expect() {
  local code=$1 pattern=$2
  shift 2
  "$host" "$@" >"$work/out" 2>&1
  local got=$?
  [ "$got" -eq "$code" ] && grep -q -- "$pattern" "$work/out" && return
  echo "FAIL: pictaro-host $* exited $got (want $code), output without '$pattern':"
  cat "$work/out"
  failures=$((failures + 1))
}

expect 0 "Usage: pictaro-host" --help
expect 2 "^pictaro-host: no layer image"
expect 2 "^pictaro-host: unknown option --frobnicate" --frobnicate layer.png
expect 2 "^pictaro-host: .*missing.png" "$work/missing.png"
expect 2 "^pictaro-host: --selection needs" layer.png --selection
expect 2 "^pictaro-host: -o needs" layer.png -o
expect 2 "^pictaro-host: one layer image only" a.png b.png
expect 2 "^pictaro-host: --about takes no layer" --about a.png
for bad in 1,2,3 1,2,3,4,5 a,b,c,d 5,0,2,4 0,6,4,2 0,0,40000,10 "1, 2,3,4" ",1,2,3"; do
  expect 2 "^pictaro-host: bad --selection" --selection "$bad" layer.png
done
expect 2 "^pictaro-host: can't load the plug-in module" --about --plugin "$work/none.8bf"

# Selections checked against a real 8 x 6 layer, before any module is loaded.
if /usr/bin/convert -size 8x6 xc:red "PNG32:$work/layer.png"; then
  cp "$work/layer.png" "$work/before.png"
  for outside in -1,0,4,4 0,0,9,6 0,0,8,7; do
    expect 2 "^pictaro-host: --selection must lie inside the 8 x 6 layer" \
      --plugin "$work/none.8bf" --selection "$outside" "$work/layer.png"
  done
  expect 2 "^pictaro-host: can't load the plug-in module" \
    --plugin "$work/none.8bf" --selection 0,0,8,6 "$work/layer.png"
  cmp -s "$work/layer.png" "$work/before.png" || { echo "FAIL: the layer changed"; failures=1; }
fi
[ "$failures" -eq 0 ]
