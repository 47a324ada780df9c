// The shell namespace on the real API: the system's folder and enumerator objects behind the layer's
// own interfaces, and the shell's path, special-folder and icon calls. Item ID lists and name answers
// are the shell's own bytes and pass through as they are.
#include "platform/Shell.h"
#include "platform/win32/Wrapped.h"

#include <cstring>
#include <utility>
#include <vector>

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

namespace platform {

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

// A copy of an item ID list, terminator included.
std::vector<BYTE> CopyList(::LPCITEMIDLIST list) {
    const auto* bytes = reinterpret_cast<const BYTE*>(list);
    std::size_t size = 0;
    for (WORD cb = 0; std::memcpy(&cb, bytes + size, sizeof cb), cb != 0;) {
        size += cb;
    }
    return std::vector<BYTE>(bytes, bytes + size + sizeof(WORD));
}

// A folder object. One that a folder hands out for a child is bound to the system's folder only when it
// is first used: binding a file-system folder costs the shell more than everything else the tree asks
// about a new node together (under Wine, registry reads and a look for the folder's desktop.ini, some
// 60 microseconds a folder), and most folders of a level that is shown are never opened. Should the
// binding fail, that first use fails with its error, which the tree takes like the failed binding it
// stands for: the node keeps its button and does not open.
class ShellFolder final : public Wrapped<IShellFolder, ::IShellFolder> {
public:
    explicit ShellFolder(::IShellFolder* real) : Wrapped(real) {}
    ShellFolder(::IShellFolder* parent, std::vector<BYTE> child)
        : Wrapped(nullptr), parent_(parent), child_(std::move(child)) {
        parent_->AddRef();
    }

    HRESULT ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten,
                             LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override {
        if (const HRESULT bound = Bind(); FAILED(bound)) {
            *ppidl = nullptr;
            return bound;
        }
        return real_->ParseDisplayName(
            reinterpret_cast<::HWND>(hwnd), reinterpret_cast<::IBindCtx*>(pbc),
            reinterpret_cast<::LPWSTR>(pszDisplayName), reinterpret_cast<::ULONG*>(pchEaten),
            reinterpret_cast<::LPITEMIDLIST*>(ppidl), reinterpret_cast<::ULONG*>(pdwAttributes));
    }
    HRESULT EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) override {
        *ppenumIDList = nullptr;
        if (const HRESULT bound = Bind(); FAILED(bound)) {
            return bound;
        }
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
        if (const HRESULT bound = Bind(); FAILED(bound)) {
            return bound;
        }
        if (pbc == nullptr && pidl != nullptr) {
            *ppv = static_cast<IShellFolder*>(
                new ShellFolder(real_, CopyList(reinterpret_cast<::LPCITEMIDLIST>(pidl))));
            return S_OK;
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
        if (const HRESULT bound = Bind(); FAILED(bound)) {
            return bound;
        }
        return real_->GetAttributesOf(cidl, reinterpret_cast<::LPCITEMIDLIST*>(apidl),
                                      reinterpret_cast<::SFGAOF*>(rgfInOut));
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) override {
        if (const HRESULT bound = Bind(); FAILED(bound)) {
            return bound;
        }
        return real_->GetDisplayNameOf(reinterpret_cast<::LPCITEMIDLIST>(pidl), uFlags,
                                       reinterpret_cast<::STRRET*>(pName));
    }

private:
    ~ShellFolder() override { Unbound(); }
    const IID& OwnIid() const override { return IID_IShellFolder; }

    // The system's folder, bound now if it was not yet; a failed binding stays the answer.
    HRESULT Bind() {
        if (real_ != nullptr || parent_ == nullptr) {
            return real_ != nullptr ? S_OK : bindResult_;
        }
        void* real = nullptr;
        bindResult_ = parent_->BindToObject(reinterpret_cast<::LPCITEMIDLIST>(child_.data()), nullptr,
                                            reinterpret_cast<const ::IID&>(IID_IShellFolder), &real);
        if (SUCCEEDED(bindResult_) && real == nullptr) {
            bindResult_ = E_FAIL;
        }
        real_ = SUCCEEDED(bindResult_) ? static_cast<::IShellFolder*>(real) : nullptr;
        Unbound();
        return bindResult_;
    }
    void Unbound() {
        if (parent_ != nullptr) {
            parent_->Release();
            parent_ = nullptr;
        }
        child_.clear();
    }

    ::IShellFolder* parent_ = nullptr;
    std::vector<BYTE> child_;  // relative to the parent
    HRESULT bindResult_ = S_OK;
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
