// The task allocator on the real API, behind the layer's own IMalloc.
#include "platform/Com.h"
#include "platform/win32/Wrapped.h"

#include <windows.h>
#include <objbase.h>

namespace platform {

namespace {

// Our interface over the system's allocator.
class TaskAllocator final : public Wrapped<IMalloc, ::IMalloc> {
public:
    using Wrapped::Wrapped;

    void* Alloc(SIZE_T cb) override { return real_->Alloc(cb); }
    void* Realloc(void* pv, SIZE_T cb) override { return real_->Realloc(pv, cb); }
    void Free(void* pv) override { real_->Free(pv); }
    SIZE_T GetSize(void* pv) override { return real_->GetSize(pv); }
    int DidAlloc(void* pv) override { return real_->DidAlloc(pv); }
    void HeapMinimize() override { real_->HeapMinimize(); }

private:
    const IID& OwnIid() const override { return IID_IMalloc; }
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
