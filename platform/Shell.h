// The shell namespace: item ID lists, the folder and enumerator interfaces, the name answer record
// (STRRET), the special folders, the system's icons, and change notification.
#pragma once

#include <cstddef>

#include "platform/CodePage.h"
#include "platform/Com.h"
#include "platform/Types.h"

namespace platform {

// An item ID list in the shell's byte format: per item a 16-bit little-endian byte count that counts
// itself, then the item's bytes; a 16-bit zero ends the list. Read it through the functions of
// platform/ItemIdList.h, never through these fields: a list may start at any byte.
// Byte-packed, as Windows declares them.
#pragma pack(push, 1)
struct SHITEMID {
    WORD cb;
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// How a folder answers a name: a wide string from the task allocator, an offset into the item ID list
// that was asked about, or the ANSI characters themselves.
inline constexpr UINT STRRET_WSTR = 0;
inline constexpr UINT STRRET_OFFSET = 1;
inline constexpr UINT STRRET_CSTR = 2;

struct STRRET {
    UINT uType;
    union {
        LPWSTR pOleStr;
        UINT uOffset;
        char cStr[MAX_PATH];
    };
};
static_assert(sizeof(STRRET) == (sizeof(void*) == 4 ? 264 : 272));

using SHGDNF = DWORD;
inline constexpr SHGDNF SHGDN_NORMAL = 0x0000;
inline constexpr SHGDNF SHGDN_INFOLDER = 0x0001;
inline constexpr SHGDNF SHGDN_FORPARSING = 0x8000;

using SHCONTF = DWORD;
inline constexpr SHCONTF SHCONTF_FOLDERS = 0x0020;
inline constexpr SHCONTF SHCONTF_NONFOLDERS = 0x0040;
inline constexpr SHCONTF SHCONTF_INCLUDEHIDDEN = 0x0080;

using SFGAOF = ULONG;
inline constexpr SFGAOF SFGAO_LINK = 0x00010000;
inline constexpr SFGAOF SFGAO_SHARE = 0x00020000;
inline constexpr SFGAOF SFGAO_FOLDER = 0x20000000;
inline constexpr SFGAOF SFGAO_FILESYSTEM = 0x40000000;
inline constexpr SFGAOF SFGAO_HASSUBFOLDER = 0x80000000;

inline constexpr int CSIDL_DESKTOP = 0;
inline constexpr int CSIDL_BITBUCKET = 10;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;
inline constexpr int CSIDL_DRIVES = 17;
inline constexpr int CSIDL_NETWORK = 18;

inline constexpr IID IID_IShellFolder{0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IEnumIDList{0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IEnumIDList : public IUnknown {
public:
    // S_OK while it hands out `celt` lists (each from the task allocator), S_FALSE when fewer.
    virtual HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;

protected:
    ~IEnumIDList() = default;
};

struct IBindCtx;

class IShellFolder : public IUnknown {
public:
    virtual HRESULT ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten,
                                     LPITEMIDLIST* ppidl, ULONG* pdwAttributes) = 0;
    // S_OK with an enumerator; S_FALSE without one when nothing matches `grfFlags`. With an owner
    // window the folder may ask the user for what it needs (a disk in the drive) and run a message loop
    // on the calling thread meanwhile; without one it fails instead.
    virtual HRESULT EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) = 0;
    virtual HRESULT BindToObject(LPCITEMIDLIST pidl, IBindCtx* pbc, REFIID riid, void** ppv) = 0;
    // The requested bits of `rgfInOut` come back set or cleared for the items.
    virtual HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) = 0;

protected:
    ~IShellFolder() = default;
};

HRESULT SHGetDesktopFolder(IShellFolder** ppshf);
// The special folder's absolute item ID list, from the task allocator.
HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, LPITEMIDLIST* ppidl);
// Writes the item's file-system path (at most MAX_PATH characters with the zero); FALSE and an empty
// text for an item without one.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);

struct HICON__;
using HICON = HICON__*;
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
using DWORD_PTR = std::uintptr_t;

struct SHFILEINFOA {
    HICON hIcon;
    int iIcon;
    DWORD dwAttributes;
    char szDisplayName[MAX_PATH];
    char szTypeName[80];
};
static_assert(sizeof(void*) != 4 || sizeof(SHFILEINFOA) == 352);

inline constexpr UINT SHGFI_SMALLICON = 0x0001;
inline constexpr UINT SHGFI_OPENICON = 0x0002;
inline constexpr UINT SHGFI_PIDL = 0x0008;
inline constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

// With SHGFI_PIDL, `pszPath` is really the item's absolute item ID list. With SHGFI_SYSICONINDEX it
// puts the item's index in the system image list into `iIcon` and answers that list's handle (the
// small one with SHGFI_SMALLICON).
DWORD_PTR SHGetFileInfoA(LPCSTR pszPath, DWORD dwFileAttributes, SHFILEINFOA* psfi, UINT cbFileInfo,
                         UINT uFlags);

// Change notification, taken from shell32.dll by ordinal: SHChangeNotifyRegister is ordinal 2,
// SHChangeNotifyDeregister ordinal 4.
struct SHChangeNotifyEntry {
    LPCITEMIDLIST pidl;
    BOOL fRecursive;
};
static_assert(sizeof(void*) != 4 || sizeof(SHChangeNotifyEntry) == 8);

using PFNSHCHANGENOTIFYREGISTER = ULONG(CV_WINAPI*)(HWND hwnd, int fSources, LONG fEvents, UINT wMsg,
                                                    int cEntries, SHChangeNotifyEntry* pshcne);
using PFNSHCHANGENOTIFYDEREGISTER = BOOL(CV_WINAPI*)(ULONG ulID);

inline constexpr WORD SHCHANGENOTIFYREGISTER_ORDINAL = 2;
inline constexpr WORD SHCHANGENOTIFYDEREGISTER_ORDINAL = 4;

// Where the events of a registration may come from: the file system's own interrupts, and the shell's
// announcements (SHChangeNotify).
inline constexpr int SHCNRF_InterruptLevel = 0x0001;
inline constexpr int SHCNRF_ShellLevel = 0x0002;
// The file system's interrupts from the whole subtree below a recursive entry; without it they come
// only from the entry's own folder.
inline constexpr int SHCNRF_RecursiveInterrupt = 0x1000;

// The events, as they come in the notification's lParam; SHCNE_INTERRUPT marks one that came from the
// interrupt level.
inline constexpr LONG SHCNE_MKDIR = 0x00000008;
inline constexpr LONG SHCNE_RMDIR = 0x00000010;
inline constexpr LONG SHCNE_MEDIAINSERTED = 0x00000020;
inline constexpr LONG SHCNE_MEDIAREMOVED = 0x00000040;
inline constexpr LONG SHCNE_RENAMEFOLDER = 0x00020000;
// A folder's contents changed: what the shell sends in place of many events about the items of one
// folder.
inline constexpr LONG SHCNE_UPDATEDIR = 0x00001000;
inline constexpr DWORD SHCNE_INTERRUPT = 0x80000000;

}  // namespace platform
