#include "framework/ImgList.h"

#include "framework/Backend.h"

TCustomImageList::~TCustomImageList() {
    FreeHandle();
}

void TCustomImageList::SetHandle(platform::HIMAGELIST handle) {
    if (handle == handle_) {
        return;
    }
    FreeHandle();
    handle_ = handle;
}

void TCustomImageList::FreeHandle() {
    if (handle_ != nullptr && !shareImages_) {
        backend::DestroyImageList(handle_);
    }
    handle_ = nullptr;
}
