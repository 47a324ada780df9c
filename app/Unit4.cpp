#include "app/Unit4.h"

#include "resources/Layouts.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner) {
    LoadLayout(Form4Layout);
}
