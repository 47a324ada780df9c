// Every constant and structure that the portable headers copy from Windows, checked against the SDK of
// the cross compiler: the in-memory Windows and the program above it take these values as Windows' own,
// so a wrong one would pass every unit test and fail on a user's machine.
//
// Windows defines most of these names as macros, so our values are taken first, under names of our own,
// and compared once <windows.h> is in. Not checked here, as the SDK gives them only through casts that
// are no constant expressions: the predefined registry roots and INVALID_HANDLE_VALUE (the contract
// suite opens the roots on the real API), and the ordinals of shell32's change-notification entry points
// (the SDK has no names for them; the contract suite takes both entry points by their ordinal).
#include <cstddef>
#include <cstdint>

#include "platform/CodePage.h"
#include "platform/CommonControls.h"
#include "platform/Com.h"
#include "platform/Kernel.h"
#include "platform/NewDev.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/SetupApi.h"
#include "platform/Shell.h"
#include "platform/Types.h"
#include "platform/Window.h"

#define CV_COPIED_CONSTANTS(X)        \
    X(ERROR_SUCCESS)                  \
    X(ERROR_FILE_NOT_FOUND)           \
    X(ERROR_PATH_NOT_FOUND)           \
    X(ERROR_ACCESS_DENIED)            \
    X(ERROR_INVALID_HANDLE)           \
    X(ERROR_NOT_ENOUGH_MEMORY)        \
    X(ERROR_INVALID_DATA)             \
    X(ERROR_NOT_READY)                \
    X(ERROR_INVALID_PARAMETER)        \
    X(ERROR_INVALID_NAME)             \
    X(ERROR_INSUFFICIENT_BUFFER)      \
    X(ERROR_MOD_NOT_FOUND)            \
    X(ERROR_PROC_NOT_FOUND)           \
    X(ERROR_BAD_NETPATH)              \
    X(ERROR_BAD_PATHNAME)             \
    X(ERROR_ALREADY_EXISTS)           \
    X(ERROR_MORE_DATA)                \
    X(ERROR_NO_MORE_ITEMS)            \
    X(ERROR_INVALID_FLAGS)            \
    X(ERROR_FILENAME_EXCED_RANGE)     \
    X(ERROR_NOT_ALL_ASSIGNED)         \
    X(ERROR_SHARING_VIOLATION)        \
    X(ERROR_FILE_EXISTS)              \
    X(ERROR_DISK_FULL)                \
    X(ERROR_DIR_NOT_EMPTY)            \
    X(S_OK)                           \
    X(S_FALSE)                        \
    X(E_FAIL)                         \
    X(E_NOTIMPL)                      \
    X(E_NOINTERFACE)                  \
    X(E_POINTER)                      \
    X(E_OUTOFMEMORY)                  \
    X(E_INVALIDARG)                   \
    X(MAX_PATH)                       \
    X(FORMAT_MESSAGE_ALLOCATE_BUFFER) \
    X(FORMAT_MESSAGE_IGNORE_INSERTS)  \
    X(FORMAT_MESSAGE_FROM_SYSTEM)     \
    X(SEM_FAILCRITICALERRORS)         \
    X(SEM_NOOPENFILEERRORBOX)         \
    X(LOAD_WITH_ALTERED_SEARCH_PATH)  \
    X(FILE_ATTRIBUTE_READONLY)        \
    X(FILE_ATTRIBUTE_HIDDEN)          \
    X(FILE_ATTRIBUTE_DIRECTORY)       \
    X(FILE_ATTRIBUTE_NORMAL)          \
    X(GENERIC_READ)                   \
    X(GENERIC_WRITE)                  \
    X(FILE_SHARE_READ)                \
    X(FILE_SHARE_WRITE)               \
    X(OPEN_EXISTING)                  \
    X(OPEN_ALWAYS)                    \
    X(INVALID_FILE_SIZE)              \
    X(FILE_BEGIN)                     \
    X(FILE_CURRENT)                   \
    X(FILE_END)                       \
    X(INVALID_SET_FILE_POINTER)       \
    X(INVALID_FILE_ATTRIBUTES)        \
    X(LOCALE_USER_DEFAULT)            \
    X(NORM_IGNORECASE)                \
    X(CSTR_LESS_THAN)                 \
    X(CSTR_EQUAL)                     \
    X(CSTR_GREATER_THAN)              \
    X(CP_ACP)                         \
    X(REG_NONE)                       \
    X(REG_SZ)                         \
    X(REG_EXPAND_SZ)                  \
    X(REG_BINARY)                     \
    X(REG_DWORD)                      \
    X(REG_MULTI_SZ)                   \
    X(KEY_QUERY_VALUE)                \
    X(KEY_SET_VALUE)                  \
    X(KEY_READ)                       \
    X(KEY_ALL_ACCESS)                 \
    X(MEMCTX_TASK)                    \
    X(DIGCF_PRESENT)                  \
    X(DIGCF_ALLCLASSES)               \
    X(SPDRP_HARDWAREID)               \
    X(SPDRP_DRIVER)                   \
    X(SP_COPY_SOURCEPATH_ABSOLUTE)    \
    X(SPOST_PATH)                     \
    X(INSTALLFLAG_FORCE)              \
    X(WAIT_OBJECT_0)                  \
    X(WAIT_TIMEOUT)                   \
    X(WAIT_FAILED)                    \
    X(ICC_TREEVIEW_CLASSES)           \
    X(STRRET_WSTR)                    \
    X(STRRET_OFFSET)                  \
    X(STRRET_CSTR)                    \
    X(SHGDN_NORMAL)                   \
    X(SHGDN_INFOLDER)                 \
    X(SHGDN_FORPARSING)               \
    X(SHCONTF_FOLDERS)                \
    X(SHCONTF_NONFOLDERS)             \
    X(SHCONTF_INCLUDEHIDDEN)          \
    X(SFGAO_LINK)                     \
    X(SFGAO_SHARE)                    \
    X(SFGAO_FOLDER)                   \
    X(SFGAO_FILESYSTEM)               \
    X(SFGAO_HASSUBFOLDER)             \
    X(CSIDL_DESKTOP)                  \
    X(CSIDL_BITBUCKET)                \
    X(CSIDL_DESKTOPDIRECTORY)         \
    X(CSIDL_DRIVES)                   \
    X(CSIDL_NETWORK)                  \
    X(SHGFI_SMALLICON)                \
    X(SHGFI_OPENICON)                 \
    X(SHGFI_PIDL)                     \
    X(SHGFI_SYSICONINDEX)             \
    X(SHCNRF_InterruptLevel)          \
    X(SHCNRF_ShellLevel)              \
    X(SHCNRF_RecursiveInterrupt)      \
    X(SHCNE_MKDIR)                    \
    X(SHCNE_RMDIR)                    \
    X(SHCNE_MEDIAINSERTED)            \
    X(SHCNE_MEDIAREMOVED)             \
    X(SHCNE_RENAMEFOLDER)             \
    X(SHCNE_UPDATEDIR)                \
    X(SHCNE_INTERRUPT)                \
    X(TOKEN_QUERY)                    \
    X(TOKEN_ADJUST_PRIVILEGES)        \
    X(SE_PRIVILEGE_ENABLED)           \
    X(EWX_REBOOT)                     \
    X(SECURITY_BUILTIN_DOMAIN_RID)    \
    X(DOMAIN_ALIAS_RID_ADMINS)        \
    X(WM_PAINT)                       \
    X(WM_QUERYENDSESSION)             \
    X(WM_LBUTTONDBLCLK)               \
    X(WM_USER)

// Each value as 32 bits: every constant here is at most that wide, and the SDK's signed and unsigned
// spellings of one value compare equal so.
#define CV_TAKE_OURS(name) constexpr std::uint32_t kOurs_##name = static_cast<std::uint32_t>(platform::name);
namespace {
CV_COPIED_CONSTANTS(CV_TAKE_OURS)

constexpr platform::GUID kOurs_IID_IUnknown = platform::IID_IUnknown;
constexpr platform::GUID kOurs_IID_IMalloc = platform::IID_IMalloc;
constexpr platform::GUID kOurs_IID_IShellFolder = platform::IID_IShellFolder;
constexpr platform::GUID kOurs_IID_IEnumIDList = platform::IID_IEnumIDList;
constexpr platform::SID_IDENTIFIER_AUTHORITY kOurs_SECURITY_NT_AUTHORITY = platform::SECURITY_NT_AUTHORITY;
}  // namespace
#undef CV_TAKE_OURS

#include <windows.h>
#include <commctrl.h>
#include <newdev.h>
#include <objbase.h>
#include <setupapi.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

#define CV_COMPARE_WITH_SDK(name) \
    static_assert(kOurs_##name == static_cast<std::uint32_t>(name), #name " differs from the SDK's value");
CV_COPIED_CONSTANTS(CV_COMPARE_WITH_SDK)
#undef CV_COMPARE_WITH_SDK

constexpr bool SameGuid(const platform::GUID& ours, const ::GUID& sdk) {
    for (int i = 0; i < 8; ++i) {
        if (ours.Data4[i] != sdk.Data4[i]) {
            return false;
        }
    }
    return ours.Data1 == sdk.Data1 && ours.Data2 == sdk.Data2 && ours.Data3 == sdk.Data3;
}
static_assert(SameGuid(kOurs_IID_IUnknown, __uuidof(::IUnknown)));
static_assert(SameGuid(kOurs_IID_IMalloc, __uuidof(::IMalloc)));
static_assert(SameGuid(kOurs_IID_IShellFolder, __uuidof(::IShellFolder)));
static_assert(SameGuid(kOurs_IID_IEnumIDList, __uuidof(::IEnumIDList)));

// A structure that Windows reads or writes as ours: the same size, and each field the program uses at
// the same place.
#define CV_SAME_FIELD(type, field)                                            \
    static_assert(offsetof(platform::type, field) == offsetof(::type, field), \
                  #type "." #field " lies elsewhere");
#define CV_SAME_SIZE(type) static_assert(sizeof(platform::type) == sizeof(::type), #type " has another size");

CV_SAME_SIZE(GUID)
CV_SAME_FIELD(GUID, Data1)
CV_SAME_FIELD(GUID, Data2)
CV_SAME_FIELD(GUID, Data3)
CV_SAME_FIELD(GUID, Data4)

CV_SAME_SIZE(FILETIME)
CV_SAME_SIZE(SYSTEMTIME)
CV_SAME_FIELD(SYSTEMTIME, wYear)
CV_SAME_FIELD(SYSTEMTIME, wMonth)
CV_SAME_FIELD(SYSTEMTIME, wDayOfWeek)
CV_SAME_FIELD(SYSTEMTIME, wDay)
CV_SAME_FIELD(SYSTEMTIME, wHour)
CV_SAME_FIELD(SYSTEMTIME, wMinute)
CV_SAME_FIELD(SYSTEMTIME, wSecond)
CV_SAME_FIELD(SYSTEMTIME, wMilliseconds)
CV_SAME_SIZE(WIN32_FIND_DATAA)
CV_SAME_FIELD(WIN32_FIND_DATAA, dwFileAttributes)
CV_SAME_FIELD(WIN32_FIND_DATAA, nFileSizeHigh)
CV_SAME_FIELD(WIN32_FIND_DATAA, nFileSizeLow)
CV_SAME_FIELD(WIN32_FIND_DATAA, cFileName)
CV_SAME_FIELD(WIN32_FIND_DATAA, cAlternateFileName)

CV_SAME_SIZE(SP_DEVINFO_DATA)
static_assert(sizeof(::SP_DEVINFO_DATA) == 28, "the 32-bit program's device record is 28 bytes");
CV_SAME_FIELD(SP_DEVINFO_DATA, cbSize)
CV_SAME_FIELD(SP_DEVINFO_DATA, ClassGuid)
CV_SAME_FIELD(SP_DEVINFO_DATA, DevInst)
CV_SAME_FIELD(SP_DEVINFO_DATA, Reserved)

CV_SAME_SIZE(INITCOMMONCONTROLSEX)
CV_SAME_FIELD(INITCOMMONCONTROLSEX, dwSize)
CV_SAME_FIELD(INITCOMMONCONTROLSEX, dwICC)

CV_SAME_SIZE(SHITEMID)
CV_SAME_FIELD(SHITEMID, cb)
CV_SAME_FIELD(SHITEMID, abID)
CV_SAME_SIZE(ITEMIDLIST)

CV_SAME_SIZE(STRRET)
CV_SAME_FIELD(STRRET, uType)
CV_SAME_FIELD(STRRET, pOleStr)
CV_SAME_FIELD(STRRET, uOffset)
CV_SAME_FIELD(STRRET, cStr)

CV_SAME_SIZE(SHFILEINFOA)
CV_SAME_FIELD(SHFILEINFOA, hIcon)
CV_SAME_FIELD(SHFILEINFOA, iIcon)
CV_SAME_FIELD(SHFILEINFOA, dwAttributes)
CV_SAME_FIELD(SHFILEINFOA, szDisplayName)
CV_SAME_FIELD(SHFILEINFOA, szTypeName)

CV_SAME_SIZE(SHChangeNotifyEntry)
CV_SAME_FIELD(SHChangeNotifyEntry, pidl)
CV_SAME_FIELD(SHChangeNotifyEntry, fRecursive)

CV_SAME_SIZE(LUID)
CV_SAME_FIELD(LUID, LowPart)
CV_SAME_FIELD(LUID, HighPart)
CV_SAME_SIZE(LUID_AND_ATTRIBUTES)
CV_SAME_FIELD(LUID_AND_ATTRIBUTES, Luid)
CV_SAME_FIELD(LUID_AND_ATTRIBUTES, Attributes)
CV_SAME_SIZE(SID_IDENTIFIER_AUTHORITY)
CV_SAME_FIELD(SID_IDENTIFIER_AUTHORITY, Value)
static_assert(
    [] {
        const ::SID_IDENTIFIER_AUTHORITY sdk = SECURITY_NT_AUTHORITY;
        for (int i = 0; i < 6; ++i) {
            if (kOurs_SECURITY_NT_AUTHORITY.Value[i] != sdk.Value[i]) {
                return false;
            }
        }
        return true;
    }(),
    "SECURITY_NT_AUTHORITY differs from the SDK's value");

CV_SAME_SIZE(TOKEN_PRIVILEGES)
CV_SAME_FIELD(TOKEN_PRIVILEGES, PrivilegeCount)
CV_SAME_FIELD(TOKEN_PRIVILEGES, Privileges)

#undef CV_SAME_FIELD
#undef CV_SAME_SIZE

// The scalar types that the calls hand through as they are.
static_assert(sizeof(platform::WCHAR) == sizeof(::WCHAR) && sizeof(platform::DWORD) == sizeof(::DWORD) &&
              sizeof(platform::LONG) == sizeof(::LONG) && sizeof(platform::ULONG) == sizeof(::ULONG) &&
              sizeof(platform::SFGAOF) == sizeof(::SFGAOF) && sizeof(platform::WPARAM) == sizeof(::WPARAM) &&
              sizeof(platform::LPARAM) == sizeof(::LPARAM) &&
              sizeof(platform::LRESULT) == sizeof(::LRESULT) &&
              sizeof(platform::DWORD_PTR) == sizeof(::DWORD_PTR) &&
              sizeof(platform::HDEVINFO) == sizeof(::HDEVINFO));

}  // namespace
