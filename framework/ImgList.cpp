#include "framework/ImgList.h"

#include <utility>

#include "framework/Backend.h"

TCustomImageList::~TCustomImageList() {
    FreeHandle();
}

platform::HIMAGELIST TCustomImageList::Handle() const {
    if (source_) {
        handle_ = std::exchange(source_, nullptr)();
    }
    return handle_;
}

void TCustomImageList::SetHandle(platform::HIMAGELIST handle) {
    source_ = nullptr;
    if (handle == handle_) {
        return;
    }
    FreeHandle();
    handle_ = handle;
}

void TCustomImageList::SetHandleSource(std::function<platform::HIMAGELIST()> source) {
    FreeHandle();
    source_ = std::move(source);
}

void TCustomImageList::FreeHandle() {
    if (handle_ != nullptr && !shareImages_) {
        backend::DestroyImageList(handle_);
    }
    handle_ = nullptr;
}
