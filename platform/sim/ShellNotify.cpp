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
// and the items right below it, and when `recursive` (a recursive entry, for an event from a level
// that reaches the subtree) also those further down. An event without an item concerns the whole
// namespace.
bool Watches(const SHChangeNotifyEntry& entry, const std::optional<std::vector<BYTE>>& item, bool recursive) {
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
    return (entry.fRecursive != 0 && recursive) || FirstItemSize(below) == ItemIdListSize(below);
}

// The bytes of a list without its terminator, and without its last item: the folder that holds it.
std::vector<BYTE> BytesOf(LPCITEMIDLIST list) {
    const auto* bytes = reinterpret_cast<const BYTE*>(list);
    return std::vector<BYTE>(bytes, bytes + ItemIdListSize(list));
}

std::optional<std::vector<BYTE>> FolderOf(const std::optional<std::vector<BYTE>>& item) {
    if (!item || item->empty()) {
        return std::nullopt;
    }
    std::vector<BYTE> list = *item;
    list.insert(list.end(), {0, 0});
    UINT folderSize = 0;
    for (auto at = reinterpret_cast<LPCITEMIDLIST>(list.data()); FirstItemSize(NextItem(at)) != 0;
         at = NextItem(at)) {
        folderSize += FirstItemSize(at);
    }
    return std::vector<BYTE>(item->begin(), item->begin() + folderSize);
}

// Events about one item of a folder, which the shell may merge into one about the folder; a medium's
// events are about a drive as such.
bool IsItemEvent(LONG event) {
    return (event & (SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED | SHCNE_UPDATEDIR)) == 0;
}

}  // namespace

// The shell's lists, which it frees once the message is done with.
sim::PostedNotification sim::ShellNamespace::Posting(const NotifyRegistration& registration, DWORD code,
                                                     const std::optional<std::vector<BYTE>>& list1,
                                                     const std::optional<std::vector<BYTE>>& list2) {
    auto items = std::shared_ptr<std::array<LPITEMIDLIST, 2>>(
        new std::array<LPITEMIDLIST, 2>{list1 ? AllocateList(*list1) : nullptr,
                                        list2 ? AllocateList(*list2) : nullptr},
        [allocator = &taskAllocator](std::array<LPITEMIDLIST, 2>* lists) {
            allocator->Free((*lists)[0]);
            allocator->Free((*lists)[1]);
            delete lists;
        });
    // As the shell posts it: the event code as a signed 32-bit value.
    return PostedNotification{registration.window, registration.message, std::move(items),
                              static_cast<LPARAM>(static_cast<LONG>(code))};
}

// Whether the event joins the waiting ones about its folder, merged into one SHCNE_UPDATEDIR: so when
// `mergeFrom` of them wait for the registration, or their merged event already does.
bool sim::ShellNamespace::Merges(const NotifyRegistration& registration, LONG event,
                                 const std::optional<std::vector<BYTE>>& list1, DWORD interrupt) {
    const auto folder = FolderOf(list1);
    if (!IsItemEvent(event) || !folder) {
        return false;
    }
    const auto aboutFolder = [&](const PostedNotification& waiting, bool merged) {
        const LONG waitingEvent = static_cast<LONG>(static_cast<DWORD>(waiting.lParam) & ~SHCNE_INTERRUPT);
        const LPCITEMIDLIST first = (*waiting.items)[0];
        if (waiting.window != registration.window || waiting.message != registration.message ||
            first == nullptr) {
            return false;
        }
        return merged ? waitingEvent == SHCNE_UPDATEDIR && BytesOf(first) == *folder
                      : IsItemEvent(waitingEvent) && FolderOf(BytesOf(first)) == folder;
    };
    if (std::any_of(posted.begin(), posted.end(),
                    [&](const auto& waiting) { return aboutFolder(waiting, true); })) {
        return true;
    }
    const auto waiting = static_cast<std::size_t>(
        std::count_if(posted.begin(), posted.end(), [&](const auto& w) { return aboutFolder(w, false); }));
    if (waiting < mergeFrom) {
        return false;
    }
    std::erase_if(posted, [&](const auto& w) { return aboutFolder(w, false); });
    if ((registration.events & SHCNE_UPDATEDIR) != 0) {
        posted.push_back(Posting(registration, static_cast<DWORD>(SHCNE_UPDATEDIR) | interrupt, folder, {}));
    }
    return true;
}

int sim::ShellNamespace::Notify(LONG event, std::string_view item1, std::string_view item2, bool interrupt) {
    const auto list1 = item1.empty() ? std::nullopt : NotifiedList(item1);
    const auto list2 = item2.empty() ? std::nullopt : NotifiedList(item2);
    const int source = interrupt ? SHCNRF_InterruptLevel : SHCNRF_ShellLevel;
    const DWORD interruptBit = interrupt ? SHCNE_INTERRUPT : 0;
    int count = 0;
    for (const auto& registration : registrations) {
        const bool subtree = !interrupt || (registration.sources & SHCNRF_RecursiveInterrupt) != 0;
        const bool watched =
            std::any_of(registration.entries.begin(), registration.entries.end(),
                        [&](const SHChangeNotifyEntry& entry) { return Watches(entry, list1, subtree); });
        if ((registration.events & event) == 0 || (registration.sources & source) == 0 || !watched ||
            Merges(registration, event, list1, interruptBit)) {
            continue;
        }
        posted.push_back(Posting(registration, static_cast<DWORD>(event) | interruptBit, list1, list2));
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
