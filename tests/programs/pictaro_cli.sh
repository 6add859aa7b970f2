#!/bin/bash
# pictaro info and convert on files made by icoutils and ImageMagick: listings, exit codes,
# PNG compression, and a save that runs out of room leaving the old file as it was; build and
# apply on the sample layer.
# Usage: pictaro_cli.sh BIN_DIR SOURCE_DIR
pictaro=$(cd "$1" && pwd)/pictaro
sample=$2/samples/sample-layer.png
[ -x "$pictaro" ] && command -v icotool >/dev/null || { echo "no pictaro or icotool"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# run CODE ARGS...: runs pictaro, keeping its output in out and err, and checks the exit code.
run() {
  "$pictaro" "${@:2}" >out 2>err
  local got=$?
  [ "$got" -eq "$1" ] || { fail "pictaro ${*:2} exited $got, expected $1"; cat err; }
}
# has FILE PATTERN...: FILE has a line matching each whole-line PATTERN.
has() {
  for pattern in "${@:2}"; do grep -qx -- "$pattern" "$1" || fail "$1: no line '$pattern'"; done
}

# Noise with an alpha ramp: too many colours for a palette, so icotool keeps 32 bits.
for size in 16 32 48 64 256; do
  /usr/bin/convert -size ${size}x${size} xc: +noise Random -alpha set \
    -channel A -fx "(i+j)/(w+h)" +channel PNG32:a$size.png
done
icotool -c -o small.ico a16.png a32.png a48.png
icotool -c -o large.ico a16.png a32.png a48.png --raw=a256.png
icotool -c -o odd.ico a16.png --raw=a64.png

for args in "" frobnicate info "info a.ico b.ico" "convert small.ico" "convert small.ico -o" \
  "convert small.ico -o x.ico --fast"; do
  run 2 $args
done
run 2 build "$sample"
run 2 build "$sample" -o x.ico --slot 16:4
run 2 apply sample.ico "$sample" -o x.png --slot 256:8
run 0 --help
has out "Usage: pictaro info.*"

run 0 info large.ico
has out " 8  256x256  32 bpp  *[0-9]* bytes  png" " 9  48x48    32 bpp    9640 bytes" \
  "10  32x32    32 bpp    4264 bytes" "12  16x16    32 bpp    1128 bytes" \
  "• Icon resources with 32-bit depth will not display.*"
grep -q $'\r' out && fail "info: carriage returns in the report"
[ -s err ] && fail "info: a skipped entry reported where none is"
run 0 info odd.ico
has err "odd.ico: entry 2 (64x64, 32 bpp, png) has no place in the grid"
printf 'XYZ' >short.ico
run 1 info short.ico
has err "short.ico: Error reading .ICO file header"
run 1 info missing.ico
has err "missing.ico: .*"

# --png stores the 256 px image compressed, and converting back restores the file.
run 0 convert large.ico -o plain.ico
run 0 convert plain.ico -o packed.ico --png
run 0 convert packed.ico -o unpacked.ico
cmp plain.ico unpacked.ico || fail "convert: PNG back to bitmap differs"
[ "$(stat -c %s packed.ico)" -lt "$(stat -c %s plain.ico)" ] || fail "convert --png did not compress"
run 1 convert short.ico -o never.ico

# A save that runs out of room, which the writer does not explain, is reported; the previous
# file stays as it was and no temporary file is left behind.
cp small.ico keep.ico
(trap '' XFSZ; ulimit -f 1; "$pictaro" convert large.ico -o keep.ico) >out 2>err
[ $? -eq 1 ] || fail "convert under a 1 KiB size limit did not exit 1"
has err "keep.ico: can't write the file"
cmp -s small.ico keep.ico || fail "a failed save changed the previous file"

# build: the sample's report, the palette files it takes and refuses.
run 0 build "$sample" -o sample.ico --png
has out "• The 48x48 pixel, 4-bit resource.*"
head -c 768 /dev/urandom >table.act && printf 'ab' >>table.act
run 0 build "$sample" -o custom.ico --palette table.act
head -c 767 /dev/urandom >short.act
run 1 build "$sample" -o never.ico --palette short.act
has err ".*number of color table entries is incorrect.*"
run 1 build missing.png -o never.ico
# The icons the sample builds, byte for byte (the PNG ones as this system's zlib packs them).
LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c%c%c", i, 255 - i, i * 7 % 256 }' >ramp.act
while read -r sum args; do
  run 0 build "$sample" -o sum.ico $args
  [ "$(sha256sum <sum.ico | cut -c1-64)" = "$sum" ] || fail "build $args: not the same icon"
done <<'EOF'
f1ef0ca76251a77702075dcaa8c78ae2ebeb5041519c7416b7a88385c0c8f687 --palette default
2427bad98c89f9952f0c119383d892edfd325265873de2d4a0780e3c0f845a4e --palette default --png
a26e43edb3a38e6366ae9398f3a778f4139e135837d6918e9181a90c61e915d9 --palette auto
51c959bbb48873402f58f563079da3c016ab8a75acbe7f33deca3eddbcb33099 --palette auto --png
c9fa4db87420997de7613e8f09dfb221bc836f2dc97f2515d7b963b69068cb0a --palette ramp.act
efb17d28bc3b8fd768c45d72c26abc2d4eb52a9a5301b407730cdc9f4f76a765 --palette ramp.act --png
003960f897276a8cc0c1dc28fcbd28e88fd6f73cd4f11621ed5fcbd33db55f6c --palette auto --opaque
9c796e6c8ece1364e8660a9bd9bcedba2a4ee4341549115ba0dfb39a16b0ba65 --palette default --opaque --png
99d721fe77d0d2640370112005c66de8521b17b539de34a6049ba31114459020 --palette auto --same-position
EOF

# apply: the 48 x 48 8-bit image centred in a 100 x 60 selection, nothing outside it.
run 0 apply sample.ico "$sample" -o applied.png --slot 48:8 --selection 0,0,100,60
/usr/bin/compare -metric AE "$sample" applied.png null: 2>diff.txt
[ "$(cat diff.txt)" -gt 0 ] || fail "apply changed nothing"
for image in "$sample" applied.png; do
  /usr/bin/convert "$image" -crop 100x60+0+0 +repage -fill black -draw "rectangle 26,6 73,53" \
    "masked-$(basename "$image")"
done
/usr/bin/compare -metric AE masked-sample-layer.png masked-applied.png null: 2>diff.txt
[ "$(cat diff.txt)" -eq 0 ] || fail "apply wrote outside the 48 x 48 square"
run 1 apply sample.ico "$sample" -o never.png --slot 256:32 --selection 0,0,100,60
has err ".*too small for the 256 x 256 pixel icon data.*"
run 2 apply sample.ico "$sample" -o x.png --selection 0,0,600,60
[ -e never.ico ] || [ -e never.png ] || [ -n "$(ls -A | grep '^\.')" ] && fail "a failed run left a file"
[ "$failures" -eq 0 ]
