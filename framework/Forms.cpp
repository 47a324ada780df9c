#include "framework/Forms.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

#include "framework/Dialogs.h"
#include "framework/ExitCodes.h"
#include "framework/ExtCtrls.h"
#include "framework/Placement.h"
#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/RunRecord.h"

TApplication* Application = nullptr;

namespace {

std::map<std::string, ControlFactory, std::less<>>& ControlClasses() {
    static std::map<std::string, ControlFactory, std::less<>> classes{
        {"TLabel", [](TComponent* owner) -> TControl* { return new TLabel(owner); }},
        {"TMemo", [](TComponent* owner) -> TControl* { return new TMemo(owner); }},
        {"TEdit", [](TComponent* owner) -> TControl* { return new TEdit(owner); }},
        {"TBitBtn", [](TComponent* owner) -> TControl* { return new TBitBtn(owner); }},
        {"TImage", [](TComponent* owner) -> TControl* { return new TImage(owner); }},
        {"TBevel", [](TComponent* owner) -> TControl* { return new TBevel(owner); }},
    };
    return classes;
}

std::vector<EventBinder>& EventBinders() {
    static std::vector<EventBinder> binders;
    return binders;
}

template <class Event>
bool Assign(Event& event, const PublishedMethod& method) {
    if (const auto* handler = std::get_if<Event>(&method)) {
        event = *handler;
        return true;
    }
    return false;
}

// The events of the framework's own controls and forms.
bool BindFrameworkEvent(TControl& control, std::string_view event, const PublishedMethod& method) {
    if (event == "OnClick") {
        return Assign(control.OnClick, method);
    }
    if (event == "OnDblClick") {
        return Assign(control.OnDblClick, method);
    }
    auto* form = dynamic_cast<TForm*>(&control);
    if (form == nullptr) {
        return false;
    }
    if (event == "OnCreate") {
        return Assign(form->OnCreate, method);
    }
    if (event == "OnShow") {
        return Assign(form->OnShow, method);
    }
    if (event == "OnActivate") {
        return Assign(form->OnActivate, method);
    }
    if (event == "OnResize") {
        return Assign(form->OnResize, method);
    }
    if (event == "OnClose") {
        return Assign(form->OnClose, method);
    }
    if (event == "OnCloseQuery") {
        return Assign(form->OnCloseQuery, method);
    }
    return false;
}

}  // namespace

void RegisterControlClass(std::string_view className, ControlFactory factory) {
    ControlClasses()[std::string(className)] = std::move(factory);
}

TControl* CreateControlOfClass(std::string_view className, TComponent* owner) {
    auto found = ControlClasses().find(className);
    if (found == ControlClasses().end()) {
        layoutvalue::Unknown("control class", className);
    }
    return found->second(owner);
}

void RegisterEventBinder(EventBinder binder) {
    EventBinders().push_back(std::move(binder));
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    visible_ = false;
    auto peer = backend::CreateFormPeer(*this);
    formPeer_ = peer.get();
    AttachPeer(std::move(peer));
}

TForm::~TForm() {
    if (Application != nullptr && Application->ActiveForm() == this) {
        Application->SetActiveForm(nullptr);
    }
}

void TForm::Show() {
    SetVisible(true);
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    UpdateShowing();
    if (!visible) {
        GiveUpFocus();
    }
}

void TForm::UpdateShowing() {
    const bool show = visible_ && (Parent() == nullptr || Parent()->Showing());
    if (show == showing_) {
        return;
    }
    if (show) {
        if (Parent() == nullptr) {
            FitToWorkArea();
            CentreOnDesktop();
            KeepInsideWorkArea();
        }
        // The show handler runs while the window is being shown, before it is displayed.
        if (OnShow) {
            OnShow(this);
        }
        showing_ = true;
        formPeer_->Display();
    } else {
        showing_ = false;
        formPeer_->Conceal();
    }
    for (auto* control : Controls()) {
        if (auto* child = dynamic_cast<TForm*>(control)) {
            child->UpdateShowing();
        }
    }
}

void TForm::SetParent(TWinControl* parent) {
    if (Parent() == parent) {
        return;
    }
    TWinControl::SetParent(parent);
    focusedControl_ = nullptr;  // from now on the outermost form holds the focus for these controls
    // The window is made anew under its new parent; a visible form is then shown anew.
    showing_ = false;
    formPeer_->ParentChanged();
    UpdateShowing();
}

void TForm::Close() {
    if (Application != nullptr && Application->HeldOpen()) {
        return;
    }
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    if (!canClose) {
        return;
    }
    const bool isMainForm = Application != nullptr && Application->MainForm() == this;
    TCloseAction action = isMainForm ? caFree : caHide;
    if (OnClose) {
        OnClose(this, action);
    }
    if (action == caNone) {
        return;
    }
    if (isMainForm) {
        Application->Terminate();
    } else {
        Hide();
    }
}

void TForm::Repaint() {
    formPeer_->Repaint();
}

bool TForm::BringToFront() {
    return formPeer_->BringToFront();
}

void TForm::Flash() {
    formPeer_->Flash();
}

void TForm::AfterConstruction() {
    if (OnCreate) {
        OnCreate(this);
    }
}

void TForm::HandleActivate() {
    if (Application != nullptr) {
        Application->SetActiveForm(this);
    }
    if (OnActivate) {
        OnActivate(this);
    }
    if (focusedControl_ == nullptr || !focusedControl_->CanFocus()) {
        focusedControl_ = LaidOutFocus();
    }
    if (focusedControl_ == nullptr) {
        const auto ring = TabRing();
        focusedControl_ = ring.empty() ? nullptr : ring.front();
    }
    formPeer_->FocusChanged();
}

// The layout's active control, of this form or else of the first form inside it that has one usable.
TWinControl* TForm::LaidOutFocus() const {
    if (auto* active = dynamic_cast<TWinControl*>(activeControl_); active != nullptr && active->CanFocus()) {
        return active;
    }
    for (auto* control : TabList()) {
        if (auto* child = dynamic_cast<TForm*>(control); child != nullptr && child->Showing()) {
            if (auto* active = child->LaidOutFocus()) {
                return active;
            }
        }
    }
    return nullptr;
}

void TForm::FocusControl(TWinControl* control) {
    focusedControl_ = control;
    formPeer_->FocusChanged();
}

namespace {

void CollectTabRing(const TWinControl& parent, std::vector<TWinControl*>& ring) {
    for (auto* control : parent.TabList()) {
        auto* stop = static_cast<TWinControl*>(control);  // the tab list holds windowed controls only
        if (auto* child = dynamic_cast<TForm*>(stop)) {
            if (child->Showing()) {
                CollectTabRing(*child, ring);
            }
        } else if (stop->CanFocus()) {
            ring.push_back(stop);
        }
    }
}

}  // namespace

std::vector<TWinControl*> TForm::TabRing() const {
    std::vector<TWinControl*> ring;
    CollectTabRing(*this, ring);
    return ring;
}

void TForm::SelectNext(bool forward) {
    const auto ring = TabRing();
    if (ring.empty()) {
        return;
    }
    const auto count = static_cast<std::ptrdiff_t>(ring.size());
    const auto at = std::find(ring.begin(), ring.end(), focusedControl_) - ring.begin();
    std::ptrdiff_t next = forward ? 0 : count - 1;
    if (at != count) {
        next = (at + (forward ? 1 : count - 1)) % count;
    }
    FocusControl(ring[static_cast<std::size_t>(next)]);
}

bool TForm::DialogKey(unsigned key, bool shift) {
    if (key == VK_TAB) {
        SelectNext(!shift);
        return true;
    }
    if (key != VK_RETURN && key != VK_SPACE) {
        return false;
    }
    auto* button = dynamic_cast<TBitBtn*>(focusedControl_);
    if (button == nullptr || !button->CanFocus()) {
        return false;
    }
    button->Click();
    return true;
}

TForm* GetParentForm(const TControl& control) {
    const TControl* top = &control;
    while (top->Parent() != nullptr) {
        top = top->Parent();
    }
    return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

FrameMetrics TForm::Frame() const {
    const FrameKind kind = borderStyle_ == bsNone       ? FrameKind::None
                           : borderStyle_ == bsSizeable ? FrameKind::Sizeable
                                                        : FrameKind::Single;
    return backend::FrameFor(kind, borderStyle_ != bsNone);
}

int TForm::ClientWidth() const {
    return ClientBounds().Width();
}

int TForm::ClientHeight() const {
    return ClientBounds().Height();
}

TRect TForm::ClientBounds() const {
    const auto frame = Frame();
    return TRect{frame.frameWidth, frame.frameHeight + frame.captionHeight, Width() - frame.frameWidth,
                 Height() - frame.frameHeight};
}

void TForm::Resize() {
    if (OnResize) {
        OnResize(this);
    }
}

void TForm::WorkAreaChanged() {
    if (Parent() == nullptr) {
        FitToWorkArea();
    }
}

void TForm::FitToWorkArea() {
    if (align_ == alClient) {
        const TRect area = backend::WorkArea();
        SetBounds(area.Left, area.Top, area.Width(), area.Height());
    }
}

void TForm::CentreOnDesktop() {
    if (position_ != poDesktopCenter && position_ != poScreenCenter) {
        return;
    }
    const TRect desktop = backend::DesktopRect();
    SetBounds(desktop.Left + (desktop.Width() - Width()) / 2, desktop.Top + (desktop.Height() - Height()) / 2,
              Width(), Height());
    position_ = poDesigned;  // only the first show centres; from then on the window stays put
}

// A window that would stand partly off the screen, where a person cannot reach its buttons, is moved the
// least that brings it inside the work area of the screen it is on; one larger than that keeps its
// caption in reach.
void TForm::KeepInsideWorkArea() {
    const TRect placed = FitInside(BoundsRect(), backend::WorkAreaOf(BoundsRect()));
    SetBounds(placed.Left, placed.Top, placed.Width(), placed.Height());
}

void TForm::FitToControls() {
    int right = 0;
    int bottom = 0;
    for (const auto* control : Controls()) {
        if (control->Visible()) {
            right = std::max(right, control->BoundsRect().Right);
            bottom = std::max(bottom, control->BoundsRect().Bottom);
        }
    }
    const auto frame = Frame();
    SetBounds(Left(), Top(), right + 2 * frame.frameWidth,
              bottom + 2 * frame.frameHeight + frame.captionHeight);
}

void TForm::SetProperty(std::string_view name, std::string_view value) {
    using layoutvalue::Bool;
    using layoutvalue::Int;
    const auto frame = Frame();
    if (name == "ClientWidth") {
        SetBounds(Left(), Top(), Int(value) + 2 * frame.frameWidth, Height());
    } else if (name == "ClientHeight") {
        SetBounds(Left(), Top(), Width(), Int(value) + 2 * frame.frameHeight + frame.captionHeight);
    } else if (name == "BorderStyle") {
        borderStyle_ = layoutvalue::Named<TBorderStyle>(
            value,
            {{"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog}},
            "border style");
        Changed(Aspect::Style);
    } else if (name == "BorderIcons") {
        borderIcons_ = layoutvalue::Set(value,
                                        {{"biSystemMenu", biSystemMenu},
                                         {"biMinimize", biMinimize},
                                         {"biMaximize", biMaximize},
                                         {"biHelp", biHelp}},
                                        "border icon");
        Changed(Aspect::Style);
    } else if (name == "Position") {
        position_ = layoutvalue::Named<TPosition>(value,
                                                  {{"poDesigned", poDesigned},
                                                   {"poDefault", poDefault},
                                                   {"poScreenCenter", poScreenCenter},
                                                   {"poDesktopCenter", poDesktopCenter}},
                                                  "position");
    } else if (name == "FormStyle") {
        formStyle_ = layoutvalue::Named<TFormStyle>(
            value, {{"fsNormal", fsNormal}, {"fsStayOnTop", fsStayOnTop}}, "form style");
        Changed(Aspect::Style);
    } else if (name == "AutoSize") {
        autoSize_ = Bool(value);
    } else if (name == "Icon") {
        icon_ = std::string(value);
        Changed(Aspect::Picture);
    } else {
        TWinControl::SetProperty(name, value);
    }
}

void TForm::Publish(std::string name, PublishedMethod method) {
    published_[std::move(name)] = std::move(method);
}

void TForm::BindEvent(TControl& control, std::string_view event, std::string_view method) {
    auto found = published_.find(method);
    if (found == published_.end()) {
        layoutvalue::Unknown("published method", method);
    }
    if (BindFrameworkEvent(control, event, found->second)) {
        return;
    }
    for (const auto& binder : EventBinders()) {
        if (binder(control, event, found->second)) {
            return;
        }
    }
    layoutvalue::Unknown("event", event);
}

void TForm::LoadLayout(const FormLayout& layout) {
    Name = std::string(layout.name);
    std::string_view activeControl;
    auto apply = [this, &activeControl](TControl& control, const std::vector<PropertyValue>& properties) {
        for (const auto& [name, value] : properties) {
            try {
                if (name.starts_with("On")) {
                    BindEvent(control, name, value);
                } else if (&control == this && name == "ActiveControl") {
                    activeControl = value;
                } else {
                    control.SetProperty(name, value);
                }
            } catch (const std::invalid_argument& fault) {
                // Where in the layout the fault lies, so that it can be found in one step.
                throw std::invalid_argument("layout " + Name + ", control " + control.Name + ", property " +
                                            std::string(name) + ", value '" + std::string(value) +
                                            "': " + fault.what());
            }
        }
    };
    apply(*this, layout.properties);
    for (const auto& controlLayout : layout.controls) {
        TControl* control = nullptr;
        try {
            control = CreateControlOfClass(controlLayout.className, this);
        } catch (const std::invalid_argument& fault) {
            throw std::invalid_argument("layout " + Name + ", control " + std::string(controlLayout.name) +
                                        ": " + fault.what());
        }
        control->Name = std::string(controlLayout.name);
        control->SetParent(this);
        apply(*control, controlLayout.properties);
    }
    if (!activeControl.empty()) {
        activeControl_ = Child<TControl>(activeControl);
    }
    if (autoSize_) {
        FitToControls();
    }
}

TApplication::TApplication() : TComponent(nullptr) {
    title_ = TitleFromProgramPath(platform::ProgramPath());
    Application = this;
}

TApplication::~TApplication() {
    // The windows go first: what they hold may need COM until they are gone.
    while (!Components().empty()) {
        delete Components().back();
    }
    if (comInitialized_) {
        platform::CoUninitialize();
    }
    if (Application == this) {
        Application = nullptr;
    }
}

void TApplication::Initialize() {
    comInitialized_ = platform::SUCCEEDED(platform::CoInitialize(nullptr));
}

void TApplication::Run() {
    ShowMainForm();
    backend::RunMessageLoop(*this);
}

void TApplication::ShowMainForm() {
    if (mainForm_ != nullptr) {
        mainForm_->Show();
    }
}

// Told to terminate, the program ends with kExitEnded once its loop ends. Windows ending the session may
// take the process down before that: the record of the run hears of the end now.
void TApplication::Terminate() {
    terminated_ = true;
    platform::RecordProcessEnding(kExitEnded);
    backend::QuitMessageLoop();
}

void TApplication::SessionEnding() {
    platform::RunExitCleanUp();
    Terminate();
}

void TApplication::BringToFront() {
    if (mainForm_ != nullptr && mainForm_->Showing() && !mainForm_->BringToFront()) {
        mainForm_->Flash();
    }
}

void TApplication::ShowException(const Exception& exception) {
    MessageBox(ExceptionBoxText(exception.Message), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ShowModalBox(text, caption, flags, 0);
}

void TApplication::Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& exception) {
        ShowException(exception);
    }
}

// By characters of the system's code page: the second byte of a double-byte character may be a
// backslash or a letter, and is neither here.
std::string TitleFromProgramPath(const std::string& path) {
    const auto folderEnd = platform::FindLastCharacter(path, "\\/:");
    std::string name = folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
    if (const auto dot = platform::FindFirstCharacter(name, "."); dot != std::string::npos) {
        name.resize(dot);
    }
    for (std::size_t at = name.empty() ? 0 : platform::CharacterSize(name, 0); at < name.size();) {
        const std::size_t size = platform::CharacterSize(name, at);
        if (!platform::IsDBCSLeadByte(static_cast<platform::BYTE>(name[at]))) {
            platform::CharLowerBuffA(&name[at], 1);  // a letter of the code page's single bytes
        }
        at += size;
    }
    return name;
}

std::string ExceptionBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + '.';
    }
    return message;
}

void BringAnotherCopyToFront(const std::string& mainFormCaption) {
    backend::BringAnotherCopyToFront(mainFormCaption);
}

void ShowMessage(const std::string& text) {
    Application->MessageBox(text, Application->Title(), MB_OK);
}
