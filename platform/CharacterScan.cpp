#include "platform/CharacterScan.h"

#include "platform/CodePage.h"

namespace platform {

bool IsLeadByte(char byte) {
    const auto value = static_cast<BYTE>(byte);
    return value >= 0x80 && IsDBCSLeadByte(value) != 0;
}

std::size_t CharacterSize(std::string_view text, std::size_t offset) {
    return IsLeadByte(text[offset]) && offset + 1 < text.size() ? 2 : 1;
}

std::size_t FindFirstCharacter(std::string_view text, std::string_view wanted) {
    for (std::size_t at = 0; at < text.size(); at += CharacterSize(text, at)) {
        if (wanted.find(text[at]) != std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::size_t FindLastCharacter(std::string_view text, std::string_view wanted) {
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += CharacterSize(text, at)) {
        if (wanted.find(text[at]) != std::string_view::npos) {
            found = at;
        }
    }
    return found;
}

bool EndsWithCharacter(const std::string& text, char c) {
    if (text.empty()) {
        return false;
    }
    const char* end = text.c_str() + text.size();
    const char* last = CharPrevA(text.c_str(), end);
    return last == end - 1 && *last == c;
}

}  // namespace platform
