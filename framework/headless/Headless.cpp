// The headless backend: windows that exist only as the controls' own state. Showing a top-level
// window makes it the active window at once, as Windows does, so the order of show, activation and
// re-parenting is the same as on the real system.
#include "framework/headless/Headless.h"

#include <deque>

namespace headless {

namespace {

struct State {
    TRect desktop{0, 0, 1024, 768};
    TRect workArea{0, 0, 1024, 740};
    std::vector<MessageBoxRecord> boxes;
    std::vector<std::string> journal;
    std::deque<std::function<void()>> queue;
};

State& Current() {
    static State state;
    return state;
}

void Note(std::string line) {
    Current().journal.push_back(std::move(line));
}

class NullControlPeer : public ControlPeer {
public:
    void Changed(Aspect) override {}
};

class HeadlessFormPeer : public FormPeer {
public:
    explicit HeadlessFormPeer(TForm& form) : form_(form) {}
    void Changed(Aspect) override {}

    void Display() override {
        const bool topLevel = form_.Parent() == nullptr;
        Note("display " + form_.Name + " " + std::to_string(form_.Left()) + "," +
             std::to_string(form_.Top()) + (topLevel ? " top-level" : " child"));
        if (topLevel) {
            Note("activate " + form_.Name);
            form_.HandleActivate();
        }
    }
    void Conceal() override { Note("conceal " + form_.Name); }
    void ParentChanged() override {
        Note("reparent " + form_.Name + " " +
             (form_.Parent() ? form_.Parent()->Name : std::string("desktop")));
    }
    void Repaint() override { Note("repaint " + form_.Name); }

private:
    TForm& form_;
};

bool PersonCanReach(TControl& control) {
    for (TControl* at = &control; at != nullptr; at = at->Parent()) {
        if (!at->Enabled() || !at->Visible()) {
            return false;
        }
    }
    auto* form = control.ParentForm();
    return form != nullptr && form->Showing();
}

}  // namespace

void Reset() {
    Current() = State{};
}

void SetScreen(TRect desktop, TRect workArea) {
    Current().desktop = desktop;
    Current().workArea = workArea;
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return Current().boxes;
}

const std::vector<std::string>& Journal() {
    return Current().journal;
}

bool Click(TControl& control) {
    if (!PersonCanReach(control)) {
        return false;
    }
    Application->Dispatch([&control] { control.Click(); });
    return true;
}

bool RequestClose(TForm& form) {
    if (!form.Showing()) {
        return false;
    }
    Application->Dispatch([&form] { form.Close(); });
    return true;
}

void Activate(TForm& form) {
    Note("activate " + form.Name);
    Application->Dispatch([&form] { form.HandleActivate(); });
}

void EndSession() {
    Application->Terminate();
}

void Post(std::function<void()> action) {
    Current().queue.push_back(std::move(action));
}

}  // namespace headless

namespace backend {

std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) {
    return std::make_unique<headless::HeadlessFormPeer>(form);
}

std::unique_ptr<ControlPeer> CreateControlPeer(TControl&) {
    return std::make_unique<headless::NullControlPeer>();
}

TRect DesktopRect() {
    return headless::Current().desktop;
}

TRect WorkArea() {
    return headless::Current().workArea;
}

FrameMetrics FrameFor(FrameKind kind, bool hasCaption) {
    // The classic metrics: a sizeable frame of 4 pixels, a fixed one of 3, a caption bar of 19.
    const int frame = kind == FrameKind::Sizeable ? 4 : kind == FrameKind::Single ? 3 : 0;
    return FrameMetrics{frame, frame, hasCaption ? 19 : 0};
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    headless::Current().boxes.push_back(headless::MessageBoxRecord{text, caption, flags});
    headless::Note("message box " + text);
    return 1;
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
