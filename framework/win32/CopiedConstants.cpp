// The constants that the framework's portable headers copy from Windows, checked against the SDK of the
// cross compiler (see platform/win32/CopiedConstants.cpp for how). The framework's own numberings (modal
// results, cursors, font styles, border icons) are no copies and are mapped by the backend.
#include <cstdint>

#include "framework/Backend.h"
#include "framework/Classes.h"
#include "framework/Dialogs.h"

#define CV_COPIED_CONSTANTS(X) \
    X(MB_OK)                   \
    X(MB_OKCANCEL)             \
    X(MB_YESNO)                \
    X(MB_ICONSTOP)             \
    X(MB_ICONQUESTION)         \
    X(MB_ICONEXCLAMATION)      \
    X(MB_ICONINFORMATION)      \
    X(ANSI_CHARSET)            \
    X(DEFAULT_CHARSET)         \
    X(SHIFTJIS_CHARSET)        \
    X(CHINESEBIG5_CHARSET)

#define CV_TAKE_OURS(name) constexpr std::uint32_t kOurs_##name = static_cast<std::uint32_t>(::name);
namespace {
CV_COPIED_CONSTANTS(CV_TAKE_OURS)
// A system colour is its index with the high bit; a plain one is 0x00BBGGRR.
constexpr std::uint32_t kOurs_clMenu = static_cast<std::uint32_t>(clMenu);
constexpr std::uint32_t kOurs_clWindow = static_cast<std::uint32_t>(clWindow);
constexpr std::uint32_t kOurs_clWindowText = static_cast<std::uint32_t>(clWindowText);
constexpr std::uint32_t kOurs_clInactiveBorder = static_cast<std::uint32_t>(clInactiveBorder);
constexpr std::uint32_t kOurs_clBtnFace = static_cast<std::uint32_t>(clBtnFace);
constexpr std::uint32_t kOurs_clInactiveCaptionText = static_cast<std::uint32_t>(clInactiveCaptionText);
constexpr std::uint32_t kOurs_clInfoBk = static_cast<std::uint32_t>(clInfoBk);
constexpr std::uint32_t kOurs_clBlack = static_cast<std::uint32_t>(clBlack);
constexpr std::uint32_t kOurs_clBlue = static_cast<std::uint32_t>(clBlue);
constexpr std::uint32_t kOurs_clWhite = static_cast<std::uint32_t>(clWhite);
}  // namespace
#undef CV_TAKE_OURS

#include <windows.h>

namespace {

#define CV_COMPARE_WITH_SDK(name) \
    static_assert(kOurs_##name == static_cast<std::uint32_t>(name), #name " differs from the SDK's value");
CV_COPIED_CONSTANTS(CV_COMPARE_WITH_SDK)
#undef CV_COMPARE_WITH_SDK

constexpr std::uint32_t SystemColor(int index) {
    return 0x80000000u | static_cast<std::uint32_t>(index);
}
static_assert(kOurs_clMenu == SystemColor(COLOR_MENU));
static_assert(kOurs_clWindow == SystemColor(COLOR_WINDOW));
static_assert(kOurs_clWindowText == SystemColor(COLOR_WINDOWTEXT));
static_assert(kOurs_clInactiveBorder == SystemColor(COLOR_INACTIVEBORDER));
static_assert(kOurs_clBtnFace == SystemColor(COLOR_BTNFACE));
static_assert(kOurs_clInactiveCaptionText == SystemColor(COLOR_INACTIVECAPTIONTEXT));
static_assert(kOurs_clInfoBk == SystemColor(COLOR_INFOBK));
static_assert(kOurs_clBlack == RGB(0, 0, 0) && kOurs_clBlue == RGB(0, 0, 255) &&
              kOurs_clWhite == RGB(255, 255, 255));

}  // namespace
