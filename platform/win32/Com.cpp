// The task allocator on the real API, behind the layer's own IMalloc.
#include "platform/Com.h"

#include <windows.h>
#include <objbase.h>

namespace platform {

namespace {

// Our interface over the system's allocator; it holds one reference to it.
class TaskAllocator final : public IMalloc {
public:
    explicit TaskAllocator(::IMalloc* real) : real_(real) {}

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *ppvObject = this;
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        if (--references_ != 0) {
            return references_;
        }
        real_->Release();
        delete this;
        return 0;
    }

    void* Alloc(SIZE_T cb) override { return real_->Alloc(cb); }
    void* Realloc(void* pv, SIZE_T cb) override { return real_->Realloc(pv, cb); }
    void Free(void* pv) override { real_->Free(pv); }
    SIZE_T GetSize(void* pv) override { return real_->GetSize(pv); }
    int DidAlloc(void* pv) override { return real_->DidAlloc(pv); }
    void HeapMinimize() override { real_->HeapMinimize(); }

private:
    ::IMalloc* real_;
    ULONG references_ = 1;
};

}  // namespace

HRESULT CoGetMalloc(DWORD dwMemContext, IMalloc** ppMalloc) {
    ::IMalloc* real = nullptr;
    const HRESULT result = ::CoGetMalloc(dwMemContext, &real);
    *ppMalloc = SUCCEEDED(result) ? new TaskAllocator(real) : nullptr;
    return result;
}

void* CoTaskMemAlloc(SIZE_T cb) {
    return ::CoTaskMemAlloc(cb);
}

void CoTaskMemFree(void* pv) {
    ::CoTaskMemFree(pv);
}

}  // namespace platform
