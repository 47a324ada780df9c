// Files as the program handles them whole: read to their end, compared, deleted whatever their
// attributes.
#pragma once

#include <string>

#include "platform/Types.h"

namespace platform {

// Reads the whole of a file into `bytes`. False, with the reason as the last error, when any part of it
// cannot be read.
bool ReadWholeFile(LPCSTR path, std::string& bytes);
// Whether both files can be read whole and hold the same bytes.
bool SameFileBytes(LPCSTR first, LPCSTR second);

// Deletes a file whatever its attributes: Windows does not delete a read-only file, and files copied
// from a CD are read-only. Answers as DeleteFileA.
BOOL DeleteFileOfAnyAttributes(LPCSTR path);

}  // namespace platform
