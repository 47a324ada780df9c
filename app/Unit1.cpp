#include "app/Unit1.h"

#include "app/Unit2.h"
#include "framework/ExitCodes.h"
#include "platform/Process.h"
#include "resources/Layouts.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    Publish("FormShow", TNotifyEvent([this](TObject* Sender) { FormShow(Sender); }));
    Publish("FormActivate", TNotifyEvent([this](TObject* Sender) { FormActivate(Sender); }));
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
    Form2->SetParent(this);
}

void TForm1::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/) {
    platform::ExitProcess(kExitCancelled);
}
