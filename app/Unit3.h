// The restart prompt that ends a successful setup.
#pragma once

#include "framework/Forms.h"

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* AOwner);

    TMemo* Memo1 = nullptr;
    TBitBtn* OK = nullptr;
    TBitBtn* Cancel = nullptr;

    void OKClick(TObject* Sender);
    void CancelClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // True when the process now holds the shutdown privilege enabled.
    bool EnableShutdownPrivilege();
};

extern TForm3* Form3;
