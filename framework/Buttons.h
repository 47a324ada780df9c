// Push buttons.
#pragma once

#include "framework/Controls.h"

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;

class TBitBtn : public TWinControl {
public:
    explicit TBitBtn(TComponent* AOwner);
    TModalResult ModalResult() const { return modalResult_; }
    // Hands the button's modal result to its form, then raises OnClick.
    void Click() override;
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    TModalResult modalResult_ = mrNone;
};
