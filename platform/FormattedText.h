// A text made as the C library's printf makes it, for the backends' standard output.
#pragma once

#include <cstdarg>
#include <string>

namespace platform {

// The whole text that `format` with `arguments` gives, however long; `arguments` is used up.
std::string FormattedText(const char* format, va_list arguments);

}  // namespace platform
