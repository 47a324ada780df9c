#include "framework/Buttons.h"

TBitBtn::TBitBtn(TComponent* AOwner) : TWinControl(AOwner) {}

void TBitBtn::SetProperty(std::string_view name, std::string_view value) {
    if (name == "ModalResult") {
        modalResult_ = layoutvalue::Int(value);
    } else {
        TWinControl::SetProperty(name, value);
    }
}
