// Wide and ANSI text on the real API. Our wide characters are Windows' own 16-bit ones.
#include "platform/CodePage.h"

#include <windows.h>

namespace platform {

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR text, int size,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
    return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<LPCWCH>(wideText), wideLength, text, size,
                                 defaultChar, usedDefaultChar);
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wideText, int wideSize) {
    return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<::LPWSTR>(wideText),
                                 wideSize);
}

UINT GetACP() {
    return ::GetACP();
}

BOOL IsDBCSLeadByte(BYTE testChar) {
    return ::IsDBCSLeadByte(testChar);
}

LPSTR CharNextA(LPCSTR current) {
    return ::CharNextA(current);
}

LPSTR CharPrevA(LPCSTR start, LPCSTR current) {
    return ::CharPrevA(start, current);
}

DWORD CharLowerBuffA(LPSTR text, DWORD length) {
    return ::CharLowerBuffA(text, length);
}

DWORD CharUpperBuffA(LPSTR text, DWORD length) {
    return ::CharUpperBuffA(text, length);
}

}  // namespace platform
