#include "framework/Buttons.h"

#include "framework/Forms.h"

TBitBtn::TBitBtn(TComponent* AOwner) : TWinControl(AOwner) {}

void TBitBtn::Click() {
    if (auto* form = ParentForm()) {
        form->SetModalResult(modalResult_);
    }
    TWinControl::Click();
}

void TBitBtn::SetProperty(std::string_view name, std::string_view value) {
    if (name == "ModalResult") {
        modalResult_ = layoutvalue::Int(value);
    } else {
        TWinControl::SetProperty(name, value);
    }
}
