// Image lists: a handle to a list of small pictures that controls draw from. A list whose images are
// shared (the shell's system image list) belongs to someone else and is never destroyed here.
#pragma once

#include "framework/Classes.h"
#include "platform/Shell.h"

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomImageList() override;

    platform::HIMAGELIST Handle() const { return handle_; }
    // Takes `handle` in place of the list held so far, which is destroyed unless it is shared.
    void SetHandle(platform::HIMAGELIST handle);
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool shareImages) { shareImages_ = shareImages; }
    bool Masked() const { return masked_; }
    void SetMasked(bool masked) { masked_ = masked; }

private:
    void FreeHandle();

    platform::HIMAGELIST handle_ = nullptr;
    bool shareImages_ = false;
    bool masked_ = true;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
