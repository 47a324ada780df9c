// shell32.dll of the in-memory Windows: the change-notification registrations, reached by ordinal.
#include <algorithm>

#include "platform/sim/World.h"

namespace platform {

namespace {

ULONG CV_WINAPI SHChangeNotifyRegister(HWND hwnd, int fSources, LONG fEvents, UINT wMsg, int cEntries,
                                       SHChangeNotifyEntry* pshcne) {
    auto& shell = sim::TheWorld().shell;
    sim::TheWorld().Trace("SHChangeNotifyRegister");
    if (shell.registrationFails) {
        return 0;
    }
    sim::NotifyRegistration registration{shell.nextRegistrationId++, hwnd, fSources, fEvents, wMsg, {}};
    registration.entries.assign(pshcne, pshcne + std::max(cEntries, 0));
    shell.registrations.push_back(registration);
    return registration.id;
}

BOOL CV_WINAPI SHChangeNotifyDeregister(ULONG ulID) {
    auto& registrations = sim::TheWorld().shell.registrations;
    sim::TheWorld().Trace("SHChangeNotifyDeregister " + std::to_string(ulID));
    const auto before = registrations.size();
    std::erase_if(registrations, [ulID](const sim::NotifyRegistration& r) { return r.id == ulID; });
    return registrations.size() != before ? 1 : 0;
}

}  // namespace

void sim::World::InstallShell32() {
    Module shell32;
    shell32.entryPoints["#" + std::to_string(SHCHANGENOTIFYREGISTER_ORDINAL)] =
        reinterpret_cast<FARPROC>(&SHChangeNotifyRegister);
    shell32.entryPoints["#" + std::to_string(SHCHANGENOTIFYDEREGISTER_ORDINAL)] =
        reinterpret_cast<FARPROC>(&SHChangeNotifyDeregister);
    modules[FileSystem::Normalize(systemDirectory + "\\shell32.dll")] = std::move(shell32);
}

}  // namespace platform
