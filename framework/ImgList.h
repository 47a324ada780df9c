// Image lists: a handle to a list of small pictures that controls draw from. A list whose images are
// shared (the shell's system image list) belongs to someone else and is never destroyed here.
#pragma once

#include <functional>

#include "framework/Classes.h"
#include "platform/Shell.h"

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomImageList() override;

    // A list given by its source is fetched here, on the first question.
    platform::HIMAGELIST Handle() const;
    // Takes `handle` in place of the list held so far, which is destroyed unless it is shared.
    void SetHandle(platform::HIMAGELIST handle);
    // The list will be whatever `source` answers when the handle is first needed: a list that is costly
    // to make is then made only if something draws from it.
    void SetHandleSource(std::function<platform::HIMAGELIST()> source);
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool shareImages) { shareImages_ = shareImages; }
    bool Masked() const { return masked_; }
    void SetMasked(bool masked) { masked_ = masked; }

private:
    void FreeHandle();

    mutable platform::HIMAGELIST handle_ = nullptr;
    mutable std::function<platform::HIMAGELIST()> source_;
    bool shareImages_ = false;
    bool masked_ = true;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
