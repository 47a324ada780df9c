// Push buttons.
#pragma once

#include "framework/Controls.h"

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrCancel = 2;

class TBitBtn : public TWinControl {
public:
    explicit TBitBtn(TComponent* AOwner);
    // The dialog result the layout gives the button. No window of the program is shown modally, so a
    // click ends no dialog with it.
    TModalResult ModalResult() const { return modalResult_; }
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    TModalResult modalResult_ = mrNone;
};
