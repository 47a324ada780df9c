// The controls' windows: standard BUTTON, EDIT and STATIC windows, so that a screen reader or an
// automation tool finds each control by its class and text.
#include <map>
#include <tuple>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/win32/Win32Windows.h"

namespace win32 {

namespace {

// Each control gets an identifier of its own, as dialog controls have; nothing looks it up, but tools
// that list windows show it.
int NextControlId() {
    static int id = 100;
    return ++id;
}

// Lines as a multi-line edit control holds them: separated, not ended, by CR LF.
std::string JoinedLines(const TStrings& lines) {
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines[i];
    }
    return text;
}

std::string WindowTextOf(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class ButtonWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void Notify(WORD code) override {
        if (code == BN_CLICKED && Application != nullptr) {
            Application->Dispatch([this] { Control().Click(); });
        }
    }
    HBRUSH Colors(HDC /*dc*/) override { return nullptr; }

protected:
    Kind WindowKind() const override { return {"BUTTON", BS_PUSHBUTTON, 0}; }
};

// A memo is shown, not read back: the program sets its lines and never reads what a person typed.
class MemoWindow : public ControlWindow {
public:
    MemoWindow(TMemo& memo) : ControlWindow(memo), memo_(memo) {}

protected:
    Kind WindowKind() const override {
        DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT;
        if (!memo_.WordWrap()) {
            style |= ES_AUTOHSCROLL;  // without it, a multi-line edit control wraps its lines
        }
        if (memo_.ReadOnly()) {
            style |= ES_READONLY;
        }
        return {"EDIT", style, memo_.BorderStyle() == bsNone ? 0u : DWORD{WS_EX_CLIENTEDGE}};
    }
    std::string WindowText() const override { return JoinedLines(*memo_.Lines); }

private:
    TMemo& memo_;
};

// What a person types goes back into the edit box's text, which the program reads.
class EditWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    void Notify(WORD code) override {
        if (code == EN_CHANGE && !settingText_ && Application != nullptr) {
            const std::string typed = WindowTextOf(Hwnd());
            Application->Dispatch([this, &typed] { Control().SetCaption(typed); });
        }
    }
    void FocusedByTab() override { SendMessageA(Hwnd(), EM_SETSEL, 0, -1); }

protected:
    Kind WindowKind() const override { return {"EDIT", ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE}; }
    void AfterCreate() override {
        SendMessageA(Hwnd(), EM_LIMITTEXT, 0, 0);  // no limit but the system's
    }
};

class LabelWindow : public ControlWindow {
public:
    LabelWindow(TLabel& label) : ControlWindow(label), label_(label) {}
    void Changed(Aspect aspect) override {
        ControlWindow::Changed(aspect);
        if (Hwnd() != nullptr && (aspect == Aspect::Text || aspect == Aspect::Font)) {
            AfterCreate();
        }
    }

protected:
    Kind WindowKind() const override { return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0}; }
    // A label sizes itself to its text in its own font, which the layout cannot know when the system
    // substitutes the face.
    void AfterCreate() override {
        if (!label_.AutoSize() || label_.Caption().empty()) {
            return;
        }
        HDC dc = GetDC(Hwnd());
        HGDIOBJ old = SelectObject(dc, FontFor(label_.Font()));
        RECT text{0, 0, 0, 0};
        DrawTextA(dc, label_.Caption().c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(Hwnd(), dc);
        label_.SetBounds(label_.Left(), label_.Top(), text.right, text.bottom);
        MoveWindow(Hwnd(), label_.Left(), label_.Top(), text.right, text.bottom, TRUE);
    }

private:
    TLabel& label_;
};

// A bitmap of the program's resources at a size (0 by 0 for its own), loaded once and kept until the
// program ends: stretching it is slow, and a window made anew under another parent shows it again.
HBITMAP PictureFor(const std::string& name, int width, int height) {
    using Key = std::tuple<std::string, int, int>;
    static std::map<Key, GdiObject<HBITMAP>> pictures;
    auto [at, made] = pictures.try_emplace(Key{name, width, height});
    if (made) {
        at->second.reset(static_cast<HBITMAP>(
            LoadImageA(ProgramInstance(), name.c_str(), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR)));
    }
    return at->second.get();
}

// The picture is a bitmap of the program's resources, loaded at the control's size when it stretches.
class ImageWindow : public ControlWindow {
public:
    ImageWindow(TImage& image) : ControlWindow(image), image_(image) {}

protected:
    Kind WindowKind() const override { return {"STATIC", SS_BITMAP | SS_REALSIZEIMAGE, 0}; }
    std::string WindowText() const override { return {}; }
    void AfterCreate() override {
        if (image_.Picture().empty()) {
            return;
        }
        const bool stretch = image_.Stretch();
        HBITMAP bitmap =
            PictureFor(image_.Picture(), stretch ? image_.Width() : 0, stretch ? image_.Height() : 0);
        SendMessageA(Hwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }

private:
    TImage& image_;
};

// A lowered box: dark above and left, light below and right; at a height of a few pixels it is the
// separator line above the wizard's buttons.
class BevelWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;
    HBRUSH Colors(HDC dc) override {
        const TControl* parent = Control().Parent();
        const TColor color = parent != nullptr ? parent->Color() : clBtnFace;
        SetBkColor(dc, ColorRef(color));
        return BrushFor(color);
    }

protected:
    Kind WindowKind() const override { return {"STATIC", SS_SUNKEN, 0}; }
    std::string WindowText() const override { return {}; }
};

// A control of a kind this backend does not draw: it keeps its state and shows nothing.
class NoWindow : public ControlPeer {
public:
    void Changed(Aspect) override {}
};

}  // namespace

COLORREF ColorRef(TColor color) {
    return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color);
}

HBRUSH BrushFor(TColor color) {
    if (IsSystemColor(color)) {
        return GetSysColorBrush(SystemColorIndex(color));
    }
    static std::map<TColor, GdiObject<HBRUSH>> brushes;
    auto [at, made] = brushes.try_emplace(color);
    if (made) {
        at->second.reset(CreateSolidBrush(ColorRef(color)));
    }
    return at->second.get();
}

namespace {

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const std::string& name) {
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, name.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

// The face name's bytes go to the system as they are: on a system whose code page is the font's, the
// face is found. Elsewhere the face is substituted within the default character set rather than the
// font's own: a font chosen for its character set alone may lack the Latin letters of the program's
// texts (Wine's choice for Shift-JIS on a system without Japanese fonts draws every letter as a box).
HFONT FontFor(const TFont& font) {
    using Key = std::tuple<std::string, int, int, TFontStyles>;
    static std::map<Key, GdiObject<HFONT>> fonts;
    auto [at, made] = fonts.try_emplace(Key{font.Name, font.Charset, font.Height, font.Style});
    if (made) {
        const int charset = FaceInstalled(font.Name) ? font.Charset : DEFAULT_CHARSET;
        at->second.reset(CreateFontA(font.Height, 0, 0, 0, (font.Style & fsBold) != 0 ? FW_BOLD : FW_NORMAL,
                                     (font.Style & fsItalic) != 0, (font.Style & fsUnderline) != 0,
                                     (font.Style & fsStrikeOut) != 0, static_cast<BYTE>(charset),
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str()));
    }
    return at->second.get();
}

HINSTANCE ProgramInstance() {
    return GetModuleHandleA(nullptr);
}

HWND ParentHandle(const TControl& control) {
    const TControl* parent = control.Parent();
    const auto* window = parent != nullptr ? dynamic_cast<const Window*>(parent->Peer()) : nullptr;
    return window != nullptr ? window->Hwnd() : nullptr;
}

// The window may have gone with its form's; then the handle is no longer this peer's, and may even
// name another window by now.
ControlWindow::~ControlWindow() {
    if (handle_ != nullptr && IsWindow(handle_) &&
        GetWindowLongPtrA(handle_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        DestroyWindow(handle_);
    }
}

void ControlWindow::CreateHandle(HWND parent) {
    BeforeCreate();
    const Kind kind = WindowKind();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
    if (control_.Visible()) {
        style |= WS_VISIBLE;
    }
    if (!control_.Enabled()) {
        style |= WS_DISABLED;
    }
    if (control_.TabStop() && dynamic_cast<TWinControl*>(&control_) != nullptr) {
        style |= WS_TABSTOP;
    }
    const TRect bounds = control_.BoundsRect();
    handle_ = CreateWindowExA(kind.exStyle, kind.className, WindowText().c_str(), style, bounds.Left,
                              bounds.Top, bounds.Width(), bounds.Height(), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())),
                              ProgramInstance(), nullptr);
    if (handle_ == nullptr) {
        return;
    }
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control_.Font())), FALSE);
    AfterCreate();
}

// A change of style needs a new window; it takes the old one's place among its siblings.
void ControlWindow::Recreate() {
    HWND parent = GetParent(handle_);
    HWND before = GetWindow(handle_, GW_HWNDPREV);
    DestroyWindow(handle_);
    handle_ = nullptr;
    CreateHandle(parent);
    if (handle_ != nullptr) {
        SetWindowPos(handle_, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ControlWindow::SetWindowTextQuietly(const std::string& text) {
    if (WindowTextOf(handle_) == text) {
        return;
    }
    settingText_ = true;
    SetWindowTextA(handle_, text.c_str());
    settingText_ = false;
}

void ControlWindow::Changed(Aspect aspect) {
    if (handle_ == nullptr) {
        return;  // the window takes the whole state when it is made
    }
    const TRect bounds = control_.BoundsRect();
    switch (aspect) {
        case Aspect::Bounds:
            MoveWindow(handle_, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), TRUE);
            break;
        case Aspect::Text:
        case Aspect::Lines:
            SetWindowTextQuietly(WindowText());
            break;
        case Aspect::Enabled:
            FollowFocus();  // a press by BM_CLICK focuses and clicks within one message
            EnableWindow(handle_, control_.Enabled());
            break;
        case Aspect::Visible:
            FollowFocus();
            ShowWindow(handle_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Aspect::Color:
            InvalidateRect(handle_, nullptr, TRUE);
            break;
        case Aspect::Font:
            SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control_.Font())), TRUE);
            break;
        case Aspect::Picture:
            AfterCreate();
            break;
        case Aspect::Style:
            Recreate();
            break;
        case Aspect::TabOrder: {
            const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
            SetWindowLongPtrA(handle_, GWL_STYLE,
                              control_.TabStop() ? style | WS_TABSTOP : style & ~WS_TABSTOP);
            break;
        }
        case Aspect::Items:
            break;
    }
}

HBRUSH ControlWindow::Colors(HDC dc) {
    SetTextColor(dc, ColorRef(control_.Font().Color));
    SetBkColor(dc, ColorRef(control_.Color()));
    return BrushFor(control_.Color());
}

}  // namespace win32

namespace backend {

std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control) {
    using namespace win32;
    if (auto* tree = dynamic_cast<TCustomTreeView*>(&control)) {
        return CreateTreeViewPeer(*tree);
    }
    std::unique_ptr<ControlWindow> window;
    if (auto* memo = dynamic_cast<TMemo*>(&control)) {
        window = std::make_unique<MemoWindow>(*memo);
    } else if (dynamic_cast<TEdit*>(&control) != nullptr) {
        window = std::make_unique<EditWindow>(control);
    } else if (dynamic_cast<TBitBtn*>(&control) != nullptr) {
        window = std::make_unique<ButtonWindow>(control);
    } else if (auto* label = dynamic_cast<TLabel*>(&control)) {
        window = std::make_unique<LabelWindow>(*label);
    } else if (auto* image = dynamic_cast<TImage*>(&control)) {
        window = std::make_unique<ImageWindow>(*image);
    } else if (dynamic_cast<TBevel*>(&control) != nullptr) {
        window = std::make_unique<BevelWindow>(control);
    } else {
        return std::make_unique<NoWindow>();
    }
    // A control that joins a window already on the screen gets its own window at once; otherwise it
    // gets it with its form's.
    if (HWND parent = ParentHandle(control)) {
        window->CreateHandle(parent);
    }
    return window;
}

}  // namespace backend
