#!/bin/sh
# Writes the checksum of a PE image into its optional header, from the image's bytes as they now are.
# The linker sums the file it writes, and cmake/run-from-swap.sh changes a byte after that: a sum that
# no longer fits the bytes reads as a damaged or altered file to every tool that checks it (imagehlp's
# MapFileAndCheckSum among them), so it is written again last of all.
#
# The sum: the file as little-endian 16-bit words (a last odd byte padded with zero), the checksum's own
# four bytes taken as zero, added with each carry out of 16 bits folded back in; then the file's length
# added.
set -eu
image=$1
# e_lfanew, the file offset of the "PE\0\0" signature; the checksum follows the signature (4 bytes), the
# file header (20) and the optional header's first 64 bytes.
header=$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')
field=$((header + 88))
[ $((field % 2)) -eq 0 ] || { echo "pe-checksum: the checksum of $image is not on a word boundary" >&2; exit 1; }
size=$(wc -c <"$image")
folded=$(od -An -v -tu2 --endian=little "$image" | awk -v skip=$((field / 2)) '
    { for (i = 1; i <= NF; i++) { if (word != skip && word != skip + 1) sum += $i; word++ } }
    END { while (sum > 65535) sum = sum % 65536 + int(sum / 65536); print sum }')
checksum=$((folded + size))
octal() { printf '\\%03o' $(($1 & 255)); }
bytes="$(octal "$checksum")$(octal $((checksum >> 8)))$(octal $((checksum >> 16)))$(octal $((checksum >> 24)))"
printf "$bytes" | dd of="$image" bs=1 seek="$field" conv=notrunc status=none
