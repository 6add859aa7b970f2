#!/usr/bin/env bash
# The folders depend one way: ui and the host engine above host, host above the icon files and
# the model, the model above the platform seams. Each folder may include only the ones below it.
set -uo pipefail
declare -A allowed=(
  [platform]="platform" [model]="model platform resources" [icofile]="icofile model platform"
  [host]="host icofile model platform resources" [substitute]="substitute host model platform"
)
fail=0
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$include")
    grep -qw "$target" <<<"${allowed[$folder]}" ||
      { echo "$file:$line: $folder may not include $target/"; fail=1; }
  done < <(grep -rnE '^#include "[a-z]+/' "$2/src/$folder")
done
exit $fail
