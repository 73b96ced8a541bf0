#!/usr/bin/env bash
# Writes the seed corpus of the fuzz entry points into tests/fuzz/corpus/<name>/ (a few KiB in all).
# The files are kept in the repository; run this again only to change them. Other files in those folders
# (inputs that once found a fault, kept as regression cases) are left as they are.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/corpus"
mkdir -p "$out"/{image_load,ini_image,ini_roundtrip,bgbank,stagefile}

# bytes HEX... : the bytes given as two-digit hexadecimal numbers.
bytes() { for b in "$@"; do printf "\\x$b"; done; }
# pattern N MUL ADD : N bytes, byte i = (i * MUL + ADD) mod 256.
pattern() { local i; for ((i = 0; i < $1; i++)); do printf "\\x$(printf %02x $(((i * $2 + $3) % 256)))"; done; }
zeros() { head -c "$1" /dev/zero; }
# le24 N : N as three little-endian bytes.
le24() { bytes "$(printf %02x $(($1 & 255)))" "$(printf %02x $((($1 >> 8) & 255)))" "$(printf %02x $((($1 >> 16) & 255)))"; }
# patch OFFSET HEX... : one patch of the patched-image form (see fuzz_support.h).
patch() { local at=$1; shift; le24 "$at"; bytes "$(printf %02x $#)"; bytes "$@"; }
magic() { bytes 4E 45 53 1A; }

# ---- image_load: image files (stage 0's object tables at 10, 90, 110, 190, 210 and its map at 240) ----
d="$out/image_load"
{ magic; zeros 12; } > "$d/smallest16"
{ magic; zeros 11; } > "$d/too_short15"
{ bytes 4E 45 53 1B; pattern 60 7 1; } > "$d/wrong_magic"
{
  magic; zeros 12
  bytes 00 00 00 01 02 02 05 05 05 0A 14 1E 28 2F 2F FF; zeros 112      # screens, sorted, end marker
  pattern 128 9 3; pattern 128 5 7; pattern 128 3 1                      # x, y, kind
  pattern 48 1 0                                                         # offsets
  pattern 48 13 2                                                        # map
  pattern 32 17 5; pattern 160 31 11                                     # palettes, animation numbers, ...
} > "$d/objects_sorted"
{
  magic; zeros 12
  bytes 03 03 02 07 30 31 FF; zeros 121                                  # descending: the scan stops early
  pattern 600 11 0
} > "$d/objects_unsorted"
{ magic; pattern 1020 251 4; } > "$d/noise1k"

# ---- ini_image: INI text, NUL, image ----
d="$out/ini_image"
{ printf '\0'; magic; pattern 60 3 1; } > "$d/no_ini_small_image"
{
  printf '[LevelDataAddress]\nChip16x16=10\nChipProperty=410\nChip32x32=80\nMapSet=100\nMap=20\n'
  printf 'BGPalette=30\nBGPaletteAnime=40\nObjectScreen=200\nObjectX=280\nObjectY=300\nObjectKind=380\n'
  printf 'ObjectOffset=400\nScrollData=0\nScrollGraphicsLoad=50\n'
  printf '[ShareData]\nlevel.1=0\nlevel.3=15\nlevel.5=4\nlevel.2=99\nlevel.7=x\n'
  printf '\0'; magic; pattern 2044 7 3
} > "$d/relocated_shared"
{
  printf '[leveldataaddress]\r\nCHIP16X16=0x40010\r\nMap=ffffffff\r\nMapSet=7FFFFFFF\r\nObjectX=1FFFF0\r\n'
  printf 'ObjectScreen=80000000\r\n[Address]\r\nMidPointData=-5\r\n'
  printf '\0'; magic; zeros 12
} > "$d/hostile_addresses"
printf '[Address]\nno image follows' > "$d/text_only"

# ---- ini_roundtrip: INI texts ----
d="$out/ini_roundtrip"
{
  printf '[LevelDataAddress]\nChip16x16=40010\nMap=41510\n\n[ShareData]\nlevel.5=4\n\n'
  printf '[Address]\nPaletteAnimationData=41B53\nInitialGraphicsPointerMax=6F\n\n'
  printf '[ObjectEdit]\nSort=1\nPopup=0\n\n[Timer]\nInterval=0x20\n\n[Undo]\nEnabled=1\n'
} > "$d/settings.ini"
{
  printf '\xEF\xBB\xBF; leading comment\r\n# another\r\n[One] trailing text\r\n  key = value with blanks  \r\n'
  printf 'KEY=duplicate\r\nnoequals\r\n=novalue\r\n[one]\r\nmerged=yes\r\n\r\n[Two]\rcr=only\r[]\rempty=section\n'
} > "$d/odd_forms.ini"
{ printf '[a]b]\nx=[y]\n[[c]\n;=\n#x=1\n[d\ne=f\n'; printf '\xff\xfe[\x83\x65]\n\x82\xa0=\x82\xa2\n'; } > "$d/brackets_sjis.ini"

# ---- bgbank: INI text, NUL, image size, choice (stage | load point << 4, scroll number), patches ----
d="$out/bgbank"
# Stage 0's bank at its start with scroll 1, at mid-point 1 with scroll 2, at mid-point 2 with scroll 3.
for seed in "default_layout 00 01" "default_layout_midpoint1 10 02" "default_layout_midpoint2 20 03"; do
  read -r name choice <<< "$seed"
  {
    printf '\0'; le24 $((0x80010)); bytes $choice
    patch $((0x51810)) F0 00 10; patch $((0x51880)) 00 01 01         # initial sets 0, 1, 2 -> 46100, 46110, 47020
    patch $((0x46100)) FF 01 02 80 03 03 01 85 04 FF                  # two entries, the second overwrites
    patch $((0x46110)) 01 02 03 04 05 06 07 08 02 10 80 00 FF         # first byte not FF: 8 bytes skipped
    patch $((0x47020)) FF 05 FF 80 0E 00 01 7F 00 FF                  # past the bank's end; before the file's start
    patch $((0x7C8BB)) 00 00 01 00 00 00 70 00                        # stage 0: mid-point 1 set 1, mid-point 2 set 70
    patch $((0x41570)) 00 02 4F 50                                    # stage 0 scroll 1 -> set 2, 2 -> 4F, 3 -> 50
    patch $((0x53812)) 10; patch $((0x53872)) 02                      # scroll set 2 -> 48010 + 0210
    patch $((0x48220)) FF 01 03 80 0A FF
    patch $((0x415B0)) 80 81 00 7F                                    # palette set 0: animations 0 and 1
    patch $((0x41D3C)) 43 50; patch $((0x41D7C)) BB BB                # -> records 41B53 and 41B60
    patch $((0x41B53)) 02 03 00 01 02; patch $((0x41B60)) 01 00 03 04
    patch $((0x418D7)) 01 02 03 11 12 13 21 22 23 31 32 33 0F 0F 0F
  } > "$d/$name"
done
{
  printf '[Address]\nInitialGraphicsPointerLow=100\nInitialGraphicsPointerHigh=180\nMidPointData=200\n'
  printf 'ScrollGraphicsPointerLow=280\nScrollGraphicsPointerHigh=300\nInitialGraphicsPointerMax=FF\n'
  printf 'ScrollGraphicsPointerMax=FF\n[LevelDataAddress]\nScrollGraphicsLoad=380\n'
  printf '\0'; le24 $((0x46400)); bytes 00 01                        # stage 0, scroll 1
  patch $((0x100)) 00 10 20 30; patch $((0x180)) 00 00 00 00
  patch $((0x46010)) 05 05 05 05 05 05 05 05 05 05 05 05 05 05 05 05   # no end marker: runs to the end
  patch $((0x380)) 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10
} > "$d/relocated_unterminated"
{ printf '\0'; le24 16; } > "$d/smallest_image"
# ---- stagefile: stage files; a whole one comes from the tool when it is built ----
d="$out/stagefile"
tool="$(dirname "$0")/../../build/bin/quorven-stage"
image="$(dirname "$0")/../../build/demo.nes"
if [ -x "$tool" ] && [ -f "$image" ]; then "$tool" export "$image" 1 "$d/demo_stage01.json"; fi
printf '{"format":"quorven-stage","version":1}' > "$d/header_only"
printf '{"format":"quorven-stage","version":2,"stage":0}' > "$d/wrong_version"
printf '{"format":"quorven-stage",' > "$d/truncated"
printf '[1,2,3]' > "$d/not_an_object"
echo "corpus written to $out"
du -sh "$out"
