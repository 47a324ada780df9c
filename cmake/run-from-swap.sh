#!/bin/sh
# Marks a PE image to be run from the swap file when it is started from removable media or the
# network (IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP, 0x0C00 in the file
# header's Characteristics): Windows 2000 and XP then copy the whole program into memory backed by the
# swap file before it runs, so it keeps running when its disk is taken out of the drive. The linker
# has no option for these flags, so they are set here, in the byte that holds them.
set -eu
image=$1
# e_lfanew, the file offset of the "PE\0\0" signature; the Characteristics word follows the signature,
# the machine, the section count, the time stamp, the symbol table's offset and count and the optional
# header's size (4 + 2 + 2 + 4 + 4 + 4 + 2 = 22 bytes); its high byte holds both flags.
header=$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')
offset=$((header + 23))
high=$(od -An -tu1 -j"$offset" -N1 "$image" | tr -d ' ')
printf "$(printf '\\%03o' $((high | 0x0C)))" | dd of="$image" bs=1 seek="$offset" conv=notrunc status=none
