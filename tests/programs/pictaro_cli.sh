#!/bin/bash
# pictaro info and convert on files made by icoutils and ImageMagick: listings, exit codes,
# PNG compression, and a save that runs out of room leaving the old file as it was; build and
# apply on the sample layer. The command lines with their exit codes and outputs are in
# pictaro_cli.txt.
# Usage: pictaro_cli.sh BIN_DIR SOURCE_DIR
pictaro=$(cd "$1" && pwd)/pictaro
[ -x "$pictaro" ] && command -v icotool >/dev/null || { echo "no pictaro or icotool"; exit 77; }
rows=$(grep -vE '^(#|$)' "$2/tests/programs/pictaro_cli.txt") && builds=$(<"$2/tests/programs/pictaro_cli_builds.txt") || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && cp "$2/samples/sample-layer.png" sample.png || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# run CODE ARGS...: runs pictaro, keeping its output in out and err, and checks the exit code.
run() {
  "$pictaro" "${@:2}" >out 2>err </dev/null
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
head -c 300 a48.png >cut48.png && icotool -c -o cut.ico a16.png --raw=cut48.png
printf 'XYZ' >short.ico
mkdir folder && /usr/bin/convert -size 1x1 xc:none PNG32:one.png && /usr/bin/convert sample.png sample.tif
head -c 768 /dev/urandom >table.act && printf 'ab' >>table.act
head -c 767 /dev/urandom >short.act
LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c%c%c", i, 255 - i, i * 7 % 256 }' >ramp.act

while IFS='|' read -r -a row; do
  run "${row[0]}" ${row[1]}
  has "${row[@]:2}"
done <<<"$rows"
run 0 info large.ico
grep -q $'\r' out && fail "info: carriage returns in the report"
[ -s err ] && fail "info: a skipped entry reported where none is"
run 2 convert small.ico
[ "$(wc -l <err)" -eq 2 ] || fail "a usage error printed more than its line and the pointer to --help"
# What the image library says while reading a TIFF layer shows with --verbose only.
run 0 build sample.tif -o tif.ico
[ -s err ] && fail "build of a TIFF layer printed: $(head -n 1 err)"
run 0 build sample.tif -o tif.ico --verbose
grep -q '^pictaro: sample.tif: .*TIFF' err || fail "build --verbose: no word of the TIFF reader"

# --png stored the 256 px image compressed, and converting back restored the file.
cmp plain.ico unpacked.ico || fail "convert: PNG back to bitmap differs"
[ "$(stat -c %s packed.ico)" -lt "$(stat -c %s plain.ico)" ] || fail "convert --png did not compress"

# A 12000 x 12000 layer with the sample's artwork at its top left costs one decoded copy: build
# gives the sample's own icon under an address-space limit of 1.3 times that copy. Under a lower
# limit it is reported as too large for memory. (Not under AddressSanitizer, whose shadow memory
# needs more address space than any such limit.)
if ! grep -q __asan_init "$pictaro"; then
  /usr/bin/convert sample.png rgba:sample.rgba
  python3 - sample.rgba 500 12000 big.png <<'PY' || fail "no large layer made"
import struct, sys, zlib
raw, width, size = open(sys.argv[1], 'rb').read(), int(sys.argv[2]), int(sys.argv[3])
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
packer, rows = zlib.compressobj(1), len(raw) // (width * 4)
with open(sys.argv[4], 'wb') as out:
    out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)))
    for y in range(size):
        row = raw[y * width * 4:(y + 1) * width * 4] if y < rows else b''
        out.write(chunk(b'IDAT', packer.compress(b'\0' + row + bytes(size * 4 - len(row)))))
    out.write(chunk(b'IDAT', packer.flush()) + chunk(b'IEND', b''))
PY
  run 0 build sample.png -o small.ico
  (ulimit -v $((12000 * 12000 * 4 * 13 / 10 / 1024)); "$pictaro" build big.png -o big.ico) >out 2>err ||
    fail "build of the 12000 x 12000 layer within 1.3 times its size: $(tail -n 1 err)"
  cmp -s small.ico big.ico || fail "the large layer did not give the sample's icon"
  (ulimit -v 400000; "$pictaro" build big.png -o never.ico) >out 2>err
  [ $? -eq 1 ] || fail "build short of memory did not exit 1"
  has err "pictaro: big.png: not enough memory to load its 12000 x 12000 layer (549 MB)"
fi

# A save that runs out of room, which the writer does not explain, is reported; the previous
# file stays as it was and no temporary file is left behind.
cp small.ico keep.ico
(trap '' XFSZ; ulimit -f 1; "$pictaro" convert large.ico -o keep.ico) >out 2>err
[ $? -eq 1 ] || fail "convert under a 1 KiB size limit did not exit 1"
has err "pictaro: keep.ico: File too large"
cmp -s small.ico keep.ico || fail "a failed save changed the previous file"

# The icons the sample builds, byte for byte (the PNG ones as this system's zlib packs them):
# pictaro_cli_builds.txt lists each icon's SHA-256 and the options that build it.
while read -r sum args; do
  run 0 build sample.png -o sum.ico $args
  [ "$(sha256sum <sum.ico | cut -c1-64)" = "$sum" ] || fail "build $args: not the same icon"
done <<<"$builds"

# The applied picture changed inside the 48 x 48 square only.
[ "$(/usr/bin/compare -metric AE sample.png applied.png null: 2>&1)" -gt 0 ] || fail "apply changed nothing"
for image in sample.png applied.png; do
  /usr/bin/convert $image -fill black -draw "rectangle 26,6 73,53" masked-$image
done
[ "$(/usr/bin/compare -metric AE masked-sample.png masked-applied.png null: 2>&1)" -eq 0 ] ||
  fail "apply wrote outside the 48 x 48 square"
[ -e never.ico ] || [ -e never.png ] || [ -n "$(ls -A | grep '^\.')" ] && fail "a failed run left a file"
[ "$failures" -eq 0 ]
