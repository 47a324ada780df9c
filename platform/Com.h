// COM as the shell uses it: interface identifiers, reference-counted interfaces, the task allocator,
// and a counted reference that releases what it holds.
//
// The interfaces have the methods of the Windows ones that the program calls, with the same names,
// arguments in the same order and the same HRESULTs. They are C++ classes, not the binary COM layout:
// the Win32 backend wraps each real object in one of these.
#pragma once

#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/Types.h"

namespace platform {

using ULONG = std::uint32_t;
using SIZE_T = std::size_t;

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
using IID = GUID;
using REFIID = const IID&;

inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMalloc{0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;  // an object goes through Release, never through delete
};

// The task allocator: item ID lists and wide strings that the shell hands out come from it, and go
// back to it.
class IMalloc : public IUnknown {
public:
    virtual void* Alloc(SIZE_T cb) = 0;
    virtual void* Realloc(void* pv, SIZE_T cb) = 0;
    virtual void Free(void* pv) = 0;
    virtual SIZE_T GetSize(void* pv) = 0;
    // 1 when this allocator made the block, 0 when not, -1 when it cannot tell.
    virtual int DidAlloc(void* pv) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};

inline constexpr DWORD MEMCTX_TASK = 1;

HRESULT CoGetMalloc(DWORD dwMemContext, IMalloc** ppMalloc);
void* CoTaskMemAlloc(SIZE_T cb);
void CoTaskMemFree(void* pv);

// One counted reference to an interface: copying adds a reference, going out of scope releases it.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(std::nullptr_t) const { return p_ == nullptr; }

    void reset() {
        if (T* held = std::exchange(p_, nullptr)) {
            held->Release();
        }
    }
    // For an out argument that hands over a reference: releases what was held first.
    T** put() {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

}  // namespace platform
