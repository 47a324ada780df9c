#include "framework/ExtCtrls.h"

void TImage::SetProperty(std::string_view name, std::string_view value) {
    if (name == "Picture") {
        picture_ = std::string(value);
        Changed(Aspect::Picture);
    } else if (name == "Stretch") {
        stretch_ = layoutvalue::Bool(value);
        Changed(Aspect::Picture);
    } else {
        TGraphicControl::SetProperty(name, value);
    }
}

void TBevel::SetProperty(std::string_view name, std::string_view value) {
    if (name == "Shape") {
        if (value != "bsBox") {
            layoutvalue::Unknown("bevel shape", value);
        }
        shape_ = bsBox;
    } else if (name == "Style") {
        if (value != "bsLowered" && value != "bsRaised") {
            layoutvalue::Unknown("bevel style", value);
        }
        style_ = value == "bsLowered" ? bsLowered : bsRaised;
    } else {
        TGraphicControl::SetProperty(name, value);
    }
}
