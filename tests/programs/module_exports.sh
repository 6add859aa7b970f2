#!/usr/bin/env bash
# The plug-in module exports PluginMain and nothing else of ours.
set -euo pipefail
exported=$(nm -D --defined-only "$1/Pictaro.8bf" | awk '$2 ~ /^[TDBRVWiu]$/ {print $3}' | sort -u)
[ "$exported" = "PluginMain" ] || { printf 'unexpected exports:\n%s\n' "$exported"; exit 1; }
