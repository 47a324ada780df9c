// The shell namespace of the in-memory Windows. It is built on the world's own files and folders, so a
// folder made through the platform shows up in it at once:
//
//   Desktop (its file-system path is `desktopDirectory`)
//     My Computer: the drives, then a Control Panel item outside the file system
//       C:\ and the other drives: their folders and files, as in `files`
//     Network Neighborhood: the computers of `network`, each with its shares
//     Recycle Bin
//     the folders and files of `desktopDirectory`
//
// An item is found by its key: the path of a file-system item as its names were written ("C:\WINDOWS"),
// "\\SERVER" and "\\SERVER\share" on the network, and the constants below for the virtual items. A
// test sets what it needs of an item through Item(key): how each of its names is answered, attributes,
// icons, failures.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Shell.h"
#include "platform/Window.h"

namespace platform::sim {

// How a folder answers one name of an item through GetDisplayNameOf.
enum class NameForm {
    Wide,               // STRRET_WSTR with a string from the task allocator (what Windows mostly does)
    WideWithoutString,  // STRRET_WSTR without a string, and S_OK
    Offset,             // STRRET_OFFSET at the name stored in the item's own ID bytes
    CStr,               // STRRET_CSTR
    Fails,              // E_FAIL, the STRRET untouched
    UnknownType,        // S_OK with a uType that is none of the three
};

struct NameAnswer {
    std::optional<std::string> text;         // ANSI; none: the namespace's own name for the item
    std::optional<std::u16string> wideText;  // a wide answer as such (characters the code page lacks)
    NameForm form = NameForm::Wide;
};

struct ItemSettings {
    NameAnswer normal;            // SHGDN_NORMAL
    NameAnswer parsing;           // SHGDN_FORPARSING
    NameAnswer inFolder;          // SHGDN_INFOLDER
    SFGAOF addAttributes = 0;     // SFGAO_SHARE, SFGAO_LINK, or a HASSUBFOLDER the item does not have
    SFGAOF removeAttributes = 0;  // SFGAO_FILESYSTEM, SFGAO_HASSUBFOLDER, ...
    bool hidden = false;          // listed only with SHCONTF_INCLUDEHIDDEN
    std::optional<int> icon;      // index in the system image list
    std::optional<int> openIcon;  // the same, with SHGFI_OPENICON
    std::string label;            // a drive's volume label: its name is "LABEL (C:)"
    bool attributesFail = false;  // GetAttributesOf for this item fails
    bool bindFails = false;       // BindToObject of this item fails
    bool enumFails = false;       // EnumObjects of this item's own folder fails
    // EnumObjects of this item's own folder answers S_FALSE without an enumerator when it lists
    // nothing, as some folders do.
    bool noneIsSFalse = false;
    bool enumRaises = false;  // its enumerator raises, as a faulty shell extension does
};

struct NetworkComputer {
    std::string name;
    std::vector<std::string> shares;
};

// The COM task allocator. It counts what it hands out and what comes back, so that a test proves that
// nothing leaks and nothing is freed twice; a block freed at the end of the world counts as leaked.
class TaskAllocator final : public IMalloc {
public:
    TaskAllocator() = default;
    TaskAllocator(const TaskAllocator&) = delete;
    TaskAllocator& operator=(const TaskAllocator&) = delete;
    ~TaskAllocator();

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return --references_; }  // it lives as long as the world
    void* Alloc(SIZE_T cb) override;
    void* Realloc(void* pv, SIZE_T cb) override;
    void Free(void* pv) override;
    SIZE_T GetSize(void* pv) override;
    int DidAlloc(void* pv) override;
    void HeapMinimize() override {}

    int Allocations() const { return allocations_; }
    int Frees() const { return frees_; }
    std::size_t Live() const { return blocks_.size(); }
    // Frees of a block that the allocator did not hand out, or that was freed already.
    int StrayFrees() const { return strayFrees_; }
    ULONG References() const { return references_; }

private:
    std::unordered_map<void*, SIZE_T> blocks_;
    int allocations_ = 0;
    int frees_ = 0;
    int strayFrees_ = 0;
    ULONG references_ = 0;
};

struct NotifyRegistration {
    ULONG id;
    HWND window;
    int sources;
    LONG events;
    UINT message;
    std::vector<SHChangeNotifyEntry> entries;
};

// A change notification that the shell posted to a registered window and that the thread's message
// loop has not delivered yet. wParam points to the event's two item ID lists (null for an item the
// event does not have), blocks of the task allocator that stay the shell's: it frees them itself once
// the message has been handled (when the last copy of this goes), as Wine's shell does, so a window
// that frees them too frees each twice. lParam is the event code, with SHCNE_INTERRUPT when it came
// from the interrupt level.
struct PostedNotification {
    HWND window;
    UINT message;
    std::shared_ptr<std::array<LPITEMIDLIST, 2>> items;
    LPARAM lParam;
    WPARAM WParam() const { return reinterpret_cast<WPARAM>(items->data()); }
};

class ShellNamespace {
public:
    static constexpr std::string_view kDesktop = "::Desktop";
    static constexpr std::string_view kMyComputer = "::MyComputer";
    static constexpr std::string_view kControlPanel = "::ControlPanel";
    static constexpr std::string_view kRecycleBin = "::RecycleBin";
    static constexpr std::string_view kNetworkNeighborhood = "::NetworkNeighborhood";

    std::string desktopDirectory = "C:\\WINDOWS\\Desktop";
    // My Computer's drives in the shell's order; empty: every drive of the file system, A to Z.
    std::vector<char> drives;
    bool controlPanel = true;
    // The shell of Windows 98 and Me answers every name in ANSI, never STRRET_WSTR: a name kept in the
    // item's own ID bytes as STRRET_OFFSET, any other as STRRET_CSTR.
    bool ansiNames = false;
    std::vector<NetworkComputer> network;
    // Folders list their children in reverse name order, so that a test sees the control sort them.
    bool reverseOrder = false;
    // Special-folder numbers for which SHGetSpecialFolderLocation fails.
    std::set<int> missingSpecialFolders;

    ItemSettings& Item(std::string_view key);
    const ItemSettings* FindItem(std::string_view key) const;

    TaskAllocator taskAllocator;
    int liveFolders = 0;      // folder objects not yet released
    int liveEnumerators = 0;  // enumerators not yet released
    int fileInfoCalls = 0;    // SHGetFileInfoA calls

    HIMAGELIST smallImageList = reinterpret_cast<HIMAGELIST>(static_cast<std::uintptr_t>(0x5A11));
    HIMAGELIST largeImageList = reinterpret_cast<HIMAGELIST>(static_cast<std::uintptr_t>(0x1A26));

    // The namespace's calls in order, one line each ("GetDisplayNameOf C:\WINDOWS 0x8000"), while
    // `keepJournal` holds.
    bool keepJournal = true;
    std::vector<std::string> journal;
    void Note(std::string line) {
        if (keepJournal) {
            journal.push_back(std::move(line));
        }
    }

    // Every ParseDisplayName call as it was made: the folder's key, the name, the owner window,
    // whether a bind context and a place for the characters eaten were given, and the attributes asked
    // for (none when no place for them was given).
    struct ParseRequest {
        std::string folder;
        std::string name;
        HWND window;
        bool bindContext;
        bool eatenAsked;
        std::optional<ULONG> attributes;
    };
    std::vector<ParseRequest> parseRequests;

    // The shell's prompt for a disk, which EnumObjects with an owner window shows for a drive without
    // its medium (a drive whose root is not a folder of the file system). While it is up a message loop
    // runs on the caller's thread: `whilePrompting` is what happens meanwhile (a test inserts the
    // medium, delivers what was posted). It then answers Retry when the medium is there, else Cancel.
    struct DiskPrompt {
        HWND owner;
        std::string drive;  // the drive's root folder, "A:\" for drive A
    };
    std::vector<DiskPrompt> diskPrompts;
    std::function<void(const DiskPrompt&)> whilePrompting;

    // Change notification: SHChangeNotifyRegister fails (answers 0) while `registrationFails` holds.
    bool registrationFails = false;
    std::vector<NotifyRegistration> registrations;
    ULONG nextRegistrationId = 1;
    // The shell announces an event (SHCNE_MKDIR, ...) about one or two items named by their keys (an
    // empty key: no item); see NotifiedList for the lists it gives. Every registration that asks for the
    // event, from that level, below one of its entries, gets a message of its own in `posted`, with lists
    // of its own. An event from the interrupt level reaches below the entry's own folder only for a
    // registration with SHCNRF_RecursiveInterrupt. Answers how many messages were posted.
    int Notify(LONG event, std::string_view item1, std::string_view item2 = {}, bool interrupt = false);
    std::deque<PostedNotification> posted;
    // When this many events about the items of one folder wait for one registration, the next one
    // merges them all into one SHCNE_UPDATEDIR about the folder, which reaches only a registration that
    // asks for it; later events about that folder join the waiting one. Windows gives no number.
    std::size_t mergeFrom = 10;

private:
    PostedNotification Posting(const NotifyRegistration& registration, DWORD code,
                               const std::optional<std::vector<BYTE>>& list1,
                               const std::optional<std::vector<BYTE>>& list2);
    bool Merges(const NotifyRegistration& registration, LONG event,
                const std::optional<std::vector<BYTE>>& list1, DWORD interrupt);

    struct KeyHash {
        std::size_t operator()(const std::string& key) const;
    };
    struct KeyEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::unordered_map<std::string, ItemSettings, KeyHash, KeyEqual> items_;
};

}  // namespace platform::sim
