#include "framework/Controls.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <stdexcept>

#include "framework/Forms.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
    if (parent_ != nullptr) {
        GiveUpFocus();
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) {
        return;
    }
    if (parent_ != nullptr) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_ != nullptr) {
        parent_->controls_.push_back(this);
        if (!peer_) {
            AttachPeer(backend::CreateControlPeer(*this));
        }
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const TRect bounds{left, top, left + width, top + height};
    if (bounds == bounds_) {
        return;
    }
    const bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
    bounds_ = bounds;
    Changed(Aspect::Bounds);
    if (resized) {
        Resize();
    }
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    Changed(Aspect::Visible);
    if (!visible) {
        GiveUpFocus();
    }
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Changed(Aspect::Enabled);
    if (!enabled) {
        GiveUpFocus();
    }
}

void TControl::SetCaption(std::string text) {
    if (text_ == text) {
        return;
    }
    text_ = std::move(text);
    Changed(Aspect::Text);
}

void TControl::SetColor(TColor color) {
    color_ = color;
    Changed(Aspect::Color);
}

const TFont& TControl::Font() const {
    if (parentFont_ && parent_ != nullptr) {
        return parent_->Font();
    }
    return font_;
}

void TControl::SetFont(const TFont& font) {
    font_ = font;
    parentFont_ = false;
    Changed(Aspect::Font);
}

void TControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    Changed(Aspect::TabOrder);
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::Changed(Aspect aspect) {
    if (peer_) {
        peer_->Changed(aspect);
    }
}

// The form takes the focus rather than leave it on a control that no key reaches: Tab then starts
// again from the form's first stop.
void TControl::GiveUpFocus() {
    TForm* form = GetParentForm(*this);
    if (form == nullptr || form == this) {
        return;
    }
    for (const TControl* at = form->FocusedControl(); at != nullptr; at = at->Parent()) {
        if (at == this) {
            form->FocusControl(nullptr);
            return;
        }
    }
}

void TControl::AttachPeer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
}

void TControl::SetProperty(std::string_view name, std::string_view value) {
    using namespace layoutvalue;
    if (name == "Left") {
        SetBounds(Int(value), Top(), Width(), Height());
    } else if (name == "Top") {
        SetBounds(Left(), Int(value), Width(), Height());
    } else if (name == "Width") {
        SetBounds(Left(), Top(), Int(value), Height());
    } else if (name == "Height") {
        SetBounds(Left(), Top(), Width(), Int(value));
    } else if (name == "Caption" || name == "Text") {
        SetCaption(std::string(value));
    } else if (name == "Color") {
        SetColor(layoutvalue::Color(value));
    } else if (name == "Visible") {
        SetVisible(Bool(value));
    } else if (name == "Enabled") {
        SetEnabled(Bool(value));
    } else if (name == "TabOrder") {
        tabOrder_ = Int(value);
        Changed(Aspect::TabOrder);
    } else if (name == "TabStop") {
        SetTabStop(Bool(value));
    } else if (name == "ParentFont") {
        parentFont_ = Bool(value);
        Changed(Aspect::Font);
    } else if (name == "Align") {
        align_ = Named<TAlign>(value,
                               {{"alNone", alNone},
                                {"alTop", alTop},
                                {"alBottom", alBottom},
                                {"alLeft", alLeft},
                                {"alRight", alRight},
                                {"alClient", alClient}},
                               "alignment");
        Changed(Aspect::Bounds);
    } else if (name.starts_with("Font.")) {
        TFont font = Font();
        const auto part = name.substr(5);
        if (part == "Name") {
            font.Name = std::string(value);
        } else if (part == "Charset") {
            font.Charset = Charset(value);
        } else if (part == "Height") {
            font.Height = Int(value);
        } else if (part == "Style") {
            font.Style = FontStyles(value);
        } else if (part == "Color") {
            font.Color = layoutvalue::Color(value);
        } else {
            Unknown("property", name);
        }
        SetFont(font);
    } else {
        Unknown("property", name);
    }
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    tabStop_ = true;
}

TWinControl::~TWinControl() {
    for (auto* control : controls_) {
        control->DetachFromParent();  // its owner destroys it later
    }
}

bool TWinControl::Showing() const {
    return Visible() && (Parent() == nullptr || Parent()->Showing());
}

std::vector<TControl*> TWinControl::TabList() const {
    std::vector<TControl*> list;
    for (auto* control : controls_) {
        if (control->TabStop() && dynamic_cast<TWinControl*>(control) != nullptr) {
            list.push_back(control);
        }
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
    return list;
}

bool TWinControl::CanFocus() const {
    for (const TControl* at = this; at != nullptr; at = at->Parent()) {
        if (!at->Visible() || !at->Enabled()) {
            return false;
        }
    }
    const TForm* form = GetParentForm(*this);
    return form != nullptr && form->Showing();
}

void TWinControl::SetFocus() {
    if (CanFocus()) {
        GetParentForm(*this)->FocusControl(this);
    }
}

namespace layoutvalue {

void Unknown(std::string_view what, std::string_view name) {
    throw std::invalid_argument("unknown " + std::string(what) + " '" + std::string(name) + "'");
}

int Int(std::string_view value) {
    int result = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc{} || end != value.data() + value.size()) {
        Unknown("number", value);
    }
    return result;
}

bool Bool(std::string_view value) {
    if (value == "True") {
        return true;
    }
    if (value != "False") {
        Unknown("Boolean", value);
    }
    return false;
}

TColor Color(std::string_view value) {
    static const std::map<std::string_view, TColor> colors{
        {"clBlack", clBlack},
        {"clBlue", clBlue},
        {"clWhite", clWhite},
        {"clMenu", clMenu},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clInactiveBorder", clInactiveBorder},
        {"clBtnFace", clBtnFace},
        {"clInactiveCaptionText", clInactiveCaptionText},
        {"clInfoBk", clInfoBk},
    };
    return Named(value, colors, "colour");
}

int Charset(std::string_view value) {
    static const std::map<std::string_view, int> charsets{{"ANSI_CHARSET", ANSI_CHARSET},
                                                          {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                                          {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
                                                          {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}};
    return Named(value, charsets, "character set");
}

unsigned Set(std::string_view value, const std::map<std::string_view, unsigned>& names,
             std::string_view what) {
    if (value.size() < 2 || value.front() != '[' || value.back() != ']') {
        Unknown("set", value);
    }
    unsigned result = 0;
    auto items = value.substr(1, value.size() - 2);
    while (!items.empty()) {
        const auto comma = items.find(',');
        auto item = items.substr(0, comma);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        result |= Named(item, names, what);
        items = comma == std::string_view::npos ? std::string_view{} : items.substr(comma + 1);
    }
    return result;
}

TFontStyles FontStyles(std::string_view value) {
    return Set(value,
               {{"fsBold", fsBold},
                {"fsItalic", fsItalic},
                {"fsUnderline", fsUnderline},
                {"fsStrikeOut", fsStrikeOut}},
               "font style");
}

}  // namespace layoutvalue
