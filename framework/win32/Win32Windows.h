// The Win32 backend's windows: each control's peer owns one real window (a standard BUTTON, EDIT or
// STATIC) and mirrors the control's state into it; each form's peer owns a window of our own class,
// whose window procedure is the one place where window messages become the framework's events.
//
// Include this after every other header of the project: it includes <windows.h>.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Backend.h"
#include "framework/Forms.h"
#include "platform/Types.h"

#include <windows.h>

class TCustomTreeView;

namespace win32 {

// The class of the forms' windows, by which a copy of the program finds another's.
inline constexpr char kFormClass[] = "CvfirForm";

// A GDI object (brush, font, bitmap) with its one owner, which deletes it.
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, DeleteGdiObject>;

// The GDI objects for the framework's colours and fonts. They are made once per value and kept until
// the program ends: a program has a handful of them, and a window may still hold one while it dies.
COLORREF ColorRef(TColor color);
HBRUSH BrushFor(TColor color);
HFONT FontFor(const TFont& font);
HINSTANCE ProgramInstance();
// While the screen cursor is not the default one it shows over every form: sets it and answers true.
bool ApplyScreenCursor();

// A control's or form's own window.
class Window {
public:
    // The window as the framework sees it; null while there is none.
    virtual platform::HWND Handle() const = 0;
    HWND Hwnd() const { return reinterpret_cast<HWND>(Handle()); }

protected:
    ~Window() = default;
};

// The window of a control's parent, or null while it has none.
HWND ParentHandle(const TControl& control);

class ControlWindow : public ControlPeer, public Window {
public:
    explicit ControlWindow(TControl& control) : control_(control) {}
    ~ControlWindow() override;

    platform::HWND Handle() const override { return reinterpret_cast<platform::HWND>(handle_); }
    TControl& Control() const { return control_; }
    void Changed(Aspect aspect) override;

    // Makes the window inside `parent`, from the control's state as it stands.
    void CreateHandle(HWND parent);
    // The parent's window was destroyed, and this one with it.
    void ForgetHandle() { handle_ = nullptr; }

    // A notification code from the window (the high word of WM_COMMAND's wParam).
    virtual void Notify(WORD /*code*/) {}
    // A notification that the window sent its parent as WM_NOTIFY; answers the notification's result.
    virtual LRESULT Notified(NMHDR& /*header*/) { return 0; }
    // Sets up the device context for drawing the control; answers the brush of its background, or
    // null for the system's.
    virtual HBRUSH Colors(HDC dc);
    // Called when Tab brings the focus here.
    virtual void FocusedByTab() {}

protected:
    struct Kind {
        const char* className;
        DWORD style;
        DWORD exStyle;
    };
    virtual Kind WindowKind() const = 0;
    virtual std::string WindowText() const { return control_.Caption(); }
    // What the window needs before it can be made (its window class, say).
    virtual void BeforeCreate() {}
    // Extra set-up once the window exists, and again after a change of the aspect it depends on.
    virtual void AfterCreate() {}
    // Sets the window's text without the window's change notification echoing it back.
    void SetWindowTextQuietly(const std::string& text);
    bool settingText_ = false;

private:
    void Recreate();

    TControl& control_;
    HWND handle_ = nullptr;
};

// The window procedure of every form's window.
LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

class FormWindow : public FormPeer, public Window {
public:
    explicit FormWindow(TForm& form) : form_(form) {}
    ~FormWindow() override;

    platform::HWND Handle() const override { return reinterpret_cast<platform::HWND>(handle_); }

    void Changed(Aspect aspect) override;
    void Display() override;
    void Conceal() override;
    bool BringToFront() override;
    void Flash() override;
    void ParentChanged() override;
    void Repaint() override;
    void FocusChanged() override;

    TForm& Form() const { return form_; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Our control whose window this is, anywhere inside the form (also inside a child form).
    ControlWindow* FindControl(HWND window) const;

    // The peer of one of our form windows; null for any other window.
    static FormWindow* Of(HWND window);

private:
    friend LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    void CreateHandle();
    void DestroyHandle();
    void ForgetHandles();
    DWORD Style() const;
    DWORD ExStyle() const;
    void ApplyBounds();
    void ApplyIcon();
    void BoundsFromWindow();
    void EraseBackground(HDC dc);
    bool CommandFromControl(WPARAM wParam, LPARAM lParam);
    LRESULT LastMessage(WPARAM wParam, LPARAM lParam);
    bool ControlsMayEndSession(WPARAM wParam, LPARAM lParam) const;
    LRESULT ControlColor(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    TForm& form_;
    HWND handle_ = nullptr;
    bool applyingBounds_ = false;
};

// The system moved the input focus (a person clicked a control): the form that holds the focus for the
// control takes note, so that its rules start from where the focus really is. The message loop calls
// it after each message, and a window that is about to be disabled or hidden before that.
void FollowFocus();

// The common tree view's window for a tree view, the folder tree among them.
std::unique_ptr<ControlPeer> CreateTreeViewPeer(TCustomTreeView& tree);

}  // namespace win32
