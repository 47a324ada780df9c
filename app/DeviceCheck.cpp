// The FIR controller's presence among the Plug and Play devices, and the diagnostic lines that tell
// what the search saw.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "app/DeviceCheck.h"
#include "app/Texts.h"
#include "app/Unit2.h"
#include "framework/MissingModule.h"
#include "platform/AsciiCase.h"
#include "platform/HandleOwners.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "platform/SetupApi.h"

using namespace platform;

namespace {

constexpr DWORD kPropertyBufferSize = 800;
constexpr DWORD kFirstReadSize = 200;  // announced for every device's first read
constexpr int kRetryLimit = 500;       // ERROR_INSUFFICIENT_BUFFER answers, for the whole search

enum class ReadResult { Read, NoHardwareIds, Failed };

// Reads one device's hardware-ID list into the buffer, asking again with the size the system reports.
// `announced` ends as the byte count of the list. A list that needs more than the buffer holds is
// passed over, as is every list once the search has used up its retries: the buffer then still holds
// the empty list, and `announced` the size last reported.
ReadResult ReadHardwareIds(HDEVINFO set, SP_DEVINFO_DATA& element, char* buffer, DWORD& announced,
                           int& retries) {
    buffer[0] = '\0';
    announced = kFirstReadSize;
    DWORD type = 0;
    while (!SetupDiGetDeviceRegistryPropertyA(set, &element, SPDRP_HARDWAREID, &type,
                                              reinterpret_cast<BYTE*>(buffer), announced, &announced)) {
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_DATA) {
            return ReadResult::NoHardwareIds;
        }
        if (error != ERROR_INSUFFICIENT_BUFFER) {
            ReportLastError("GetDeviceRegistryProperty");
            return ReadResult::Failed;
        }
        if (++retries > kRetryLimit || announced > kPropertyBufferSize) {
            return ReadResult::Read;
        }
    }
    return ReadResult::Read;
}

// The system's text for an error, in the user's language, as it gives it: with its own line break at
// the end. Its inserts stay as written: there is nothing to put in them, and reading arguments that
// were never passed would fail. Empty when the system has no text; the last error is left as it was.
std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0x400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) {
        LocalFree(text);
    }
    SetLastError(error);
    return message;
}

std::string ErrorCodeText(DWORD error) {
    char code[16];
    std::snprintf(code, sizeof code, "(0x%08x)", static_cast<unsigned>(error));
    return code;
}

}  // namespace

bool ReportLastError(const char* stepName) {
    const DWORD error = GetLastError();
    const std::string message = SystemMessage(error);
    // The system's text ends in its own line break.
    const std::string shown = message.empty() ? ErrorCodeText(error) : message;
    platform::printf("%s FAILURE: %s\n", stepName, shown.c_str());
    return false;
}

std::string ReasonText(DWORD error) {
    std::string message = SystemMessage(error);
    // Line breaks are single bytes below any trail byte of a double-byte character: they are cut from
    // the end without looking at the characters before them.
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) {
        message.pop_back();
    }
    return message.empty() ? ErrorCodeText(error) : message;
}

void EndWithReason(const std::string& what, DWORD error, UINT exitCode) {
    ShowMessage(what + "\n" + ReasonText(error));
    ExitProcess(exitCode);
}

bool WalkHardwareIdList(const char* list, std::uint32_t size, const char* hardwareId) {
    const char* const end = list + size;
    for (const char* entry = list; entry < end && *entry != '\0';) {
        const auto length = static_cast<int>(strnlen(entry, static_cast<std::size_t>(end - entry)));
        platform::printf("Compare device ID: [%.*s]\n", length, entry);
        if (EqualsIgnoringAsciiCase(std::string_view(entry, static_cast<std::size_t>(length)), hardwareId)) {
            platform::printf("Found! [%.*s]\n", length, entry);
            return true;
        }
        entry += length + 1;
    }
    return false;
}

bool FindFirDevice(TForm2* wizard, const char* hardwareId) {
    EndIfModuleMissing(LoadSetupApi(), kCannotOpenSetupApi, kCannotLinkSetupApi);
    const HDEVINFO present =
        SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (present == INVALID_HANDLE_VALUE) {
        return ReportLastError("GetClassDevs(All Present Devices)");
    }
    const OwnedDeviceInfoSet set(present);
    platform::printf("Search for Device ID: [%s]\n", hardwareId);
    bool found = false;
    bool readFailed = false;
    SP_DEVINFO_DATA element{};
    element.cbSize = sizeof(SP_DEVINFO_DATA);
    DWORD announced = kFirstReadSize;
    int retries = 0;
    auto buffer = std::make_unique<char[]>(kPropertyBufferSize);
    for (DWORD index = 0; !found && SetupDiEnumDeviceInfo(set.get(), index, &element); ++index) {
        const auto read = ReadHardwareIds(set.get(), element, buffer.get(), announced, retries);
        if (read == ReadResult::Failed) {
            readFailed = true;
            break;
        }
        // A size reported for a list the buffer could not take never stretches the walk past the buffer.
        found = read == ReadResult::Read &&
                WalkHardwareIdList(buffer.get(), std::min(announced, kPropertyBufferSize), hardwareId);
    }
    if (!readFailed) {
        // The ordinary end of the enumeration leaves ERROR_NO_MORE_ITEMS: a search that does not find
        // the device always says so. One that found it has no failure to tell, whatever error a call
        // that succeeded left behind (Wine's property read leaves one).
        if (!found && GetLastError() != 0) {
            ReportLastError("EnumDeviceInfo");
        }
        // Its answer changes nothing here; it is left as the last error for the install's log.
        if (wizard->OsKind == TOsKind::Windows98 && found && SetupDiRemoveDevice(set.get(), &element)) {
            SetLastError(ERROR_SUCCESS);
        }
    }
    return found || GetLastError() == 0;
}
