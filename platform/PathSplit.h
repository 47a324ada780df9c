// The C run-time's path splitter, as the program uses it: the drive ("C:") and the directory (up to and
// including the last backslash or slash) of a full file path, read by characters of the system's code
// page.
#pragma once

#include <cstddef>

namespace platform {

// Splits `path` into `drive` and `dir`, each zero-terminated within its buffer. Returns false, leaving
// both buffers empty, when either part does not fit: a cut directory must never be used as a folder.
bool SplitPath(const char* path, char* drive, std::size_t driveSize, char* dir, std::size_t dirSize);

}  // namespace platform
