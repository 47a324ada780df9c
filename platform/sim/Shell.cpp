// The in-memory shell's COM objects (the task allocator, folders, enumerators) and the shell calls.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ItemIdList.h"
#include "platform/sim/ShellItems.h"

namespace platform {

namespace {

sim::ShellNamespace& Shell() {
    return sim::TheWorld().shell;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string HandleText(const void* handle) {
    return Hex(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(handle)));
}

LPWSTR AllocateWide(const std::u16string& text) {
    auto* block = static_cast<WCHAR*>(Shell().taskAllocator.Alloc((text.size() + 1) * sizeof(WCHAR)));
    std::copy(text.begin(), text.end(), block);
    block[text.size()] = 0;
    return block;
}

std::u16string Widen(const std::string& text) {
    std::u16string wide(text.size(), u'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return wide;
}

template <class Interface>
HRESULT AnswerInterface(Interface* self, REFIID riid, const IID& own, void** ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == own) {
        self->AddRef();
        *ppvObject = self;
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

class SimEnumIDList final : public IEnumIDList {
public:
    SimEnumIDList(std::vector<std::vector<BYTE>> items, bool raises)
        : items_(std::move(items)), raises_(raises) {
        ++Shell().liveEnumerators;
    }

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        return AnswerInterface(this, riid, IID_IEnumIDList, ppvObject);
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            --Shell().liveEnumerators;
            delete this;
        }
        return left;
    }

    HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) override {
        if (raises_ && next_ > 0) {
            throw std::runtime_error("fault in a shell extension");
        }
        ULONG fetched = 0;
        while (fetched < celt && next_ < items_.size()) {
            rgelt[fetched++] = sim::AllocateList(items_[next_++]);
        }
        if (pceltFetched != nullptr) {
            *pceltFetched = fetched;
        }
        return fetched == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG celt) override {
        next_ = std::min(items_.size(), next_ + celt);
        return next_ < items_.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        next_ = 0;
        return S_OK;
    }

private:
    std::vector<std::vector<BYTE>> items_;
    std::size_t next_ = 0;
    bool raises_;
    ULONG references_ = 1;
};

class SimShellFolder final : public IShellFolder {
public:
    explicit SimShellFolder(sim::Location location) : location_(std::move(location)) {
        ++Shell().liveFolders;
    }

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        return AnswerInterface(this, riid, IID_IShellFolder, ppvObject);
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            --Shell().liveFolders;
            delete this;
        }
        return left;
    }

    HRESULT ParseDisplayName(HWND /*hwnd*/, IBindCtx* /*pbc*/, LPWSTR pszDisplayName, ULONG* pchEaten,
                             LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override;
    HRESULT EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) override;
    HRESULT BindToObject(LPCITEMIDLIST pidl, IBindCtx* pbc, REFIID riid, void** ppv) override;
    HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) override;

private:
    sim::Location location_;
    ULONG references_ = 1;
};

std::string KeyOf(const std::optional<sim::Location>& item) {
    return item ? item->key : std::string("?");
}

HRESULT SimShellFolder::ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten,
                                         LPITEMIDLIST* ppidl, ULONG* pdwAttributes) {
    *ppidl = nullptr;
    char name[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, pszDisplayName, -1, name, sizeof name - 1, nullptr, nullptr);
    Shell().Note("ParseDisplayName " + location_.key + " " + name);
    Shell().parseRequests.push_back(sim::ShellNamespace::ParseRequest{
        location_.key, name, hwnd, pbc != nullptr, pchEaten != nullptr,
        pdwAttributes != nullptr ? std::optional<ULONG>(*pdwAttributes) : std::nullopt});
    // The desktop and My Computer take full paths, a file-system folder takes names inside it; the
    // answer is relative to this folder either way.
    const bool takesFullPaths =
        location_.kind == sim::ItemKind::Desktop || location_.kind == sim::ItemKind::MyComputer;
    const auto folderPath = sim::FileSystemPath(location_);
    std::optional<sim::Location> item;
    if (takesFullPaths) {
        item = sim::LocationOfPath(name);
    } else if (folderPath) {
        item = sim::LocationOfPath(*folderPath + "\\" + name);
    }
    const auto absolute = item ? sim::AbsoluteList(*item) : std::nullopt;
    const auto own = sim::AbsoluteList(location_);
    if (!absolute || !own || absolute->size() < own->size() ||
        !std::equal(own->begin(), own->end(), absolute->begin())) {
        return static_cast<HRESULT>(0x80070002u);  // the file is not there
    }
    if (pchEaten != nullptr) {
        *pchEaten = static_cast<ULONG>(std::char_traits<char16_t>::length(pszDisplayName));
    }
    if (pdwAttributes != nullptr && *pdwAttributes != 0) {
        *pdwAttributes &= sim::Attributes(*item);
    }
    *ppidl = sim::AllocateList(
        std::vector<BYTE>(absolute->begin() + static_cast<std::ptrdiff_t>(own->size()), absolute->end()));
    return S_OK;
}

// The root of the drive that holds a file-system folder, when the drive has no medium: its root is no
// folder of the file system.
std::optional<std::string> DriveWithoutMedium(const sim::Location& folder) {
    const auto path = sim::FileSystemPath(folder);
    if (!path || path->size() < 3 || (*path)[1] != ':') {
        return std::nullopt;
    }
    std::string root = path->substr(0, 3);
    if (sim::TheWorld().files.IsDirectory(root)) {
        return std::nullopt;
    }
    return root;
}

// The shell asks the owner's user for the disk, and answers whether it is there when the prompt
// closes. Without an owner nobody may be asked.
bool MediumAfterPrompt(HWND owner, const std::string& root) {
    if (owner == nullptr) {
        return false;
    }
    auto& shell = Shell();
    shell.diskPrompts.push_back(sim::ShellNamespace::DiskPrompt{owner, root});
    if (shell.whilePrompting) {
        shell.whilePrompting(shell.diskPrompts.back());
    }
    return sim::TheWorld().files.IsDirectory(root);
}

HRESULT SimShellFolder::EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) {
    *ppenumIDList = nullptr;
    Shell().Note("EnumObjects " + location_.key + " " + HandleText(hwnd) + " " + Hex(grfFlags));
    const auto* settings = sim::SettingsOf(location_);
    if (settings != nullptr && settings->enumFails) {
        return static_cast<HRESULT>(0x80070015u);  // the device is not ready
    }
    if (const auto root = DriveWithoutMedium(location_); root && !MediumAfterPrompt(hwnd, *root)) {
        // Not ready without anyone to ask; cancelled by the user who was asked.
        return static_cast<HRESULT>(hwnd == nullptr ? 0x80070015u : 0x800704C7u);
    }
    std::vector<std::vector<BYTE>> items;
    for (const auto& child : sim::Children(location_)) {
        const auto* childSettings = sim::SettingsOf(child);
        const bool isFolder = (sim::Attributes(child) & SFGAO_FOLDER) != 0;
        const bool wanted = (grfFlags & (isFolder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS)) != 0;
        const bool hidden = childSettings != nullptr && childSettings->hidden;
        if (wanted && (!hidden || (grfFlags & SHCONTF_INCLUDEHIDDEN) != 0)) {
            items.push_back(sim::ItemBytes(child));
        }
    }
    if (items.empty() && settings != nullptr && settings->noneIsSFalse) {
        return S_FALSE;
    }
    *ppenumIDList = new SimEnumIDList(std::move(items), settings != nullptr && settings->enumRaises);
    return S_OK;
}

HRESULT SimShellFolder::BindToObject(LPCITEMIDLIST pidl, IBindCtx*, REFIID riid, void** ppv) {
    *ppv = nullptr;
    const auto item = sim::Resolve(location_, pidl);
    Shell().Note("BindToObject " + KeyOf(item));
    if (!(riid == IID_IShellFolder)) {
        return E_NOINTERFACE;
    }
    if (!item) {
        return E_INVALIDARG;
    }
    const auto* settings = sim::SettingsOf(*item);
    if ((settings != nullptr && settings->bindFails) || (sim::Attributes(*item) & SFGAO_FOLDER) == 0) {
        return E_FAIL;
    }
    *ppv = static_cast<IShellFolder*>(new SimShellFolder(*item));
    return S_OK;
}

HRESULT SimShellFolder::GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) {
    SFGAOF common = ~SFGAOF{0};
    for (UINT i = 0; i < cidl; ++i) {
        const auto item = sim::Resolve(location_, apidl[i]);
        Shell().Note("GetAttributesOf " + KeyOf(item) + " " + Hex(*rgfInOut));
        if (!item) {
            return E_INVALIDARG;
        }
        const auto* settings = sim::SettingsOf(*item);
        if (settings != nullptr && settings->attributesFail) {
            return E_FAIL;
        }
        common &= sim::Attributes(*item);
    }
    *rgfInOut &= common;
    return S_OK;
}

const sim::NameAnswer* AnswerSetting(const sim::ItemSettings* settings, sim::NameKind kind) {
    if (settings == nullptr) {
        return nullptr;
    }
    return kind == sim::NameKind::Parsing    ? &settings->parsing
           : kind == sim::NameKind::InFolder ? &settings->inFolder
                                             : &settings->normal;
}

// The form of a name's answer: the one set for the item, but that the shell of Windows 98 and Me never
// answers wide: there a name kept in the item's own ID bytes comes as an offset to them, any other name
// (and the folder's own, whose list is empty) as characters.
sim::NameForm AnswerForm(const sim::NameAnswer* answer, const sim::Location& item, const std::string& text,
                         UINT listSize) {
    const auto form = answer != nullptr ? answer->form : sim::NameForm::Wide;
    if (form != sim::NameForm::Wide || !Shell().ansiNames) {
        return form;
    }
    return listSize != 0 && text == sim::StoredName(item) ? sim::NameForm::Offset : sim::NameForm::CStr;
}

HRESULT SimShellFolder::GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) {
    const auto item = sim::Resolve(location_, pidl);
    Shell().Note("GetDisplayNameOf " + KeyOf(item) + " " + Hex(uFlags));
    if (!item) {
        return E_INVALIDARG;
    }
    const auto kind = (uFlags & SHGDN_FORPARSING) != 0 ? sim::NameKind::Parsing
                      : (uFlags & SHGDN_INFOLDER) != 0 ? sim::NameKind::InFolder
                                                       : sim::NameKind::Normal;
    const auto* answer = AnswerSetting(sim::SettingsOf(*item), kind);
    const std::string text =
        answer != nullptr && answer->text ? *answer->text : sim::DefaultName(*item, kind);
    // An offset answer points at the name in the last item's ID bytes; the folder's own name (an empty
    // list) has none, so that one comes as characters.
    const UINT listSize = ItemIdListSize(pidl);
    const auto form = AnswerForm(answer, *item, text, listSize);
    switch (listSize == 0 && form == sim::NameForm::Offset ? sim::NameForm::CStr : form) {
        case sim::NameForm::Wide:
            pName->uType = STRRET_WSTR;
            pName->pOleStr =
                AllocateWide(answer != nullptr && answer->wideText ? *answer->wideText : Widen(text));
            return S_OK;
        case sim::NameForm::WideWithoutString:
            pName->uType = STRRET_WSTR;
            pName->pOleStr = nullptr;
            return S_OK;
        case sim::NameForm::Offset: {
            UINT lastItem = 0;
            for (LPCITEMIDLIST at = pidl; FirstItemSize(NextItem(at)) != 0; at = NextItem(at)) {
                lastItem += FirstItemSize(at);
            }
            pName->uType = STRRET_OFFSET;
            pName->uOffset = lastItem + sim::kItemNameOffset;
            return S_OK;
        }
        case sim::NameForm::CStr:
            pName->uType = STRRET_CSTR;
            std::snprintf(pName->cStr, sizeof pName->cStr, "%s", text.c_str());
            return S_OK;
        case sim::NameForm::Fails:
            return E_FAIL;
        case sim::NameForm::UnknownType:
            pName->uType = 7;
            return S_OK;
    }
    return E_FAIL;
}

std::optional<sim::Location> ResolveAbsolute(LPCITEMIDLIST pidl) {
    return sim::Resolve(sim::DesktopLocation(), pidl);
}

}  // namespace

namespace sim {

TaskAllocator::~TaskAllocator() {
    for (auto& [block, size] : blocks_) {
        std::free(block);
    }
}

HRESULT TaskAllocator::QueryInterface(REFIID riid, void** ppvObject) {
    return AnswerInterface(this, riid, IID_IMalloc, ppvObject);
}

void* TaskAllocator::Alloc(SIZE_T cb) {
    void* block = std::malloc(cb == 0 ? 1 : cb);
    blocks_[block] = cb;
    ++allocations_;
    return block;
}

void* TaskAllocator::Realloc(void* pv, SIZE_T cb) {
    if (pv == nullptr) {
        return Alloc(cb);
    }
    auto found = blocks_.find(pv);
    if (found == blocks_.end()) {
        return nullptr;
    }
    void* block = std::realloc(pv, cb == 0 ? 1 : cb);
    blocks_.erase(found);
    blocks_[block] = cb;
    return block;
}

void TaskAllocator::Free(void* pv) {
    if (pv == nullptr) {
        return;
    }
    auto found = blocks_.find(pv);
    if (found == blocks_.end()) {
        ++strayFrees_;  // not ours, or freed already: left alone, as a heap check would find it
        return;
    }
    blocks_.erase(found);
    std::free(pv);
    ++frees_;
}

SIZE_T TaskAllocator::GetSize(void* pv) {
    auto found = blocks_.find(pv);
    return found == blocks_.end() ? static_cast<SIZE_T>(-1) : found->second;
}

// A null block is one the allocator cannot tell about: -1, as Windows answers.
int TaskAllocator::DidAlloc(void* pv) {
    if (pv == nullptr) {
        return -1;
    }
    return blocks_.count(pv) != 0 ? 1 : 0;
}

}  // namespace sim

HRESULT CoGetMalloc(DWORD dwMemContext, IMalloc** ppMalloc) {
    *ppMalloc = nullptr;
    if (dwMemContext != MEMCTX_TASK) {
        return E_INVALIDARG;
    }
    auto& allocator = Shell().taskAllocator;
    allocator.AddRef();
    *ppMalloc = &allocator;
    return S_OK;
}

void* CoTaskMemAlloc(SIZE_T cb) {
    return Shell().taskAllocator.Alloc(cb);
}

void CoTaskMemFree(void* pv) {
    Shell().taskAllocator.Free(pv);
}

HRESULT SHGetDesktopFolder(IShellFolder** ppshf) {
    *ppshf = new SimShellFolder(sim::DesktopLocation());
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, LPITEMIDLIST* ppidl) {
    *ppidl = nullptr;
    auto& shell = Shell();
    shell.Note("SHGetSpecialFolderLocation " + HandleText(hwndOwner) + " " + std::to_string(nFolder));
    if (shell.missingSpecialFolders.count(nFolder) != 0) {
        return E_FAIL;
    }
    std::optional<std::vector<BYTE>> list;
    switch (nFolder) {
        case CSIDL_DESKTOP:
            list = std::vector<BYTE>{};
            break;
        case CSIDL_BITBUCKET:
            list = sim::ItemBytes(sim::Location{sim::ItemKind::RecycleBin, std::string(shell.kRecycleBin)});
            break;
        case CSIDL_DRIVES:
            list = sim::ItemBytes(sim::Location{sim::ItemKind::MyComputer, std::string(shell.kMyComputer)});
            break;
        case CSIDL_NETWORK:
            list = sim::ItemBytes(
                sim::Location{sim::ItemKind::NetworkNeighborhood, std::string(shell.kNetworkNeighborhood)});
            break;
        case CSIDL_DESKTOPDIRECTORY:
            if (auto directory = sim::LocationOfPath(shell.desktopDirectory)) {
                list = sim::AbsoluteList(*directory);
            }
            break;
        default:
            return E_INVALIDARG;
    }
    if (!list) {
        return E_FAIL;
    }
    *ppidl = sim::AllocateList(*list);
    return S_OK;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
    const auto item = ResolveAbsolute(pidl);
    // An item that is gone still has the path that its names spell, as for a folder just removed.
    const auto path = item ? sim::FileSystemPath(*item) : sim::PathOfStoredNames(pidl);
    Shell().Note("SHGetPathFromIDListA " + KeyOf(item));
    pszPath[0] = '\0';
    if (!path) {
        return 0;
    }
    std::snprintf(pszPath, MAX_PATH, "%s", path->c_str());
    return 1;
}

DWORD_PTR SHGetFileInfoA(LPCSTR pszPath, DWORD /*dwFileAttributes*/, SHFILEINFOA* psfi, UINT cbFileInfo,
                         UINT uFlags) {
    auto& shell = Shell();
    ++shell.fileInfoCalls;
    const auto item = pszPath == nullptr           ? std::nullopt
                      : (uFlags & SHGFI_PIDL) != 0 ? ResolveAbsolute(reinterpret_cast<LPCITEMIDLIST>(pszPath))
                                                   : sim::LocationOfPath(pszPath);
    shell.Note("SHGetFileInfoA " + KeyOf(item) + " " + Hex(uFlags));
    if (!item || psfi == nullptr || cbFileInfo < sizeof(SHFILEINFOA)) {
        return 0;
    }
    if ((uFlags & SHGFI_SYSICONINDEX) == 0) {
        return 1;
    }
    psfi->iIcon = sim::IconIndex(*item, (uFlags & SHGFI_OPENICON) != 0);
    const HIMAGELIST list = (uFlags & SHGFI_SMALLICON) != 0 ? shell.smallImageList : shell.largeImageList;
    return reinterpret_cast<DWORD_PTR>(list);
}

}  // namespace platform
