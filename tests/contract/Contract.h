// The contract of the platform layer: cases written once against the `platform::` calls, run on the
// in-memory Windows natively and on the real API under Wine, so that both answer alike. A case sets up
// what the layer cannot make by itself (keys, devices, hidden folders, announced changes) through the
// host of its side (ContractHost.h), and checks through the layer only.
//
// The runner is our own, small, and the same on both sides: the Windows build has no test framework.
#pragma once

#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

namespace contract {

using CaseFunction = void (*)();

// Where a case runs: on both sides, or on the in-memory Windows alone, in a world of Windows 98 and Me,
// for what their documentation says and Wine cannot show (Windows9xDocumented.cpp).
enum class Reach { BothSides, Windows9xDocumented };

// Adds a case to the suite; used through CONTRACT_CASE. A case with a code page runs only where the
// system's ANSI code page is that one; one without (0) runs under every code page.
struct Registration {
    Registration(const char* name, CaseFunction run, unsigned codePage = 0, Reach reach = Reach::BothSides);
};

// Records a failed check of the running case (it goes on, as the next checks may say more).
void Fail(const char* file, int line, const std::string& what);

// Ends the running case at once: what follows depends on what failed.
struct Abort {};

// Integers of different widths and signs compare by value, as a reader of the check means them.
template <class T>
inline constexpr bool kNumber = std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>;

template <class A, class B>
bool Equal(const A& a, const B& b) {
    if constexpr (kNumber<A> && kNumber<B>) {
        return std::cmp_equal(a, b);
    } else {
        return a == b;
    }
}

template <class A, class B>
std::string Mismatch(const char* expression, const A& actual, const B& expected) {
    std::ostringstream text;
    text << expression << ": got " << actual << ", expected " << expected;
    return text.str();
}

// The answers of the platform calls come as integers of many widths and as texts; show each readably,
// a text's line breaks, zeros and other control bytes escaped.
inline std::string Shown(const std::string& text) {
    std::ostringstream shown;
    shown << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown << "\\r";
        } else if (c == '\n') {
            shown << "\\n";
        } else if (byte < 0x20 || byte >= 0x7F) {
            shown << "\\x" << std::hex << (byte >> 4) << (byte & 0xF) << std::dec;
        } else {
            shown << c;
        }
    }
    shown << '"';
    return shown.str();
}
inline std::string Shown(const char* text) {
    return text == nullptr ? std::string("(null)") : Shown(std::string(text));
}
template <class T>
auto Shown(const T& value) -> decltype(std::ostringstream() << value, std::string()) {
    std::ostringstream text;
    if constexpr (std::is_integral_v<T> && sizeof(T) >= 4) {
        text << value << " (0x" << std::hex << static_cast<unsigned long long>(value) << ")";
    } else if constexpr (std::is_pointer_v<T>) {
        text << static_cast<const void*>(value);
    } else {
        text << value;
    }
    return text.str();
}

}  // namespace contract

#define CONTRACT_CONCAT2(a, b) a##b
#define CONTRACT_CONCAT(a, b) CONTRACT_CONCAT2(a, b)

// CONTRACT_CASE(Group_WhatItShows) { ... }: the name is what the known differences refer to.
#define CONTRACT_CASE(name) CONTRACT_CASE_IN_CODE_PAGE(0, name)

// A case of one ANSI code page (1252, 932, 950, ...), whose texts are written in its bytes.
#define CONTRACT_CASE_IN_CODE_PAGE(codePage, name)                                      \
    static void CONTRACT_CONCAT(ContractCase_, name)();                                 \
    static const ::contract::Registration CONTRACT_CONCAT(ContractRegistration_, name)( \
        #name, &CONTRACT_CONCAT(ContractCase_, name), codePage);                        \
    static void CONTRACT_CONCAT(ContractCase_, name)()

#define CHECK(condition)                                                   \
    do {                                                                   \
        if (!(condition)) {                                                \
            ::contract::Fail(__FILE__, __LINE__, "not true: " #condition); \
        }                                                                  \
    } while (false)

#define CHECK_EQ(actual, expected)                                                            \
    do {                                                                                      \
        const auto& contractActual = (actual);                                                \
        const auto& contractExpected = (expected);                                            \
        if (!::contract::Equal(contractActual, contractExpected)) {                           \
            ::contract::Fail(__FILE__, __LINE__,                                              \
                             ::contract::Mismatch(#actual, ::contract::Shown(contractActual), \
                                                  ::contract::Shown(contractExpected)));      \
        }                                                                                     \
    } while (false)

// As CHECK, but the case cannot go on without it.
#define REQUIRE(condition)                                                 \
    do {                                                                   \
        if (!(condition)) {                                                \
            ::contract::Fail(__FILE__, __LINE__, "required: " #condition); \
            throw ::contract::Abort{};                                     \
        }                                                                  \
    } while (false)
