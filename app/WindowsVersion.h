// The Windows release the program runs on, told by the version strings in the registry.
#pragma once

#include <cstdint>

// The Windows version class, read from the registry: 0 not recognised, 1 Windows 98, 2 Windows
// Millennium Edition, 3 Windows 2000, 4 Windows NT 4.0, 5 Windows NT 3.51, 6 Windows XP.
std::int32_t ClassifyWindowsVersion();
