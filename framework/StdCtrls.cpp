#include "framework/StdCtrls.h"

void TStrings::Clear() {
    lines_.clear();
    if (OnChange) {
        OnChange();
    }
}

void TStrings::Add(std::string line) {
    lines_.push_back(std::move(line));
    if (OnChange) {
        OnChange();
    }
}

std::string TStrings::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TLabel::SetProperty(std::string_view name, std::string_view value) {
    if (name == "AutoSize") {
        autoSize_ = layoutvalue::Bool(value);
    } else {
        TGraphicControl::SetProperty(name, value);
    }
}

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner), Lines(new TStrings) {
    color_ = clWindow;
    Lines->OnChange = [this] { Changed(Aspect::Lines); };
}

TMemo::~TMemo() {
    delete Lines;
}

void TMemo::SetProperty(std::string_view name, std::string_view value) {
    if (name == "Lines") {
        // The layout gives the lines separated by line feeds.
        Lines->Clear();
        while (!value.empty()) {
            const auto feed = value.find('\n');
            Lines->Add(std::string(value.substr(0, feed)));
            value = feed == std::string_view::npos ? std::string_view{} : value.substr(feed + 1);
        }
    } else if (name == "WordWrap") {
        wordWrap_ = layoutvalue::Bool(value);
        Changed(Aspect::Style);
    } else if (name == "ReadOnly") {
        readOnly_ = layoutvalue::Bool(value);
        Changed(Aspect::Style);
    } else if (name == "BorderStyle") {
        borderStyle_ = layoutvalue::Named<TBorderStyle>(value, {{"bsNone", bsNone}, {"bsSingle", bsSingle}},
                                                        "border style");
        Changed(Aspect::Style);
    } else {
        TWinControl::SetProperty(name, value);
    }
}

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
    color_ = clWindow;
}
