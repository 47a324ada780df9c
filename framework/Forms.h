// Forms, the application object and its message loop, and the plain message box.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <variant>

#include "framework/Buttons.h"
#include "framework/Controls.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"

class TTreeNode;

enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
// A method that a form publishes for its layout to bind to an event by name.
using PublishedMethod = std::variant<TNotifyEvent, TCloseEvent, TCloseQueryEvent, TTVChangedEvent>;

// Binds an event property of a control ("OnClick") to a published method. Controls that have events
// of their own add theirs through this hook.
using EventBinder =
    std::function<bool(TControl& control, std::string_view event, const PublishedMethod& method)>;
void RegisterEventBinder(EventBinder binder);

// Binds the event `name` of every control of class Control to a published method of the event's type.
template <class Control, class Event>
void RegisterEvent(std::string_view name, Event Control::*field) {
    RegisterEventBinder(
        [name, field](TControl& control, std::string_view event, const PublishedMethod& method) {
            auto* target = dynamic_cast<Control*>(&control);
            const auto* handler = std::get_if<Event>(&method);
            if (target == nullptr || event != name || handler == nullptr) {
                return false;
            }
            target->*field = *handler;
            return true;
        });
}

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    void Show();
    void Hide();
    // A close request: refused while the application is held open; else asks OnCloseQuery, then
    // OnClose, then acts on the close action.
    void Close();
    void Repaint();
    // A shown top-level form becomes the foreground window, where Windows lets it (see
    // FormPeer::BringToFront); answers whether it did.
    bool BringToFront();
    // Flashes the window's caption and task-bar button, to call the user back to it.
    void Flash();

    void SetVisible(bool visible) override;
    void SetParent(TWinControl* parent) override;
    bool Showing() const override { return showing_; }

    TBorderStyle BorderStyle() const { return borderStyle_; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    TPosition Position() const { return position_; }
    TFormStyle FormStyle() const { return formStyle_; }
    bool AutoSize() const { return autoSize_; }
    const std::string& Icon() const { return icon_; }
    TControl* ActiveControl() const { return activeControl_; }
    int ClientWidth() const;
    int ClientHeight() const;
    // Where the client area lies in the window's own coordinates, inside the frame and the caption.
    TRect ClientBounds() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnActivate;
    TNotifyEvent OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Raises OnCreate once the whole object is built; the application calls it.
    void AfterConstruction();
    // The window has become the active window: its activation handler runs, then the focus goes back
    // to the control that had it last if that can still take it, else to the active control of the
    // layout, else to the first enabled stop of the tab order.
    void HandleActivate();
    // The screen's work area changed (a task bar moved or changed its size, the display changed): a
    // top-level form that fills the work area fills the new one.
    void WorkAreaChanged();

    // The control that has the focus while the form is the active window, kept for when it is active
    // again; null while the form itself has it. The outermost form holds the focus for the controls of
    // the forms inside it.
    TWinControl* FocusedControl() const { return focusedControl_; }
    // Puts the focus on `control`, or on the form itself when null; the window's focus follows.
    void FocusControl(TWinControl* control);
    // The system moved the focus itself (a person clicked a control): the form only takes note.
    void NoteFocus(TWinControl* control) { focusedControl_ = control; }
    // Tab and Shift+Tab: the next or previous enabled stop of the tab order, round and round; from the
    // form itself, the first or the last.
    void SelectNext(bool forward);
    // A key pressed while the form is the active window, before the focused control sees it: Tab and
    // Shift+Tab move the focus, Enter and Space press the focused button. Answers whether the form took
    // the key; every other key is the focused control's.
    bool DialogKey(unsigned key, bool shift);
    // The controls that Tab visits, in order; a child form's controls stand in its place.
    std::vector<TWinControl*> TabRing() const;

    void SetProperty(std::string_view name, std::string_view value) override;

protected:
    void Publish(std::string name, PublishedMethod method);
    // Builds the form from its layout: its own properties, then each control in order.
    void LoadLayout(const FormLayout& layout);
    template <class T>
    T* Child(std::string_view name) {
        return dynamic_cast<T*>(FindComponent(std::string(name)));
    }
    void Resize() override;

private:
    TWinControl* LaidOutFocus() const;
    void UpdateShowing();
    void FitToWorkArea();
    void CentreOnDesktop();
    void KeepInsideWorkArea();
    void FitToControls();
    FrameMetrics Frame() const;
    void BindEvent(TControl& control, std::string_view event, std::string_view method);

    FormPeer* formPeer_ = nullptr;
    bool showing_ = false;
    TBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    bool autoSize_ = false;
    std::string icon_;
    TControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    std::map<std::string, PublishedMethod, std::less<>> published_;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Initialises COM on the GUI thread, so that it is ready before any window is made.
    void Initialize();

    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        reference->AfterConstruction();
        if (mainForm_ == nullptr) {
            mainForm_ = reference;
        }
    }

    // Makes the main window visible, then takes and dispatches messages until told to terminate.
    void Run();
    void ShowMainForm();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Windows ends the session (WM_ENDSESSION with TRUE). It may end the process at any moment after the
    // answer, so the exit clean-up runs before it, and the application is told to terminate.
    void SessionEnding();

    // While something runs that must not be cut off half-way, the program holds itself open: no form
    // closes on a close request (Windows delivers them to disabled windows too: End Task does), and
    // Windows' query before it ends the session is answered "not now". Holds nest.
    void HoldOpen() { ++holds_; }
    void LetClose() { --holds_; }
    bool HeldOpen() const { return holds_ > 0; }
    // Brings the main window, with the windows inside it, to the front as the active window. Windows
    // refuses that when the user went to another program meanwhile: the main window's task-bar button
    // then flashes (also where Windows' refusal does not flash it), and the windows wait there for the
    // user's return with their focus as it is.
    void BringToFront();

    TForm* MainForm() const { return mainForm_; }
    TForm* ActiveForm() const { return activeForm_; }
    void SetActiveForm(TForm* form) { activeForm_ = form; }
    // The program file's name without folder, cut at its first full stop, every letter after the
    // first in lower case.
    const std::string& Title() const { return title_; }

    // The exception box: the error icon, the message with a full stop added when it ends in a
    // character above the full stop, the title as caption.
    void ShowException(const Exception& exception);
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    // Runs one handler as the message loop runs it: an exception of the framework's class raised in it
    // is shown in the exception box, and the program goes on.
    void Dispatch(const std::function<void()>& handler);

private:
    TForm* mainForm_ = nullptr;
    TForm* activeForm_ = nullptr;
    bool terminated_ = false;
    int holds_ = 0;
    bool comInitialized_ = false;
    std::string title_;
};

extern TApplication* Application;

// Another copy of the program is running: its windows come to the front, found by the caption of its
// main window, as the user left them (a dialog over the main window stays over it). Nothing when it has
// no window yet.
void BringAnotherCopyToFront(const std::string& mainFormCaption);

// The outermost form that holds `control`, which holds the focus for it; null when it is on no form.
TForm* GetParentForm(const TControl& control);

// The title from a program file path; also the title that the application gives itself.
std::string TitleFromProgramPath(const std::string& path);
// The exception box's text for a message.
std::string ExceptionBoxText(const std::string& message);

// The plain message box: the text, one OK button, the application title as caption.
void ShowMessage(const std::string& text);
