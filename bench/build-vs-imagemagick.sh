#!/bin/bash
# `pictaro build` of the sample layer next to ImageMagick doing the same job: the thirteen images
# cut from their standard positions, the 8- and 4-bit ones reduced to 256 and 16 colours, all
# written as one .ico with the 256 px image as PNG. Prints both times and their ratio from one
# paired run: hyperfine when it is installed, otherwise RUNS alternating runs of each.
# Usage: bench/build-vs-imagemagick.sh [BIN_DIR] [RUNS]   (BIN_DIR defaults to build/bin)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
runs=${2:-20}
sample=$here/../samples/sample-layer.png
convert=/usr/bin/convert
[ -x "$bin/pictaro" ] || { echo "no $bin/pictaro" >&2; exit 1; }
[ -x "$convert" ] || { echo "no $convert" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Size, left, top and depth of each standard position (samples/README.md).
positions=(
  "256 230 101 32"
  "48 22 101 32" "32 22 166 32" "24 22 215 32" "16 22 256 32"
  "48 87 101 8" "32 87 166 8" "24 87 215 8" "16 87 256 8"
  "48 152 101 4" "32 152 166 4" "24 152 215 4" "16 152 256 4"
)
pictaro=("$bin/pictaro" build "$sample" -o "$work/pictaro.ico" --png)
magick=("$convert" "$sample")
for position in "${positions[@]}"; do
  read -r size left top depth <<<"$position"
  magick+=("(" -clone 0 -crop "${size}x$size+$left+$top" +repage)
  case $depth in
    8) magick+=(-colors 256) ;;
    4) magick+=(-colors 16) ;;
  esac
  magick+=(")")
done
magick+=(-delete 0 "$work/magick.ico")

# Both must do the job before either is timed.
"${pictaro[@]}" >/dev/null
"${magick[@]}"
if command -v icotool >/dev/null; then
  [ "$(icotool -l "$work/magick.ico" 2>/dev/null | wc -l)" -eq 13 ] ||
    { echo "ImageMagick did not write thirteen images" >&2; exit 1; }
fi

if command -v hyperfine >/dev/null; then
  hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/times.json" \
    -n "pictaro build" "$(printf '%q ' "${pictaro[@]}")" \
    -n "ImageMagick" "$(printf '%q ' "${magick[@]}")" >&2
  read -r ours theirs < <(python3 -c '
import json, sys
results = json.load(open(sys.argv[1]))["results"]
print(*(r["mean"] * 1000 for r in results))' "$work/times.json")
else
  ours=0
  theirs=0
  for ((i = 0; i < runs; ++i)); do
    start=$EPOCHREALTIME
    "${pictaro[@]}" >/dev/null
    middle=$EPOCHREALTIME
    "${magick[@]}"
    end=$EPOCHREALTIME
    read -r ours theirs < <(awk -v a="$ours" -v b="$theirs" -v s="$start" -v m="$middle" \
      -v e="$end" -v n="$runs" 'BEGIN { print a + (m - s) * 1000 / n, b + (e - m) * 1000 / n }')
  done
fi
awk -v a="$ours" -v b="$theirs" 'BEGIN {
  printf "pictaro build  %8.1f ms\nImageMagick    %8.1f ms\nratio          %8.3f\n", a, b, a / b }'
