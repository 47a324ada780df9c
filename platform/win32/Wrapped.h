// Our interfaces over the system's COM objects: each wrapper keeps its own reference count over one
// reference to the object it stands for.
#pragma once

#include "platform/Com.h"

#include <windows.h>
#include <objbase.h>

namespace platform {

// What every wrapper shares: its own reference count over one reference to the system's object.
template <class Interface, class Real>
class Wrapped : public Interface {
public:
    explicit Wrapped(Real* real) : real_(real) {}

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        if (riid == IID_IUnknown || riid == OwnIid()) {
            *ppvObject = this;
            this->AddRef();
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
        if (real_ != nullptr) {  // a wrapper may stand for an object it has not made yet
            real_->Release();
        }
        delete this;
        return 0;
    }

protected:
    virtual ~Wrapped() = default;
    virtual const IID& OwnIid() const = 0;
    Real* real_;

private:
    ULONG references_ = 1;
};

}  // namespace platform
