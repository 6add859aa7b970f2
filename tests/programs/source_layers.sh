#!/usr/bin/env bash
# The folders depend one way: ui and the host engine above host, host above the icon files and
# the model, the model above the platform seams. Each folder may include only the ones below it.
set -uo pipefail
declare -A allowed=(
  [platform]="platform" [model]="model platform resources" [icofile]="icofile model platform"
  [host]="host icofile model platform resources" [hostengine]="hostengine host model platform"
)
fail=0
for folder in "${!allowed[@]}"; do
  # Prints each include of a folder not allowed, with its file and line.
  grep -rnE '^#include "[a-z]+/' "$2/src/$folder" |
    grep -vE ":[0-9]+:#include \"($(tr ' ' '|' <<<"${allowed[$folder]}"))/" &&
    { echo "src/$folder may include only ${allowed[$folder]}"; fail=1; }
done
exit $fail
