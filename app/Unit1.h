// The background window: a blue surface filling the work area, with the product title, inside which
// the wizard sits.
#pragma once

#include <cstdint>

#include "framework/Forms.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);

    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    std::int32_t ShowCount;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TForm1* Form1;
