// The setup wizard: its three pages, and the install step that runs the procedure for the Windows
// version.
#pragma once

#include <cstdint>
#include <string>

#include "app/Windows98Wizard.h"
#include "app/WindowsVersion.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"

struct TPageTexts;

class TForm2 : public TForm, public TWindows98Wizard {
public:
    explicit TForm2(TComponent* AOwner);

    TImage* Image1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TBitBtn* Back = nullptr;
    TBitBtn* Next = nullptr;
    TBitBtn* Cancel = nullptr;
    TMemo* Memo2 = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo3 = nullptr;

    std::string TransceiverType;              // one digit, "0" to "5", from setup.dat
    std::int32_t WizardStep = 0;              // the page counter
    TOsKind OsKind = TOsKind::NotRecognised;  // the Windows version class, see ClassifyWindowsVersion

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void NextClick(TObject* Sender);
    void BackClick(TObject* Sender);
    void CancelClick(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    void InstallFromSource() override;
    // Where the row of Back, Next and Cancel lies, in the window's own coordinates.
    TRect ButtonRow() const;

private:
    void ShowPage(std::int32_t step);
    void ShowWelcomePage();
    void ShowReadyPage();
    // The finished page; Back leaves Next's enabled state as it is.
    void ShowFinishedPage(bool enableNext);
    void ShowPageTexts(const TPageTexts& page);
    bool InstallStep();
    bool ReadSetupDat();
    void RunInstallProcedure();
};

extern TForm2* Form2;

// Sets a memo's text: clears it, then puts the text in as its only line.
void SetMemoText(TMemo* memo, const char* text);
