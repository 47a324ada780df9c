// Controls: the state every control holds, and the containers that hold controls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Backend.h"
#include "framework/Classes.h"

class TWinControl;
class TForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    TRect BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // A button's or label's caption, an edit box's text: one string either way.
    const std::string& Caption() const { return text_; }
    void SetCaption(std::string text);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The font the control draws with: its own, or its parent's while ParentFont holds.
    const TFont& Font() const;
    void SetFont(const TFont& font);
    bool ParentFont() const { return parentFont_; }

    int TabOrder() const { return tabOrder_; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    TAlign Align() const { return align_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    virtual void Click();
    virtual void DblClick();

    // Sets one property by its name and textual value, as a window layout gives it. A name or value
    // this control does not know is a fault in the layout: it raises std::invalid_argument.
    virtual void SetProperty(std::string_view name, std::string_view value);

    ControlPeer* Peer() const { return peer_.get(); }

protected:
    void Changed(Aspect aspect);
    // The control's width or height changed.
    virtual void Resize() {}
    // The control can no longer take the focus: if it, or a control inside it, has it, the form takes it.
    void GiveUpFocus();
    void AttachPeer(std::unique_ptr<ControlPeer> peer);

    TRect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    TColor color_ = clBtnFace;
    TFont font_;
    bool parentFont_ = true;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    TAlign align_ = alNone;

private:
    friend class TWinControl;
    void DetachFromParent() { parent_ = nullptr; }

    TWinControl* parent_ = nullptr;
    std::unique_ptr<ControlPeer> peer_;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    const std::vector<TControl*>& Controls() const { return controls_; }
    // Whether the control is on the screen: visible, and so are all its parents.
    virtual bool Showing() const;

    // The window's own controls that take the focus with Tab, in their tab order.
    std::vector<TControl*> TabList() const;

    // Whether a person can put the focus here now: the control and every parent visible and enabled,
    // on a form that is on the screen.
    bool CanFocus() const;
    // Gives the control the focus within its form; a control that cannot take it is left alone.
    void SetFocus();

private:
    friend class TControl;
    std::vector<TControl*> controls_;
};

// Parsers for the textual property values of window layouts.
namespace layoutvalue {
[[noreturn]] void Unknown(std::string_view what, std::string_view name);
// A value named in a table of names.
template <class Value>
Value Named(std::string_view value, const std::map<std::string_view, Value>& names, std::string_view what) {
    auto found = names.find(value);
    if (found == names.end()) {
        Unknown(what, value);
    }
    return found->second;
}
// A set written as "[a, b]": the union of the named bits.
unsigned Set(std::string_view value, const std::map<std::string_view, unsigned>& names,
             std::string_view what);
int Int(std::string_view value);
bool Bool(std::string_view value);
TColor Color(std::string_view value);
int Charset(std::string_view value);
TFontStyles FontStyles(std::string_view value);
}  // namespace layoutvalue
