// cvreglink: gives a Wine prefix the key HKLM\SYSTEM\ControlSet001.
//
// Windows keeps its control sets as ControlSet00N and shows the current one as
// CurrentControlSet; cvfir writes the transceiver type through ControlSet001.
// Wine has only CurrentControlSet, as an ordinary key, so ControlSet001 is
// made a registry link to it. Running the tool again is harmless: an existing
// link is checked, not made twice.
#include "cvtool.h"

#include <cwchar>

namespace {

constexpr wchar_t kLinkKey[] = L"SYSTEM\\ControlSet001";
constexpr wchar_t kLinkValue[] = L"SymbolicLinkValue";
constexpr wchar_t kTarget[] = L"\\Registry\\Machine\\System\\CurrentControlSet";
// A key that exists in every prefix, read through the link to prove it resolves.
constexpr char kProbeKey[] = "SYSTEM\\ControlSet001\\Control\\Class";

enum class LinkState { kMissing, kLinked, kSomethingElse };

LinkState CurrentState() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLinkKey, REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return LinkState::kMissing;
    }
    wchar_t target[256] = L"";
    DWORD type = 0;
    DWORD size = sizeof target - sizeof(wchar_t);
    const LSTATUS status =
        RegQueryValueExW(key, kLinkValue, nullptr, &type, reinterpret_cast<BYTE*>(target), &size);
    RegCloseKey(key);
    const bool linked = status == ERROR_SUCCESS && type == REG_LINK &&
                        size == std::wcslen(kTarget) * sizeof(wchar_t) &&
                        std::wmemcmp(target, kTarget, std::wcslen(kTarget)) == 0;
    return linked ? LinkState::kLinked : LinkState::kSomethingElse;
}

int MakeLink() {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLinkKey, 0, nullptr, REG_OPTION_CREATE_LINK,
                                     KEY_CREATE_LINK | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return cvtool::Fail(cvtool::kFailed, "RegCreateKeyExW(REG_OPTION_CREATE_LINK)", status);
    // The link target is counted without its terminating NUL.
    status = RegSetValueExW(key, kLinkValue, 0, REG_LINK, reinterpret_cast<const BYTE*>(kTarget),
                            static_cast<DWORD>(std::wcslen(kTarget) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return cvtool::Fail(cvtool::kFailed, "RegSetValueExW(SymbolicLinkValue)", status);
    return cvtool::kOk;
}

int CheckLinkResolves() {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProbeKey, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS)
        return cvtool::Fail(cvtool::kFailed, "opening HKLM\\SYSTEM\\ControlSet001\\Control\\Class", status);
    RegCloseKey(key);
    return cvtool::kOk;
}

}  // namespace

int main(int argc, char**) {
    if (argc != 1)
        return cvtool::Complain(cvtool::kUsage, "usage: cvreglink");
    switch (CurrentState()) {
        case LinkState::kSomethingElse:
            return cvtool::Complain(
                cvtool::kFailed, "HKLM\\SYSTEM\\ControlSet001 exists and is not a link to CurrentControlSet");
        case LinkState::kMissing:
            if (int rc = MakeLink(); rc != cvtool::kOk)
                return rc;
            std::printf("linked HKLM\\SYSTEM\\ControlSet001 to CurrentControlSet\n");
            break;
        case LinkState::kLinked:
            std::printf("HKLM\\SYSTEM\\ControlSet001 already links to CurrentControlSet\n");
            break;
    }
    std::fflush(stdout);
    return CheckLinkResolves();
}
