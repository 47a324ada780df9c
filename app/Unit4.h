// The Windows 98 source location dialog: where are the Windows installation files?
#pragma once

#include "framework/Forms.h"

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);

    TMemo* Memo1;
    TBitBtn* Ok;
    TBitBtn* Cancel;
    TEdit* SourceDiskPath;
    bool TreeChangeSeen;

    void OkClick(TObject* Sender);
    void CancelClick(TObject* Sender);
};

extern TForm4* Form4;
