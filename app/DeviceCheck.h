// The FIR controller's presence among the Plug and Play devices, and the diagnostic lines that tell
// what the search saw.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

class TForm2;

// Whether a device with `hardwareId` among its hardware IDs is present; on Windows 98 it also removes
// the device instance it found. Prints its search on standard output. The last error on return is the
// one the search ended with, or on Windows 98 the removal's answer (0 when the instance went).
bool FindFirDevice(TForm2* wizard, const char* hardwareId);
// Prints "<step> FAILURE: <the system's text for the last error>"; always false, the last error kept.
bool ReportLastError(const char* stepName);
// The system's text for `error` as a message box shows it, without its closing line break; its code as
// "(0x%08x)" when the system has no text, as the diagnostic line gives it. The last error is kept.
std::string ReasonText(platform::DWORD error);
// Ends the program after a message box with `what` and, on a line of its own, ReasonText(error).
[[noreturn]] void EndWithReason(const std::string& what, platform::DWORD error, platform::UINT exitCode);
// Walks a hardware-ID list of `size` bytes, printing each entry, and tells whether one of them is
// `hardwareId` as a whole, ignoring case. Never reads past `size` bytes, terminated or not.
bool WalkHardwareIdList(const char* list, std::uint32_t size, const char* hardwareId);
