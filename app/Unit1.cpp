#include "app/Unit1.h"

#include "app/Unit2.h"
#include "framework/ExitCodes.h"
#include "framework/Placement.h"
#include "platform/Process.h"
#include "resources/Layouts.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    Publish("FormShow", TNotifyEvent([this](TObject* Sender) { FormShow(Sender); }));
    Publish("FormActivate", TNotifyEvent([this](TObject* Sender) { FormActivate(Sender); }));
    Publish("FormResize", TNotifyEvent([this](TObject* Sender) { FormResize(Sender); }));
    Publish("FormClose",
            TCloseEvent([this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); }));
    LoadLayout(Form1Layout);
    Label1 = Child<TLabel>("Label1");
    Label2 = Child<TLabel>("Label2");
    Label3 = Child<TLabel>("Label3");
    Label4 = Child<TLabel>("Label4");
}

void TForm1::FormShow(TObject* /*Sender*/) {
    ++ShowCount;
    if (ShowCount == 1) {
        // The wizard comes up on its own first, centred on the desktop; the background's activation
        // then takes it in.
        Form2->Back->SetEnabled(false);
        Form2->Show();
    }
}

void TForm1::FormActivate(TObject* /*Sender*/) {
    // The wizard is placed as it comes in; later activations leave it where it is, or where the user
    // has dragged it.
    const bool comingIn = Form2->Parent() != this;
    Form2->SetParent(this);
    if (comingIn) {
        PlaceWizard();
    }
}

// The work area changed, or the user sized the window: the wizard inside follows.
void TForm1::FormResize(TObject* /*Sender*/) {
    if (Form2->Parent() == this) {
        PlaceWizard();
    }
}

// The wizard keeps its place where it lies whole inside the client area, and otherwise moves the least
// that makes it fit. On a screen too small for it (640 x 480 with a task bar) its buttons matter most:
// the row of Back, Next and Cancel stays whole, its bottom edge meets the client area's, and what does
// not fit is cut from its caption at the top and from its right side, as far as the buttons allow.
void TForm1::PlaceWizard() {
    const TRect client{0, 0, ClientWidth(), ClientHeight()};
    const TRect placed = FitInside(Form2->BoundsRect(), client, {Cut::End, Cut::Start, Form2->ButtonRow()});
    Form2->SetBounds(placed.Left, placed.Top, placed.Width(), placed.Height());
}

void TForm1::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/) {
    platform::ExitProcess(kExitCancelled);
}
