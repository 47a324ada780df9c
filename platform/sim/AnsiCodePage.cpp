#include "platform/sim/AnsiCodePage.h"

#include <iconv.h>

#include <map>
#include <memory>
#include <stdexcept>

namespace platform::sim {

namespace {

struct LeadRange {
    unsigned char first;
    unsigned char last;
};

struct CodePageInfo {
    UINT number;
    const char* converterName;  // as the C library's iconv knows it
    std::vector<LeadRange> leadBytes;
};

const CodePageInfo& InfoOf(UINT number) {
    static const std::vector<CodePageInfo> kCodePages{
        {1252, "CP1252", {}},           {932, "CP932", {{0x81, 0x9F}, {0xE0, 0xFC}}},
        {936, "CP936", {{0x81, 0xFE}}}, {949, "CP949", {{0x81, 0xFE}}},
        {950, "CP950", {{0x81, 0xFE}}},
    };
    for (const auto& info : kCodePages) {
        if (info.number == number) {
            return info;
        }
    }
    throw std::invalid_argument("the in-memory Windows has no code page " + std::to_string(number));
}

// One direction of the C library's converter, kept open while the tables are made.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv has no converter from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The bytes that the whole input becomes, or nothing when it is not one complete text.
    std::string Convert(std::string_view input) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string in(input);
        char out[16];
        char* inAt = in.data();
        std::size_t inLeft = in.size();
        char* outAt = out;
        std::size_t outLeft = sizeof out;
        if (iconv(handle_, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return {};
        }
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t handle_;
};

// A UTF-16 text of one character as one wide character; 0 when it is none or more than one.
char16_t OneWide(const std::string& utf16) {
    if (utf16.size() != 2) {
        return 0;
    }
    return static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) |
                                 (static_cast<unsigned char>(utf16[1]) << 8));
}

}  // namespace

const AnsiCodePage& AnsiCodePage::Of(UINT number) {
    static std::map<UINT, std::unique_ptr<AnsiCodePage>> made;
    auto& slot = made[InfoOf(number).number];
    if (!slot) {
        slot.reset(new AnsiCodePage(number));
    }
    return *slot;
}

AnsiCodePage::AnsiCodePage(UINT number) : number_(number), reverse_(0x10000, kNoBytes) {
    const CodePageInfo& info = InfoOf(number);
    for (const auto& range : info.leadBytes) {
        for (unsigned byte = range.first; byte <= range.last; ++byte) {
            lead_[byte] = true;
        }
    }
    Converter toWide("UTF-16LE", info.converterName);
    // A byte that the converter does not know stands for the control character of its number, as
    // Windows maps the unassigned bytes of its code pages.
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char16_t wide =
            lead_[byte] ? 0 : OneWide(toWide.Convert(std::string(1, static_cast<char>(byte))));
        single_[byte] = wide != 0 || byte == 0 ? wide : static_cast<char16_t>(byte);
    }
    if (IsDoubleByte()) {
        double_.assign(0x10000, u'?');
        for (unsigned first = 0; first < 256; ++first) {
            for (unsigned second = lead_[first] ? 0x40 : 256; second < 256; ++second) {
                const char bytes[2] = {static_cast<char>(first), static_cast<char>(second)};
                if (const char16_t wide = OneWide(toWide.Convert(std::string_view(bytes, 2)))) {
                    double_[first * 256 + second] = wide;
                }
            }
        }
    }
    // Back to bytes as the converter maps each wide character, so that of two byte sequences for one
    // character the code page's own choice is taken; a character that only the way in knows goes back
    // to its bytes.
    Converter toBytes(info.converterName, "UTF-16LE");
    for (unsigned wide = 1; wide < 0x10000; ++wide) {
        if (wide >= 0xD800 && wide <= 0xDFFF) {
            continue;
        }
        const char utf16[2] = {static_cast<char>(wide & 0xFF), static_cast<char>(wide >> 8)};
        const std::string bytes = toBytes.Convert(std::string_view(utf16, 2));
        if (bytes.size() == 1) {
            reverse_[wide] = static_cast<unsigned char>(bytes[0]);
        } else if (bytes.size() == 2 && lead_[static_cast<unsigned char>(bytes[0])]) {
            reverse_[wide] = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) * 256 +
                                                        static_cast<unsigned char>(bytes[1]));
        }
    }
    reverse_[0] = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (!lead_[byte] && reverse_[single_[byte]] == kNoBytes) {
            reverse_[single_[byte]] = static_cast<std::uint16_t>(byte);
        }
    }
}

std::size_t AnsiCodePage::CharacterSize(std::string_view text, std::size_t offset) const {
    return lead_[static_cast<unsigned char>(text[offset])] && offset + 1 < text.size() ? 2 : 1;
}

char16_t AnsiCodePage::ToWide(unsigned char first, unsigned char second) const {
    return lead_[first] ? double_[first * 256 + second] : single_[first];
}

std::string AnsiCodePage::ToBytes(char16_t wide) const {
    const std::uint16_t bytes = reverse_[wide];
    if (bytes == kNoBytes) {
        return {};
    }
    if (bytes < 0x100) {
        return std::string(1, static_cast<char>(bytes));
    }
    return std::string{static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)};
}

}  // namespace platform::sim
