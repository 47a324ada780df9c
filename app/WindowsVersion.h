// The Windows release the program runs on, told by the version strings in the registry.
#pragma once

#include <cstdint>

// The Windows version class. The numbers are fixed: the wizard has always told the releases by them.
enum class TOsKind : std::int32_t {
    NotRecognised = 0,
    Windows98 = 1,
    WindowsMe = 2,  // Windows Millennium Edition
    Windows2000 = 3,
    WindowsNt4 = 4,
    WindowsNt351 = 5,
    WindowsXp = 6,
};

// The Windows version class, read from the registry; never fails.
TOsKind ClassifyWindowsVersion();
