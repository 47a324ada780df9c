// The program folder: the drive and directory of the running program's own path, ending in a
// backslash. setup.dat and the driver files are found relative to it.
#pragma once

#include <cstddef>
#include <cstdio>

inline constexpr std::size_t kProgramFolderSize = 100;

// Fills `folder` with the program folder. Returns false, with `folder` empty, when the program's path
// or its folder does not fit the buffers: a cut folder would name another place, so it is never used.
bool GetProgramFolder(char (&folder)[kProgramFolderSize]);

// Writes the text that `format` makes of its arguments into `buffer`. Returns false, leaving the buffer
// empty, when the text does not fit: a cut path must never be used.
template <class... Texts>
bool FormatPath(char* buffer, std::size_t size, const char* format, const char* first, Texts... rest) {
    const int written = std::snprintf(buffer, size, format, first, rest...);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        if (size > 0) {
            buffer[0] = '\0';
        }
        return false;
    }
    return true;
}
