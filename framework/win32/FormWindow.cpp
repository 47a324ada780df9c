// The forms' windows and their window procedure: the one place where window messages become the
// framework's events.
#include <map>

#include "framework/win32/Win32Windows.h"

namespace win32 {

namespace {

// Once the application has been told to terminate, windows still get messages while they are taken
// down; they must not run the program's handlers any more.
bool EventsFlow() {
    return Application != nullptr && !Application->Terminated();
}

ATOM FormClass() {
    static const ATOM atom = [] {
        WNDCLASSA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = FormProc;
        windowClass.hInstance = ProgramInstance();
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kFormClass;
        return RegisterClassA(&windowClass);
    }();
    return atom;
}

HICON IconFor(const std::string& name, int size) {
    static std::map<std::pair<std::string, int>, HICON> icons;
    auto [at, made] = icons.try_emplace({name, size}, nullptr);
    if (made) {
        at->second = static_cast<HICON>(
            LoadImageA(ProgramInstance(), name.c_str(), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    return at->second;
}

ControlWindow* WindowOf(const TControl* control) {
    return dynamic_cast<ControlWindow*>(control->Peer());
}

}  // namespace

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* peer = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
        peer->handle_ = window;
    }
    auto* peer = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (peer == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return peer->HandleMessage(message, wParam, lParam);
}

FormWindow* FormWindow::Of(HWND window) {
    if (window == nullptr || GetClassWord(window, GCW_ATOM) != FormClass()) {
        return nullptr;
    }
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The peer dies with the form, after the form's own parts (its list of controls among them): it takes
// its window down without looking at the form. The control windows go with it; their peers see that
// when they die in turn.
FormWindow::~FormWindow() {
    if (handle_ != nullptr) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!EventsFlow() && message != WM_ERASEBKGND && message != WM_NCDESTROY) {
        // The windows are being taken down: the system's answers, and no window closes by itself.
        return message == WM_CLOSE ? 0 : DefWindowProcA(handle_, message, wParam, lParam);
    }
    switch (message) {
        case WM_ERASEBKGND:
            EraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message,
                                wParam, lParam);
        case WM_COMMAND:
            if (CommandFromControl(wParam, lParam)) {
                return 0;
            }
            break;
        case WM_CLOSE:
            // The form decides: its close query and close handlers, then hiding or ending the program.
            Application->Dispatch([this] { form_.Close(); });
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                FollowFocus();  // the form keeps the control that had it for its next activation
            } else {
                Application->Dispatch([this] { form_.HandleActivate(); });
            }
            return 0;
        case WM_SETCURSOR:
            if (ApplyScreenCursor()) {
                return TRUE;
            }
            break;
        case WM_NOTIFY:
            if (auto* control = FindControl(reinterpret_cast<NMHDR*>(lParam)->hwndFrom)) {
                return control->Notified(*reinterpret_cast<NMHDR*>(lParam));
            }
            break;
        case WM_QUERYENDSESSION:
            // Windows asks only the top-level windows; a control that holds something for the session
            // (the folder tree, its shell registration) is asked through its form. A program held open
            // says "not now" before anything is asked, so that nothing lets go of what it holds.
            return !Application->HeldOpen() && ControlsMayEndSession(wParam, lParam) ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam != 0) {
                Application->SessionEnding();
            }
            return 0;
        case WM_WINDOWPOSCHANGED:
            BoundsFromWindow();
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) {
                Application->Dispatch([this] { form_.WorkAreaChanged(); });
            }
            break;
        case WM_DISPLAYCHANGE:
            Application->Dispatch([this] { form_.WorkAreaChanged(); });
            break;
        case WM_NCDESTROY:
            return LastMessage(wParam, lParam);
        default:
            break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

void FormWindow::EraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle_, &client);
    FillRect(dc, &client, BrushFor(form_.Color()));
}

// A button's click or an edit box's change goes to the control's peer; answers whether it was ours.
bool FormWindow::CommandFromControl(WPARAM wParam, LPARAM lParam) {
    auto* control = lParam != 0 ? FindControl(reinterpret_cast<HWND>(lParam)) : nullptr;
    if (control == nullptr) {
        return false;
    }
    control->Notify(HIWORD(wParam));
    return true;
}

// The window's last message: the peer lets go of it and of its controls' windows.
LRESULT FormWindow::LastMessage(WPARAM wParam, LPARAM lParam) {
    HWND window = handle_;
    ForgetHandles();
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

// The focus follows the form's while the form is the active window. A window of another top-level
// window that is not active would be made active by SetFocus; then the form keeps it for its next
// activation.
void FormWindow::FocusChanged() {
    if (handle_ == nullptr || GetActiveWindow() != handle_ || IsIconic(handle_)) {
        return;
    }
    HWND target = handle_;
    if (TWinControl* focused = form_.FocusedControl()) {
        if (auto* window = WindowOf(focused); window != nullptr && window->Hwnd() != nullptr) {
            target = window->Hwnd();
        }
    }
    if (GetFocus() != target) {
        SetFocus(target);
    }
}

// The first control that says no answers for the form; the others are not asked.
bool FormWindow::ControlsMayEndSession(WPARAM wParam, LPARAM lParam) const {
    for (const TControl* control : form_.Controls()) {
        if (const auto* child = dynamic_cast<const TForm*>(control)) {
            const auto* childWindow = dynamic_cast<const FormWindow*>(child->Peer());
            if (childWindow != nullptr && !childWindow->ControlsMayEndSession(wParam, lParam)) {
                return false;
            }
        } else if (auto* window = WindowOf(control);
                   window != nullptr && window->Hwnd() != nullptr &&
                   SendMessageA(window->Hwnd(), WM_QUERYENDSESSION, wParam, lParam) == 0) {
            return false;
        }
    }
    return true;
}

LRESULT FormWindow::ControlColor(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* window = FindControl(control)) {
        if (HBRUSH brush = window->Colors(dc)) {
            return reinterpret_cast<LRESULT>(brush);
        }
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

ControlWindow* FormWindow::FindControl(HWND window) const {
    for (const TControl* control : form_.Controls()) {
        if (const auto* child = dynamic_cast<const TForm*>(control)) {
            if (auto* childWindow = dynamic_cast<FormWindow*>(child->Peer())) {
                if (auto* found = childWindow->FindControl(window)) {
                    return found;
                }
            }
        } else if (auto* controlWindow = WindowOf(control);
                   controlWindow != nullptr && controlWindow->Hwnd() == window) {
            return controlWindow;
        }
    }
    return nullptr;
}

DWORD FormWindow::Style() const {
    const bool child = form_.Parent() != nullptr;
    DWORD style = WS_CLIPCHILDREN | (child ? WS_CHILD | WS_CLIPSIBLINGS : 0);
    switch (form_.BorderStyle()) {
        case bsNone:
            return style | (child ? 0 : WS_POPUP);
        case bsSingle:
        case bsDialog:
            style |= WS_CAPTION;
            break;
        case bsSizeable:
            style |= WS_CAPTION | WS_THICKFRAME;
            break;
    }
    const TBorderIcons icons = form_.BorderIcons();
    if ((icons & biSystemMenu) != 0) {
        style |= WS_SYSMENU;
        style |= (icons & biMinimize) != 0 ? WS_MINIMIZEBOX : 0;
        style |= (icons & biMaximize) != 0 ? WS_MAXIMIZEBOX : 0;
    }
    return style;
}

DWORD FormWindow::ExStyle() const {
    DWORD exStyle = 0;
    if (form_.Parent() == nullptr && form_.FormStyle() == fsStayOnTop) {
        exStyle |= WS_EX_TOPMOST;
    }
    if (form_.BorderStyle() == bsDialog) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    return exStyle;
}

// A child form sits in its parent's client area. A top-level form other than the main one is owned by
// the main form's window, so that it stays above it and has no task-bar button of its own.
void FormWindow::CreateHandle() {
    HWND parent = nullptr;
    if (form_.Parent() != nullptr) {
        parent = ParentHandle(form_);
        if (parent == nullptr) {
            return;  // its parent is not on the screen: neither is it
        }
    } else if (Application != nullptr && Application->MainForm() != nullptr &&
               Application->MainForm() != &form_) {
        if (auto* main = dynamic_cast<FormWindow*>(Application->MainForm()->Peer())) {
            parent = main->Hwnd();
        }
    }
    const TRect bounds = form_.BoundsRect();
    CreateWindowExA(ExStyle(), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(FormClass())),
                    form_.Caption().c_str(), Style(), bounds.Left, bounds.Top, bounds.Width(),
                    bounds.Height(), parent, nullptr, ProgramInstance(), this);
    if (handle_ == nullptr) {
        return;
    }
    ApplyIcon();
    for (TControl* control : form_.Controls()) {
        if (auto* window = WindowOf(control); window != nullptr && dynamic_cast<TForm*>(control) == nullptr) {
            window->CreateHandle(handle_);
        }
    }
}

void FormWindow::DestroyHandle() {
    if (handle_ == nullptr) {
        return;
    }
    HWND window = handle_;
    ForgetHandles();
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

// The window is gone, and every control window inside it.
void FormWindow::ForgetHandles() {
    handle_ = nullptr;
    for (TControl* control : form_.Controls()) {
        if (auto* window = WindowOf(control)) {
            window->ForgetHandle();
        }
    }
}

void FormWindow::ApplyBounds() {
    const TRect bounds = form_.BoundsRect();
    applyingBounds_ = true;
    SetWindowPos(handle_, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    applyingBounds_ = false;
}

// A person moved or sized the window: the form's bounds follow, so that it stays where it was put.
void FormWindow::BoundsFromWindow() {
    if (applyingBounds_ || handle_ == nullptr || IsIconic(handle_)) {
        return;
    }
    RECT rect;
    GetWindowRect(handle_, &rect);
    if (HWND parent = GetParent(handle_);
        parent != nullptr && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    applyingBounds_ = true;
    form_.SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    applyingBounds_ = false;
}

void FormWindow::ApplyIcon() {
    if (form_.Icon().empty()) {
        return;
    }
    SendMessageA(handle_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(IconFor(form_.Icon(), GetSystemMetrics(SM_CXICON))));
    SendMessageA(handle_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(IconFor(form_.Icon(), GetSystemMetrics(SM_CXSMICON))));
}

void FormWindow::Changed(Aspect aspect) {
    if (handle_ == nullptr) {
        return;  // the window takes the whole state when it is made
    }
    switch (aspect) {
        case Aspect::Bounds:
            if (!applyingBounds_) {
                ApplyBounds();
            }
            break;
        case Aspect::Text:
            SetWindowTextA(handle_, form_.Caption().c_str());
            break;
        case Aspect::Enabled:
            EnableWindow(handle_, form_.Enabled());
            break;
        case Aspect::Color:
            InvalidateRect(handle_, nullptr, TRUE);
            break;
        case Aspect::Font:
            for (TControl* control : form_.Controls()) {
                if (control->ParentFont() && control->Peer() != nullptr) {
                    control->Peer()->Changed(Aspect::Font);
                }
            }
            break;
        case Aspect::Picture:
            ApplyIcon();
            break;
        case Aspect::Style: {
            const LONG_PTR visible = GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE;
            SetWindowLongPtrA(handle_, GWL_STYLE, static_cast<LONG_PTR>(Style()) | visible);
            SetWindowLongPtrA(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(ExStyle()));
            SetWindowPos(handle_, (ExStyle() & WS_EX_TOPMOST) != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0,
                         0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            break;
        }
        case Aspect::Visible:  // a form shows and hides through Display and Conceal
        case Aspect::Lines:
        case Aspect::TabOrder:
        case Aspect::Items:
            break;
    }
}

// A top-level window becomes the active window as it is shown, and its activation runs before this
// returns. Should the system not activate it (another program holds the foreground), it is made the
// active window of the program all the same, so that the activation handlers run in every case.
void FormWindow::Display() {
    if (handle_ == nullptr) {
        CreateHandle();
    }
    if (handle_ == nullptr) {
        return;
    }
    if (form_.Parent() != nullptr) {
        // Above the parent's other children: they are drawn beneath a child form, never over it.
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return;
    }
    ShowWindow(handle_, SW_SHOW);
    if (handle_ != nullptr && GetActiveWindow() != handle_) {
        SetActiveWindow(handle_);
    }
}

void FormWindow::Conceal() {
    FollowFocus();  // so that the form that holds the focus sees it go with this window
    if (handle_ != nullptr) {
        ShowWindow(handle_, SW_HIDE);
    }
}

// A program may take the foreground only while the user is with it (it is the foreground process, or
// it had the last input, as a click in a dialog of its own), on 98 and Me as on 2000 and XP.
bool FormWindow::BringToFront() {
    return handle_ != nullptr && form_.Parent() == nullptr && SetForegroundWindow(handle_) != FALSE;
}

void FormWindow::Flash() {
    if (handle_ != nullptr) {
        FlashWindow(handle_, TRUE);
    }
}

void FormWindow::ParentChanged() {
    DestroyHandle();  // made anew, under the new parent, when it is next displayed
}

void FormWindow::Repaint() {
    if (handle_ != nullptr) {
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

}  // namespace win32

namespace backend {

std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) {
    return std::make_unique<win32::FormWindow>(form);
}

// The other copy's windows are of our class, and the one found by the caption may be any of its
// top-level ones, hidden or not: the owner at its root is the main window, whose last active window is
// where the user left that copy. A program the user has just started may set the foreground window.
void BringAnotherCopyToFront(const std::string& caption) {
    HWND window = FindWindowA(win32::kFormClass, caption.c_str());
    if (window == nullptr) {
        return;
    }
    while (HWND owner = GetWindow(window, GW_OWNER)) {
        window = owner;
    }
    SetForegroundWindow(GetLastActivePopup(window));
}

}  // namespace backend
