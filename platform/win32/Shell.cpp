// The shell namespace on the real API: the system's folder and enumerator objects behind the layer's
// own interfaces, and the shell's path, special-folder and icon calls. Item ID lists and name answers
// are the shell's own bytes and pass through as they are.
#include "platform/Shell.h"
#include "platform/win32/Wrapped.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

namespace platform {

static_assert(sizeof(STRRET) == sizeof(::STRRET));
static_assert(sizeof(SHFILEINFOA) == sizeof(::SHFILEINFOA));
static_assert(sizeof(SFGAOF) == sizeof(::SFGAOF) && sizeof(ULONG) == sizeof(::ULONG));
static_assert(sizeof(IID) == sizeof(::IID));

namespace {

class EnumIdList final : public Wrapped<IEnumIDList, ::IEnumIDList> {
public:
    using Wrapped::Wrapped;

    HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) override {
        return real_->Next(celt, reinterpret_cast<::LPITEMIDLIST*>(rgelt),
                           reinterpret_cast<::ULONG*>(pceltFetched));
    }
    HRESULT Skip(ULONG celt) override { return real_->Skip(celt); }
    HRESULT Reset() override { return real_->Reset(); }

private:
    const IID& OwnIid() const override { return IID_IEnumIDList; }
};

class ShellFolder final : public Wrapped<IShellFolder, ::IShellFolder> {
public:
    using Wrapped::Wrapped;

    HRESULT ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten,
                             LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override {
        return real_->ParseDisplayName(
            reinterpret_cast<::HWND>(hwnd), reinterpret_cast<::IBindCtx*>(pbc),
            reinterpret_cast<::LPWSTR>(pszDisplayName), reinterpret_cast<::ULONG*>(pchEaten),
            reinterpret_cast<::LPITEMIDLIST*>(ppidl), reinterpret_cast<::ULONG*>(pdwAttributes));
    }
    HRESULT EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) override {
        ::IEnumIDList* real = nullptr;
        const HRESULT result = real_->EnumObjects(reinterpret_cast<::HWND>(hwnd), grfFlags, &real);
        // S_FALSE with no enumerator: the folder has nothing to list.
        *ppenumIDList = real != nullptr ? new EnumIdList(real) : nullptr;
        return result;
    }
    // Only folders are bound to: another interface is refused as the shell refuses an unknown one.
    HRESULT BindToObject(LPCITEMIDLIST pidl, IBindCtx* pbc, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (!(riid == IID_IShellFolder)) {
            return E_NOINTERFACE;
        }
        void* real = nullptr;
        const HRESULT result =
            real_->BindToObject(reinterpret_cast<::LPCITEMIDLIST>(pidl), reinterpret_cast<::IBindCtx*>(pbc),
                                reinterpret_cast<const ::IID&>(riid), &real);
        if (SUCCEEDED(result) && real != nullptr) {
            *ppv = static_cast<IShellFolder*>(new ShellFolder(static_cast<::IShellFolder*>(real)));
        }
        return result;
    }
    HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) override {
        return real_->GetAttributesOf(cidl, reinterpret_cast<::LPCITEMIDLIST*>(apidl),
                                      reinterpret_cast<::SFGAOF*>(rgfInOut));
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) override {
        return real_->GetDisplayNameOf(reinterpret_cast<::LPCITEMIDLIST>(pidl), uFlags,
                                       reinterpret_cast<::STRRET*>(pName));
    }

private:
    const IID& OwnIid() const override { return IID_IShellFolder; }
};

}  // namespace

HRESULT SHGetDesktopFolder(IShellFolder** ppshf) {
    ::IShellFolder* real = nullptr;
    const HRESULT result = ::SHGetDesktopFolder(&real);
    *ppshf = SUCCEEDED(result) && real != nullptr ? new ShellFolder(real) : nullptr;
    return result;
}

HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, LPITEMIDLIST* ppidl) {
    return ::SHGetSpecialFolderLocation(reinterpret_cast<::HWND>(hwndOwner), nFolder,
                                        reinterpret_cast<::LPITEMIDLIST*>(ppidl));
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
    return ::SHGetPathFromIDListA(reinterpret_cast<::LPCITEMIDLIST>(pidl), pszPath);
}

DWORD_PTR SHGetFileInfoA(LPCSTR pszPath, DWORD dwFileAttributes, SHFILEINFOA* psfi, UINT cbFileInfo,
                         UINT uFlags) {
    return ::SHGetFileInfoA(pszPath, dwFileAttributes, reinterpret_cast<::SHFILEINFOA*>(psfi), cbFileInfo,
                            uFlags);
}

}  // namespace platform
