#!/bin/bash
# In a clean Debian environment (scripts/debian-clean): the package installs with its
# dependencies from Debian's archive, tells its version, builds the sample into the known icon,
# shows its plug-in to GIMP from GIMP's own plug-in folder, and leaves no file when purged.
# Usage: deb_clean_install.sh DEB SOURCE_DIR VERSION
deb=$1 src=$2 version=$3
failures=0
fail() {
  echo "FAIL: $*"
  failures=1
}
{ apt-get update -qq && apt-get install -y -qq --no-install-recommends "$deb" gimp; } >/tmp/install.log 2>&1 ||
  { tail -n 20 /tmp/install.log; exit 1; }
for program in pictaro pictaro-host; do
  [ "$($program --version)" = "$program $version" ] || fail "$program --version"
done
pictaro build "$src/samples/sample-layer.png" -o /tmp/sample.ico --palette default >/dev/null
grep -q "^$(sha256sum </tmp/sample.ico | cut -c1-64) --palette default$" "$src/tests/programs/pictaro_cli_builds.txt" ||
  fail "pictaro build: not the sample's icon"
if command -v gimp-console-2.10 >/dev/null; then
  gimp-console-2.10 -i -d -f -b '(gimp-message (if (= 1 (car (gimp-procedural-db-proc-exists "plug-in-pictaro"))) "listed" "missing"))' \
    -b '(gimp-quit 0)' >/tmp/gimp.log 2>&1
else
  gimp-console-3.0 -i -d -f --batch-interpreter=python-fu-eval --quit \
    -b 'from gi.repository import Gimp; print("listed" if Gimp.get_pdb().procedure_exists("plug-in-pictaro") else "missing")' >/tmp/gimp.log 2>&1
fi
grep -qw listed /tmp/gimp.log || { fail "GIMP does not list plug-in-pictaro"; cat /tmp/gimp.log; }
files=$(dpkg -L pictaro | while read -r path; do [ -f "$path" ] && echo "$path"; done)
[ -n "$files" ] && apt-get purge -y -qq pictaro >/dev/null 2>&1 || fail "no files, or the purge failed"
for path in $files; do [ -e "$path" ] && fail "left after the purge: $path"; done
exit $failures
