// Reading and building item ID lists in the shell's byte format (see SHITEMID). Every read goes byte
// by byte, so a list may start at any address.
#pragma once

#include "platform/Shell.h"

namespace platform {

// The byte count of the list's first item; 0 for a null list or the terminator alone.
WORD FirstItemSize(LPCITEMIDLIST list);
// The list's byte length without its two-byte terminator; 0 for a null list.
UINT ItemIdListSize(LPCITEMIDLIST list);
// The list after its first item; the list itself when it is empty.
LPCITEMIDLIST NextItem(LPCITEMIDLIST list);

// `prefix` (its `prefixSize` bytes), then the first item of `item`, then the terminator, written to
// `target`, which holds at least prefixSize + FirstItemSize(item) + 2 bytes. Answers the new list's
// size without the terminator.
UINT AppendFirstItem(BYTE* target, LPCITEMIDLIST prefix, UINT prefixSize, LPCITEMIDLIST item);

}  // namespace platform
