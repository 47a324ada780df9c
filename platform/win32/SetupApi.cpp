// The device installation services' records and flags, checked against Windows' own: the program hands
// them to setupapi.dll as they stand.
#include "platform/SetupApi.h"

// Windows' headers make the flags' names macros: our values are taken before they are read.
namespace {
constexpr auto kPresent = platform::DIGCF_PRESENT;
constexpr auto kAllClasses = platform::DIGCF_ALLCLASSES;
constexpr auto kHardwareId = platform::SPDRP_HARDWAREID;
constexpr auto kSourcePathAbsolute = platform::SP_COPY_SOURCEPATH_ABSOLUTE;
}  // namespace

#include <windows.h>
#include <setupapi.h>

// The program sets cbSize itself, to the size Windows checks: 28 bytes in a 32-bit process.
static_assert(sizeof(platform::SP_DEVINFO_DATA) == sizeof(::SP_DEVINFO_DATA));
static_assert(sizeof(void*) != 4 || sizeof(::SP_DEVINFO_DATA) == 28);
static_assert(sizeof(platform::GUID) == sizeof(::GUID));
static_assert(sizeof(platform::HDEVINFO) == sizeof(::HDEVINFO));
static_assert(kPresent == DIGCF_PRESENT && kAllClasses == DIGCF_ALLCLASSES);
static_assert(kHardwareId == SPDRP_HARDWAREID && kSourcePathAbsolute == SP_COPY_SOURCEPATH_ABSOLUTE);
