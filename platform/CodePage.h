// Wide (UTF-16) text and the system's ANSI code page: the shell answers names in wide characters, and
// the program works in ANSI. In the East Asian code pages (932 Shift-JIS, 936 GBK, 949 Korean, 950 Big5)
// a character takes one byte or two, and the second byte of two may be a backslash or an ASCII letter:
// such a text is only ever stepped through, split or given another case by its characters.
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

// The system's ANSI code page: 1252 on a Western European Windows, 932, 936, 949 or 950 on an East Asian one.
UINT GetACP();

// Whether the byte begins a character of two bytes in the system's ANSI code page.
BOOL IsDBCSLeadByte(BYTE testChar);

// The character after the one at `current` (`current` itself at the terminating zero), and the one
// before it, no further back than `start`. A first byte with the zero after it counts as one character.
LPSTR CharNextA(LPCSTR current);
LPSTR CharPrevA(LPCSTR start, LPCSTR current);

// The letters of `length` bytes in lower or upper case, in place, by the system's code page; answers the
// bytes looked at.
DWORD CharLowerBuffA(LPSTR text, DWORD length);
DWORD CharUpperBuffA(LPSTR text, DWORD length);

}  // namespace platform
