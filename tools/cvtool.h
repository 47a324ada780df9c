// Small helpers shared by the Windows test tools: error reporting, text
// escaping and the multi-string lists that SetupAPI uses.
#pragma once

#ifdef UNICODE
#error "The tools are ANSI programs, as cvfir itself is: build them without UNICODE."
#endif

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace cvtool {

// Exit codes every tool uses, so that a scenario can tell "the check failed"
// from "the thing never showed up" and from "the script called it wrongly".
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kTimedOut = 2;
constexpr int kUsage = 3;

// One line on standard output, flushed at once: a scenario reads it while the tool still runs.
inline void Print(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// A text made like printf's, cut at 2 KiB.
inline std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string Format(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Prints "tool: what: error N (system text)" on stderr and returns `code`, so
// that a failure is reported and returned in one expression.
inline int Fail(int code, const char* what, DWORD error) {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    for (char* p = text; *p; ++p) {
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    }
    std::fprintf(stderr, "%s: error %lu (%s)\n", what, static_cast<unsigned long>(error), text);
    std::fflush(stderr);
    return code;
}

inline int FailLastError(const char* what) {
    return Fail(kFailed, what, GetLastError());
}

// Prints a message on stderr and returns `code`.
inline int Complain(int code, const char* message) {
    std::fprintf(stderr, "%s\n", message);
    std::fflush(stderr);
    return code;
}

// Makes a window or control text printable on one line between double
// quotes: line breaks and tabs become \r, \n, \t and a quote becomes \".
// Backslashes stay as they are, so that paths read naturally.
inline std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Builds a REG_MULTI_SZ block: each item ends with a NUL, the list with one more.
inline std::string ToMultiSz(const std::vector<std::string>& items) {
    std::string block;
    for (const std::string& item : items) {
        block += item;
        block += '\0';
    }
    block += '\0';
    return block;
}

// Splits a REG_MULTI_SZ block of `bytes` bytes; stops at the empty item or at
// the end of the buffer, whichever comes first, so a block without its final
// NUL cannot be read past.
inline std::vector<std::string> FromMultiSz(const char* block, size_t bytes) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < bytes && block[pos] != '\0') {
        size_t end = pos;
        while (end < bytes && block[end] != '\0')
            ++end;
        items.emplace_back(block + pos, end - pos);
        pos = end + 1;
    }
    return items;
}

inline std::string Join(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += separator;
        out += items[i];
    }
    return out;
}

inline std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                  guid.Data4[7]);
    return text;
}

// The Infrared device setup class, in which the FIR controller is enumerated.
inline constexpr GUID kInfraredClassGuid = {
    0x6BDD1FC5, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};

}  // namespace cvtool
