#!/bin/bash
# The Windows zip, unpacked into the Wine prefix: everything a user needs is in it, pictaro.exe
# tells its version, and each binary's version resource states the same one (read back by
# icoutils' wrestool).
# Usage: zip_in_wine.sh ZIP VERSION; WINEPREFIX set by the caller.
zip=$(realpath "$1") version=$2
failures=0
folder="$WINEPREFIX/drive_c/Program Files/Pictaro"
mkdir -p "$folder" && cd "$folder" && unzip -oq "$zip" || exit 1
cd Pictaro-"$version"-win64 || exit 1
for file in Pictaro.8bf pictaro.exe pictaro-host.exe docs/index.html README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  [ -s "$file" ] || { echo "FAIL: no $file in the zip"; failures=1; }
done
[ "$(wine pictaro.exe --version </dev/null | tr -d '\r')" = "pictaro $version" ] || { echo "FAIL: pictaro.exe --version"; failures=1; }
for binary in Pictaro.8bf pictaro.exe pictaro-host.exe; do
  fields=$(wrestool -x --raw -t 16 "$binary" | strings -el | paste -sd ' ')
  for field in FileVersion ProductVersion; do
    [[ " $fields " == *" $field $version "* ]] || { echo "FAIL: $binary: $field is not $version ($fields)"; failures=1; }
  done
done
exit $failures
