// Wide (UTF-16) text and the system's ANSI code page: the shell answers names in wide characters, and
// the program works in ANSI.
#pragma once

#include "platform/Types.h"

namespace platform {

using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;

inline constexpr UINT CP_ACP = 0;

// Both as Windows has them: a length of -1 means "up to and including the terminating zero"; an
// output size of 0 asks for the size needed. A character that the code page lacks becomes the
// default character ('?'), and `usedDefaultChar` says so.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR text, int size,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wideText, int wideSize);

}  // namespace platform
