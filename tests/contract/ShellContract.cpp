// The shell namespace as the folder tree asks it: the desktop and the special folders, names for each
// display flag and the form of each answer, attributes for the tree's request, enumeration with the
// tree's flags, parsing and binding, paths of virtual items, the system's icons, item ID lists through
// the task allocator, and change notification.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Com.h"
#include "platform/ItemIdList.h"
#include "platform/Kernel.h"
#include "platform/Shell.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;

namespace {

const std::string kScratch = contract::kScratchFolder;
// What the tree asks of every item.
constexpr SFGAOF kTreeAttributes =
    SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK | SFGAO_FOLDER;
constexpr UINT kTreeIconFlags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

ComPtr<IShellFolder> Desktop() {
    ComPtr<IShellFolder> desktop;
    REQUIRE(SHGetDesktopFolder(desktop.put()) == S_OK && desktop);
    return desktop;
}

// An item ID list from the task allocator, freed when it goes.
class List {
public:
    List() = default;
    explicit List(LPITEMIDLIST list) : list_(list) {}
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() { CoTaskMemFree(list_); }
    LPITEMIDLIST* put() { return &list_; }
    LPITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_ = nullptr;
};

std::u16string Wide(const std::string& text) {
    std::u16string wide(text.size() + 1, u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

HRESULT Parse(IShellFolder& folder, const std::string& name, List& list) {
    std::u16string wide = Wide(name);
    return folder.ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, list.put(), nullptr);
}

ComPtr<IShellFolder> Bind(IShellFolder& parent, LPCITEMIDLIST item) {
    ComPtr<IShellFolder> folder;
    REQUIRE(parent.BindToObject(item, nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.put())) ==
            S_OK);
    REQUIRE(folder);
    return folder;
}

// The folder of a file-system path, bound from the desktop.
ComPtr<IShellFolder> FolderOf(const std::string& path) {
    auto desktop = Desktop();
    List list;
    REQUIRE(Parse(*desktop, path, list) == S_OK);
    return Bind(*desktop, list.get());
}

// A name as the folder answers it, with the form of the answer; a wide answer's string goes back to
// the allocator.
std::string NameOf(IShellFolder& folder, LPCITEMIDLIST item, SHGDNF flags, UINT* form = nullptr) {
    STRRET answer{};
    answer.uType = 99;
    if (FAILED(folder.GetDisplayNameOf(item, flags, &answer))) {
        return "(failed)";
    }
    if (form != nullptr) {
        *form = answer.uType;
    }
    char text[MAX_PATH] = "";
    switch (answer.uType) {
        case STRRET_WSTR:
            WideCharToMultiByte(CP_ACP, 0, answer.pOleStr, -1, text, sizeof text, nullptr, nullptr);
            CoTaskMemFree(answer.pOleStr);
            return text;
        case STRRET_CSTR:
            return answer.cStr;
        case STRRET_OFFSET:
            return reinterpret_cast<const char*>(item) + answer.uOffset;
        default:
            return "(no answer)";
    }
}

SFGAOF AttributesOf(IShellFolder& folder, LPCITEMIDLIST item, SFGAOF asked = kTreeAttributes) {
    SFGAOF attributes = asked;
    LPCITEMIDLIST items[] = {item};
    CHECK_EQ(folder.GetAttributesOf(1, items, &attributes), S_OK);
    return attributes & asked;
}

// The in-folder names of a folder's items for the given flags, sorted.
std::vector<std::string> Names(IShellFolder& folder, SHCONTF flags) {
    std::vector<std::string> names;
    ComPtr<IEnumIDList> items;
    const HRESULT result = folder.EnumObjects(nullptr, flags, items.put());
    CHECK(SUCCEEDED(result));
    if (!items) {
        return names;
    }
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK) {
        CHECK_EQ(fetched, 1);
        names.push_back(NameOf(folder, item, SHGDN_INFOLDER));
        CoTaskMemFree(item);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string PathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = "x";
    if (!SHGetPathFromIDListA(list, path)) {
        CHECK_EQ(std::string(path), "");
        return "(no path)";
    }
    return path;
}

List SpecialFolder(int folder) {
    LPITEMIDLIST list = nullptr;
    CHECK_EQ(SHGetSpecialFolderLocation(nullptr, folder, &list), S_OK);
    REQUIRE(list != nullptr);
    return List(list);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

void MakeFolder(const std::string& path) {
    REQUIRE(CreateDirectoryA(path.c_str(), nullptr));
}

}  // namespace

CONTRACT_CASE(Shell_DesktopParsesDriveRootsAndFolderPaths) {
    MakeFolder(kScratch + "\\Sub");
    auto desktop = Desktop();
    List drive;
    CHECK_EQ(Parse(*desktop, "C:\\", drive), S_OK);
    CHECK_EQ(PathOf(drive.get()), "C:\\");
    List folder;
    CHECK_EQ(Parse(*desktop, "c:\\CVCONTRACT\\sub", folder), S_OK);
    CHECK_EQ(PathOf(folder.get()), "C:\\cvcontract\\Sub");
}

CONTRACT_CASE(Shell_ParsingAMissingPathFails) {
    auto desktop = Desktop();
    List list;
    CHECK(FAILED(Parse(*desktop, kScratch + "\\missing", list)));
    CHECK(list.get() == nullptr);
}

// A folder parses a name inside it into a list of one item, relative to itself.
CONTRACT_CASE(Shell_FoldersParseRelativeToThemselves) {
    MakeFolder(kScratch + "\\Sub");
    auto scratch = FolderOf(kScratch);
    List sub;
    CHECK_EQ(Parse(*scratch, "Sub", sub), S_OK);
    CHECK_EQ(ItemIdListSize(sub.get()), FirstItemSize(sub.get()));
    List drives = SpecialFolder(CSIDL_DRIVES);
    auto myComputer = Bind(*Desktop(), drives.get());
    List drive;
    CHECK_EQ(Parse(*myComputer, "C:\\", drive), S_OK);
    CHECK_EQ(ItemIdListSize(drive.get()), FirstItemSize(drive.get()));
}

CONTRACT_CASE(Shell_FolderNamesForEachFlagAreWideStrings) {
    MakeFolder(kScratch + "\\Sub Folder");
    auto scratch = FolderOf(kScratch);
    List sub;
    REQUIRE(Parse(*scratch, "Sub Folder", sub) == S_OK);
    UINT form = 99;
    CHECK_EQ(NameOf(*scratch, sub.get(), SHGDN_NORMAL, &form), "Sub Folder");
    CHECK_EQ(form, STRRET_WSTR);
    CHECK_EQ(NameOf(*scratch, sub.get(), SHGDN_INFOLDER, &form), "Sub Folder");
    CHECK_EQ(form, STRRET_WSTR);
    CHECK_EQ(NameOf(*scratch, sub.get(), SHGDN_FORPARSING, &form), "C:\\cvcontract\\Sub Folder");
    CHECK_EQ(form, STRRET_WSTR);
}

CONTRACT_CASE(Shell_DriveNamesForEachFlag) {
    List drives = SpecialFolder(CSIDL_DRIVES);
    auto myComputer = Bind(*Desktop(), drives.get());
    List drive;
    REQUIRE(Parse(*myComputer, "C:\\", drive) == S_OK);
    const std::string normal = NameOf(*myComputer, drive.get(), SHGDN_NORMAL);
    CHECK(normal.size() > 4 && normal.compare(normal.size() - 4, 4, "(C:)") == 0);
    CHECK_EQ(NameOf(*myComputer, drive.get(), SHGDN_FORPARSING), "C:\\");
}

// The tree's root: the desktop's own name, and as a path its folder in the file system.
CONTRACT_CASE(Shell_DesktopsOwnNamesAndPath) {
    auto desktop = Desktop();
    List self = SpecialFolder(CSIDL_DESKTOP);
    CHECK_EQ(ItemIdListSize(self.get()), 0);
    List directory = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string path = PathOf(directory.get());
    CHECK((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK_EQ(PathOf(self.get()), path);
    CHECK_EQ(NameOf(*desktop, self.get(), SHGDN_FORPARSING), path);
}

CONTRACT_CASE(Shell_VirtualFoldersHaveNoPath) {
    for (const int folder : {CSIDL_DRIVES, CSIDL_BITBUCKET}) {
        List list = SpecialFolder(folder);
        CHECK_EQ(ItemIdListSize(list.get()), FirstItemSize(list.get()));
        CHECK_EQ(PathOf(list.get()), "(no path)");
    }
}

CONTRACT_CASE(Shell_NetworkNeighborhoodHasNoPath) {
    List list = SpecialFolder(CSIDL_NETWORK);
    CHECK_EQ(ItemIdListSize(list.get()), FirstItemSize(list.get()));
    CHECK_EQ(PathOf(list.get()), "(no path)");
}

CONTRACT_CASE(Shell_MyComputerParsingName) {
    List drives = SpecialFolder(CSIDL_DRIVES);
    CHECK_EQ(NameOf(*Desktop(), drives.get(), SHGDN_FORPARSING), "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
}

CONTRACT_CASE(Shell_MyComputerListsDrivesAndAnItemOutsideTheFileSystem) {
    List drives = SpecialFolder(CSIDL_DRIVES);
    auto myComputer = Bind(*Desktop(), drives.get());
    ComPtr<IEnumIDList> items;
    REQUIRE(myComputer->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) == S_OK);
    bool driveC = false;
    bool virtualItem = false;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK) {
        const SFGAOF attributes = AttributesOf(*myComputer, item);
        if (NameOf(*myComputer, item, SHGDN_FORPARSING) == "C:\\") {
            driveC = true;
            CHECK_EQ(attributes & (SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK),
                     SFGAO_FOLDER | SFGAO_FILESYSTEM);
        }
        virtualItem = virtualItem || (attributes & SFGAO_FILESYSTEM) == 0;
        CoTaskMemFree(item);
    }
    CHECK(driveC);
    CHECK(virtualItem);
}

CONTRACT_CASE(Shell_DesktopListsMyComputer) {
    auto desktop = Desktop();
    ComPtr<IEnumIDList> items;
    REQUIRE(desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.put()) == S_OK);
    bool myComputer = false;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK) {
        myComputer = myComputer || Upper(NameOf(*desktop, item, SHGDN_FORPARSING)) ==
                                       "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
        CoTaskMemFree(item);
    }
    CHECK(myComputer);
}

CONTRACT_CASE(Shell_EnumerationOfFoldersLeavesFilesOut) {
    MakeFolder(kScratch + "\\Beta");
    MakeFolder(kScratch + "\\alpha");
    contract::MakeFile(kScratch + "\\file.txt", "x");
    auto scratch = FolderOf(kScratch);
    CHECK(Names(*scratch, SHCONTF_FOLDERS) == (std::vector<std::string>{"Beta", "alpha"}));
    CHECK_EQ(Names(*scratch, SHCONTF_NONFOLDERS).size(), 1);
    CHECK_EQ(Names(*scratch, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 3);
}

CONTRACT_CASE(Shell_HiddenFoldersOnlyWhenAskedFor) {
    MakeFolder(kScratch + "\\Shown");
    MakeFolder(kScratch + "\\Hidden");
    contract::MakeHidden(kScratch + "\\Hidden");
    auto scratch = FolderOf(kScratch);
    CHECK(Names(*scratch, SHCONTF_FOLDERS) == (std::vector<std::string>{"Shown"}));
    CHECK(Names(*scratch, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN) ==
          (std::vector<std::string>{"Hidden", "Shown"}));
}

CONTRACT_CASE(Shell_EnumeratorEndsWithSFalse) {
    MakeFolder(kScratch + "\\Only");
    auto scratch = FolderOf(kScratch);
    ComPtr<IEnumIDList> items;
    REQUIRE(scratch->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()) == S_OK);
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    CHECK_EQ(items->Next(1, &item, &fetched), S_OK);
    CoTaskMemFree(item);
    item = nullptr;
    CHECK_EQ(items->Next(1, &item, &fetched), S_FALSE);
    CHECK_EQ(fetched, 0);
    CHECK(item == nullptr);
}

CONTRACT_CASE(Shell_EmptyFolderListsNothing) {
    MakeFolder(kScratch + "\\Empty");
    CHECK(Names(*FolderOf(kScratch + "\\Empty"), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN)
              .empty());
}

// A folder with files alone has no folders to list: an enumerator of nothing, or S_FALSE and none.
CONTRACT_CASE(Shell_NoMatchingChildIsAnEmptyEnumeratorOrSFalseWithoutOne) {
    contract::MakeFile(kScratch + "\\Files\\only.txt", "x");
    auto files = FolderOf(kScratch + "\\Files");
    IEnumIDList* items = nullptr;
    const HRESULT result = files->EnumObjects(nullptr, SHCONTF_FOLDERS, &items);
    CHECK(result == S_OK || result == S_FALSE);
    CHECK_EQ(items != nullptr, result == S_OK);
    if (items != nullptr) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        CHECK_EQ(items->Next(1, &item, &fetched), S_FALSE);
        CHECK(item == nullptr);
        items->Release();
    }
}

// An owner window lets the folder ask the user when it needs to; a folder that needs nothing lists the
// same with one as without.
CONTRACT_CASE(Shell_AnOwnerWindowChangesNothingWhereNothingIsNeeded) {
    MakeFolder(kScratch + "\\Owned");
    MakeFolder(kScratch + "\\Owned\\Inside");
    auto owned = FolderOf(kScratch + "\\Owned");
    ComPtr<IEnumIDList> items;
    REQUIRE(owned->EnumObjects(contract::NotifyWindow(), SHCONTF_FOLDERS, items.put()) == S_OK);
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    REQUIRE(items->Next(1, &item, &fetched) == S_OK);
    CHECK_EQ(NameOf(*owned, item, SHGDN_INFOLDER), "Inside");
    CoTaskMemFree(item);
}

CONTRACT_CASE(Shell_FolderAttributesForTheTreesRequest) {
    MakeFolder(kScratch + "\\Parent");
    MakeFolder(kScratch + "\\Parent\\Child");
    auto scratch = FolderOf(kScratch);
    List parent;
    REQUIRE(Parse(*scratch, "Parent", parent) == S_OK);
    CHECK_EQ(AttributesOf(*scratch, parent.get()), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER);
}

// A folder without subfolders says so, and the tree shows it without an expansion button.
CONTRACT_CASE(Shell_EmptyFolderHasNoSubfolder) {
    MakeFolder(kScratch + "\\Empty");
    auto scratch = FolderOf(kScratch);
    List empty;
    REQUIRE(Parse(*scratch, "Empty", empty) == S_OK);
    CHECK_EQ(AttributesOf(*scratch, empty.get(), SFGAO_HASSUBFOLDER), 0);
}

CONTRACT_CASE(Shell_BindingToAFolderListsItsContent) {
    MakeFolder(kScratch + "\\Outer");
    MakeFolder(kScratch + "\\Outer\\Inner");
    auto scratch = FolderOf(kScratch);
    List outer;
    REQUIRE(Parse(*scratch, "Outer", outer) == S_OK);
    auto bound = Bind(*scratch, outer.get());
    CHECK(Names(*bound, SHCONTF_FOLDERS) == (std::vector<std::string>{"Inner"}));
}

CONTRACT_CASE(Shell_SameItemSameIconAndOneSmallImageList) {
    MakeFolder(kScratch + "\\One");
    MakeFolder(kScratch + "\\Two");
    auto desktop = Desktop();
    List one;
    List two;
    REQUIRE(Parse(*desktop, kScratch + "\\One", one) == S_OK);
    REQUIRE(Parse(*desktop, kScratch + "\\Two", two) == S_OK);
    SHFILEINFOA first{};
    SHFILEINFOA again{};
    SHFILEINFOA other{};
    const DWORD_PTR list =
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(one.get()), 0, &first, sizeof first, kTreeIconFlags);
    CHECK(list != 0);
    CHECK_EQ(SHGetFileInfoA(reinterpret_cast<LPCSTR>(one.get()), 0, &again, sizeof again, kTreeIconFlags),
             list);
    CHECK_EQ(again.iIcon, first.iIcon);
    CHECK_EQ(SHGetFileInfoA(reinterpret_cast<LPCSTR>(two.get()), 0, &other, sizeof other, kTreeIconFlags),
             list);
    CHECK_EQ(other.iIcon, first.iIcon);  // two plain folders look alike
    SHFILEINFOA open{};
    CHECK_EQ(SHGetFileInfoA(reinterpret_cast<LPCSTR>(one.get()), 0, &open, sizeof open,
                            kTreeIconFlags | SHGFI_OPENICON),
             list);
    CHECK(open.iIcon >= 0);
    SHFILEINFOA large{};
    const DWORD_PTR largeList = SHGetFileInfoA(reinterpret_cast<LPCSTR>(one.get()), 0, &large, sizeof large,
                                               SHGFI_PIDL | SHGFI_SYSICONINDEX);
    CHECK(largeList != 0 && largeList != list);
}

// The tree makes a child's absolute list from its parent's and the child's relative one, in memory of
// the task allocator.
CONTRACT_CASE(Shell_ItemIdListsCombineAndGoBackToTheAllocator) {
    MakeFolder(kScratch + "\\Sub");
    auto desktop = Desktop();
    List parent;
    REQUIRE(Parse(*desktop, kScratch, parent) == S_OK);
    auto scratch = Bind(*desktop, parent.get());
    List child;
    REQUIRE(Parse(*scratch, "Sub", child) == S_OK);
    ComPtr<IMalloc> allocator;
    REQUIRE(CoGetMalloc(MEMCTX_TASK, allocator.put()) == S_OK);
    const UINT parentSize = ItemIdListSize(parent.get());
    const SIZE_T size = parentSize + FirstItemSize(child.get()) + 2;
    auto* combined = static_cast<BYTE*>(allocator->Alloc(size));
    REQUIRE(combined != nullptr);
    CHECK(allocator->GetSize(combined) >= size);
    CHECK_EQ(allocator->DidAlloc(combined), 1);
    CHECK_EQ(AppendFirstItem(combined, parent.get(), parentSize, child.get()), size - 2);
    CHECK_EQ(PathOf(reinterpret_cast<LPCITEMIDLIST>(combined)), "C:\\cvcontract\\Sub");
    allocator->Free(combined);
}

CONTRACT_CASE(Shell_SpecialFolderListsComeFromTheAllocator) {
    ComPtr<IMalloc> allocator;
    REQUIRE(CoGetMalloc(MEMCTX_TASK, allocator.put()) == S_OK);
    List drives = SpecialFolder(CSIDL_DRIVES);
    CHECK_EQ(allocator->DidAlloc(drives.get()), 1);
    LPITEMIDLIST own = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(16));
    CHECK_EQ(allocator->DidAlloc(own), 1);
    CoTaskMemFree(own);
    CHECK_EQ(allocator->DidAlloc(nullptr), -1);  // "cannot tell", not "not mine"
}
