// Paths written into the fixed-size buffers that the program hands to the system, never cut.
#pragma once

#include <cstddef>
#include <cstdio>

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
