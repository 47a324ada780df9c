// shell32.dll of the in-memory Windows: the change-notification registrations, reached by ordinal.
#include <algorithm>
#include <cstring>

#include "platform/ItemIdList.h"
#include "platform/sim/ShellItems.h"

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

// Whether an entry watches the item: the entry's folder (the desktop for an entry without a list)
// and the items right below it, and with fRecursive also those further down. An event without an item
// concerns the whole namespace.
bool Watches(const SHChangeNotifyEntry& entry, const std::optional<std::vector<BYTE>>& item) {
    if (!item) {
        return entry.pidl == nullptr;
    }
    std::vector<BYTE> list = *item;
    list.insert(list.end(), {0, 0});
    const UINT folderSize = ItemIdListSize(entry.pidl);
    if (item->size() < folderSize ||
        (folderSize != 0 && std::memcmp(list.data(), entry.pidl, folderSize) != 0)) {
        return false;
    }
    const auto* below = reinterpret_cast<LPCITEMIDLIST>(list.data() + folderSize);
    return entry.fRecursive != 0 || FirstItemSize(below) == ItemIdListSize(below);
}

}  // namespace

int sim::ShellNamespace::Notify(LONG event, std::string_view item1, std::string_view item2, bool interrupt) {
    const auto list1 = item1.empty() ? std::nullopt : NotifiedList(item1);
    const auto list2 = item2.empty() ? std::nullopt : NotifiedList(item2);
    const int source = interrupt ? SHCNRF_InterruptLevel : SHCNRF_ShellLevel;
    const DWORD code = static_cast<DWORD>(event) | (interrupt ? SHCNE_INTERRUPT : 0);
    int count = 0;
    for (const auto& registration : registrations) {
        const bool watched =
            std::any_of(registration.entries.begin(), registration.entries.end(),
                        [&](const SHChangeNotifyEntry& entry) { return Watches(entry, list1); });
        if ((registration.events & event) == 0 || (registration.sources & source) == 0 || !watched) {
            continue;
        }
        // The shell's lists, which it frees once the message is done with.
        auto items = std::shared_ptr<std::array<LPITEMIDLIST, 2>>(
            new std::array<LPITEMIDLIST, 2>{list1 ? AllocateList(*list1) : nullptr,
                                            list2 ? AllocateList(*list2) : nullptr},
            [allocator = &taskAllocator](std::array<LPITEMIDLIST, 2>* lists) {
                allocator->Free((*lists)[0]);
                allocator->Free((*lists)[1]);
                delete lists;
            });
        // As the shell posts it: the event code as a signed 32-bit value.
        posted.push_back(PostedNotification{registration.window, registration.message, std::move(items),
                                            static_cast<LPARAM>(static_cast<LONG>(code))});
        ++count;
    }
    return count;
}

void sim::World::InstallShell32() {
    Module shell32;
    shell32.Add("#" + std::to_string(SHCHANGENOTIFYREGISTER_ORDINAL), &SHChangeNotifyRegister);
    shell32.Add("#" + std::to_string(SHCHANGENOTIFYDEREGISTER_ORDINAL), &SHChangeNotifyDeregister);
    modules[SystemPath("shell32.dll")] = std::move(shell32);
}

}  // namespace platform
