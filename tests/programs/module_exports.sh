#!/usr/bin/env bash
# The plug-in module exports PluginMain and nothing else of ours.
set -euo pipefail
bin=$1
module=$bin/Pictaro.8bf
[ -f "$module" ] || { echo "no module at $module"; exit 1; }
exported=$(nm -D --defined-only "$module" | awk '$2 ~ /^[TDBRVWiu]$/ {print $3}' | sort -u)
if [ "$exported" != "PluginMain" ]; then
  echo "unexpected exports:"
  printf '%s\n' "$exported"
  exit 1
fi
echo "exports: $exported"
