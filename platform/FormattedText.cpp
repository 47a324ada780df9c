#include "platform/FormattedText.h"

#include <cstdio>

namespace platform {

std::string FormattedText(const char* format, va_list arguments) {
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    // The string holds one byte more for its own terminating zero, which vsnprintf writes there.
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

}  // namespace platform
