// The background window: a blue surface filling the work area, with the product title, inside which
// the wizard sits.
#pragma once

#include <cstdint>

#include "framework/Forms.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    std::int32_t ShowCount = 0;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

private:
    void PlaceWizard();
};

extern TForm1* Form1;
