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

}  // namespace platform
