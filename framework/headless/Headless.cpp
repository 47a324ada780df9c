// The headless backend: windows that exist only as the controls' own state. Showing a top-level
// window makes it the active window at once, as Windows does, so the order of show, activation and
// re-parenting is the same as on the real system.
#include "framework/headless/Headless.h"

#include <deque>
#include <map>
#include <set>

#include "framework/ComCtrls.h"
#include "framework/ExitCodes.h"
#include "framework/Screen.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/headless/Mirror.h"
#include "platform/Process.h"
#include "platform/Security.h"

namespace headless {

namespace {

struct State {
    TRect desktop{0, 0, 1024, 768};
    TRect workArea{0, 0, 1024, 740};
    std::vector<MessageBoxRecord> boxes;
    std::vector<std::string> journal;
    std::deque<std::function<void()>> queue;
    struct Window {
        TWndMethod method;
        const TControl* control;
    };
    std::map<platform::HWND, Window> windows;
    std::uintptr_t nextWindow = 0x10000;
    // Another program's window is the foreground window: the keyboard is that program's.
    bool anotherProgramInFront = false;
    // The forms whose task-bar buttons flash, until the user activates them.
    std::set<const TForm*> flashing;
    platform::HWND lockedWindow = nullptr;
    int cursor = crDefault;
    std::vector<platform::HIMAGELIST> destroyedImageLists;
};

State& Current() {
    static State state;
    return state;
}

void Note(std::string line) {
    Current().journal.push_back(std::move(line));
}

// The forms whose windows exist, top-level or not; kept apart from the state that Reset forgets, since
// the forms outlive it.
std::vector<TForm*>& LiveForms() {
    static std::vector<TForm*> forms;
    return forms;
}

std::string WindowName(platform::HWND window) {
    auto found = Current().windows.find(window);
    if (found == Current().windows.end() || found->second.control == nullptr) {
        return "window";
    }
    return found->second.control->Name;
}

class HeadlessControlPeer : public ControlPeer {
public:
    explicit HeadlessControlPeer(TControl& control) : mirror_(control) {}
    void Changed(Aspect aspect) override { mirror_.Changed(aspect); }

private:
    internal::ControlMirror mirror_;
};

class HeadlessFormPeer : public FormPeer {
public:
    explicit HeadlessFormPeer(TForm& form)
        : form_(form), handle_(internal::NewWindow(nullptr, &form)), mirror_(form) {
        LiveForms().push_back(&form);
    }
    ~HeadlessFormPeer() override {
        internal::ForgetWindow(handle_);
        std::erase(LiveForms(), &form_);
    }
    // The controls that take their font from the form hear of its new font, as their windows do.
    void Changed(Aspect aspect) override {
        mirror_.Changed(aspect);
        if (aspect != Aspect::Font) {
            return;
        }
        for (TControl* control : form_.Controls()) {
            if (control->ParentFont() && control->Peer() != nullptr) {
                control->Peer()->Changed(Aspect::Font);
            }
        }
    }
    platform::HWND Handle() const override { return handle_; }

    void Display() override {
        const bool topLevel = form_.Parent() == nullptr;
        Note("display " + form_.Name + " " + std::to_string(form_.Left()) + "," +
             std::to_string(form_.Top()) + (topLevel ? " top-level" : " child"));
        if (topLevel) {
            Note("activate " + form_.Name);
            form_.HandleActivate();
        }
    }
    void Conceal() override {
        Note("conceal " + form_.Name);
        // As on Windows, the active window going away hands the activation to its owner, the main window.
        if (Application == nullptr || form_.Parent() != nullptr || Application->ActiveForm() != &form_) {
            return;
        }
        if (TForm* main = Application->MainForm(); main != nullptr && main != &form_ && main->Showing()) {
            Note("activate " + main->Name);
            main->HandleActivate();
        }
    }
    // As SetForegroundWindow: refused while another program has the user, whose last input went there;
    // the window is then not activated and its task-bar button flashes. The window that is already the
    // active one in front hears nothing.
    bool BringToFront() override {
        if (form_.Parent() != nullptr) {
            return false;
        }
        if (Current().anotherProgramInFront) {
            Note("foreground refused " + form_.Name);
            Flash();
            return false;
        }
        Note("foreground " + form_.Name);
        if (Application->ActiveForm() != &form_) {
            Note("activate " + form_.Name);
            form_.HandleActivate();
        }
        return true;
    }
    void Flash() override {
        Note("flash " + form_.Name);
        Current().flashing.insert(&form_);
    }
    // The window keeps the focus where it was last told, as Windows does.
    void FocusChanged() override { toldFocus_ = form_.FocusedControl(); }
    TWinControl* ToldFocus() const { return toldFocus_; }
    void ParentChanged() override {
        Note("reparent " + form_.Name + " " +
             (form_.Parent() ? form_.Parent()->Name : std::string("desktop")));
    }
    void Repaint() override { Note("repaint " + form_.Name); }

private:
    TForm& form_;
    platform::HWND handle_;
    internal::ControlMirror mirror_;
    TWinControl* toldFocus_ = nullptr;
};

}  // namespace

bool internal::PersonCanReach(TControl& control) {
    for (TControl* at = &control; at != nullptr; at = at->Parent()) {
        if (!at->Enabled() || !at->Visible()) {
            return false;
        }
    }
    const TForm* form = GetParentForm(control);
    return form != nullptr && form->Showing();
}

platform::HWND internal::NewWindow(TWndMethod method, const TControl* control) {
    auto& state = Current();
    auto* window = reinterpret_cast<platform::HWND>(state.nextWindow);
    state.nextWindow += 0x10;
    state.windows[window] = State::Window{std::move(method), control};
    return window;
}

void internal::ForgetWindow(platform::HWND window) {
    Current().windows.erase(window);
}

void internal::Note(std::string line) {
    Current().journal.push_back(std::move(line));
}

int ScreenCursor() {
    return Current().cursor;
}

platform::HWND LockedWindow() {
    return Current().lockedWindow;
}

bool WindowExists(platform::HWND window) {
    return Current().windows.count(window) != 0;
}

platform::LRESULT SendMessage(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                              platform::LPARAM lParam) {
    auto found = Current().windows.find(window);
    if (found == Current().windows.end() || !found->second.method) {
        return 0;
    }
    TMessage sent{message, wParam, lParam, 0};
    const TWndMethod method = found->second.method;  // the window may go while it handles the message
    method(sent);
    return sent.Result;
}

std::vector<std::string> LiveWindows() {
    std::vector<std::string> names;
    for (const auto& [window, entry] : Current().windows) {
        names.push_back(entry.control != nullptr ? entry.control->Name : "utility window");
    }
    return names;
}

const std::vector<platform::HIMAGELIST>& DestroyedImageLists() {
    return Current().destroyedImageLists;
}

void Reset() {
    Current() = State{};
    internal::ForgetTold();
}

// As Windows does, the top-level windows hear of the new work area.
void SetScreen(TRect desktop, TRect workArea) {
    Current().desktop = desktop;
    Current().workArea = workArea;
    const auto forms = LiveForms();  // a handler may make or take down a form
    for (TForm* form : forms) {
        if (form->Parent() == nullptr) {
            Note("work area changed " + form->Name);
            Application->Dispatch([form] { form->WorkAreaChanged(); });
        }
    }
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return Current().boxes;
}

const std::vector<std::string>& Journal() {
    return Current().journal;
}

void ForgetRecords() {
    Current().journal.clear();
    Current().boxes.clear();
    internal::ForgetTold();
}

bool Click(TControl& control) {
    if (!internal::PersonCanReach(control)) {
        return false;
    }
    // A button takes the focus as the mouse presses it, before it clicks.
    if (auto* button = dynamic_cast<TBitBtn*>(&control)) {
        GetParentForm(*button)->FocusControl(button);
    }
    Application->Dispatch([&control] { control.Click(); });
    return true;
}

// A close request reaches a shown window, disabled or not, as Task Manager's End Task sends it.
bool RequestClose(TForm& form) {
    if (!form.Showing()) {
        return false;
    }
    Application->Dispatch([&form] { form.Close(); });
    return true;
}

void Activate(TForm& form) {
    Note("activate " + form.Name);
    Current().anotherProgramInFront = false;
    Current().flashing.erase(&form);
    Application->Dispatch([&form] { form.HandleActivate(); });
}

void ActivateAnotherProgram() {
    Note("another program in front");
    Current().anotherProgramInFront = true;
}

bool TaskBarButtonFlashes(const TForm& form) {
    return Current().flashing.count(&form) != 0;
}

TForm* Foreground() {
    return Current().anotherProgramInFront ? nullptr : Application->ActiveForm();
}

bool PressKey(unsigned key, bool shift) {
    TForm* form = Foreground();
    if (form == nullptr || !internal::PersonCanReach(*form)) {
        return false;
    }
    bool taken = false;
    Application->Dispatch([&] { taken = form->DialogKey(key, shift); });
    return taken;
}

TWinControl* Focus() {
    TForm* form = Foreground();
    const auto* peer = form != nullptr ? dynamic_cast<const HeadlessFormPeer*>(form->Peer()) : nullptr;
    return peer != nullptr ? peer->ToldFocus() : nullptr;
}

namespace {

// A form's answer to Windows' query before the session ends: its controls' windows are asked in
// turn (through the forms inside it), and the first "no" answers for it.
bool MayEndSession(const TForm& form) {
    for (const TControl* control : form.Controls()) {
        if (const auto* child = dynamic_cast<const TForm*>(control)) {
            if (!MayEndSession(*child)) {
                return false;
            }
        } else if (const platform::HWND window =
                       control->Peer() != nullptr ? control->Peer()->Handle() : nullptr;
                   window != nullptr && SendMessage(window, platform::WM_QUERYENDSESSION, 0, 0) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool EndSession() {
    for (TForm* form : LiveForms()) {
        if (form->Parent() == nullptr && (Application->HeldOpen() || !MayEndSession(*form))) {
            Note("session end refused by " + form->Name);
            return false;
        }
    }
    Application->SessionEnding();
    platform::TerminateProcess(platform::GetCurrentProcess(), kExitEnded);
    return true;
}

void Post(std::function<void()> action) {
    Current().queue.push_back(std::move(action));
}

}  // namespace headless

namespace backend {

std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) {
    return std::make_unique<headless::HeadlessFormPeer>(form);
}

std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control) {
    if (auto* tree = dynamic_cast<TCustomTreeView*>(&control)) {
        return headless::internal::CreateTreeViewPeer(*tree);
    }
    return std::make_unique<headless::HeadlessControlPeer>(control);
}

void SetScreenCursor(int cursor) {
    headless::Current().cursor = cursor;
    headless::Note(cursor == crHourGlass ? "cursor crHourGlass"
                   : cursor == crDefault ? "cursor crDefault"
                                         : "cursor " + std::to_string(cursor));
}

bool LockWindowUpdate(platform::HWND window) {
    auto& state = headless::Current();
    if (window == nullptr) {
        const bool wasLocked = state.lockedWindow != nullptr;
        state.lockedWindow = nullptr;
        headless::Note(wasLocked ? "unlock" : "unlock (none locked)");
        return wasLocked;
    }
    if (state.lockedWindow != nullptr) {
        headless::Note("lock refused " + headless::WindowName(window));
        return false;
    }
    state.lockedWindow = window;
    headless::Note("lock " + headless::WindowName(window));
    return true;
}

platform::HWND AllocateUtilityWindow(TWndMethod method) {
    return headless::internal::NewWindow(std::move(method), nullptr);
}

void DestroyUtilityWindow(platform::HWND window) {
    headless::internal::ForgetWindow(window);
}

void DestroyImageList(platform::HIMAGELIST list) {
    headless::Current().destroyedImageLists.push_back(list);
}

TRect DesktopRect() {
    return headless::Current().desktop;
}

TRect WorkArea() {
    return headless::Current().workArea;
}

// One screen: every window is on it.
TRect WorkAreaOf(const TRect& /*window*/) {
    return headless::Current().workArea;
}

FrameMetrics FrameFor(FrameKind kind, bool hasCaption) {
    // The classic metrics: a sizeable frame of 4 pixels, a fixed one of 3, a caption bar of 19.
    const int frame = kind == FrameKind::Sizeable ? 4 : kind == FrameKind::Single ? 3 : 0;
    return FrameMetrics{frame, frame, hasCaption ? 19 : 0};
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags, int helpContext) {
    headless::Current().boxes.push_back(headless::MessageBoxRecord{text, caption, flags, helpContext});
    headless::Note("message box " + text);
    // The box took the activation from its owner, the active window, which gets it back as it closes.
    if (TForm* owner = Application != nullptr ? Application->ActiveForm() : nullptr;
        owner != nullptr && owner->Showing()) {
        headless::Note("activate " + owner->Name);
        owner->HandleActivate();
    }
    return 1;
}

// The other copy is another process, whose windows are not here: what was asked is noted.
void BringAnotherCopyToFront(const std::string& caption) {
    headless::Note("another copy to the front: " + caption);
}

void RunMessageLoop(TApplication& application) {
    auto& queue = headless::Current().queue;
    while (!application.Terminated() && !queue.empty()) {
        auto action = std::move(queue.front());
        queue.pop_front();
        application.Dispatch(action);
    }
}

void QuitMessageLoop() {}

}  // namespace backend
