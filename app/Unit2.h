// The setup wizard and the procedures it runs: the Windows version classification, the device check
// and the install procedure for each Windows version.
#pragma once

#include <cstdint>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);

    TImage* Image1;
    TBevel* Bevel1;
    TBitBtn* Back;
    TBitBtn* Next;
    TBitBtn* Cancel;
    TMemo* Memo2;
    TMemo* Memo1;
    TMemo* Memo3;

    std::string TransceiverType;  // one digit, "0" to "5", from setup.dat
    std::int32_t WizardStep;      // the page counter
    std::int32_t OsKind;          // the Windows version class, see ClassifyWindowsVersion

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void NextClick(TObject* Sender);
    void BackClick(TObject* Sender);
    void CancelClick(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    void ShowWelcomePage();
    void ShowReadyPage();
    // The finished page; Back leaves Next's enabled state as it is.
    void ShowFinishedPage(bool enableNext);

private:
    void InstallStep();
    bool ReadSetupDat();
    void RunInstallProcedure();
};

extern TForm2* Form2;

// Sets a memo's text: clears it, then puts the text in as its only line.
void SetMemoText(TMemo* memo, const char* text);

// The Windows version class, read from the registry: 0 not recognised, 1 Windows 98, 2 Windows
// Millennium Edition, 3 Windows 2000, 4 Windows NT 4.0, 5 Windows NT 3.51, 6 Windows XP.
std::int32_t ClassifyWindowsVersion();

// Whether a device with `hardwareId` among its hardware IDs is present; on Windows 98 it also removes
// the device instance it found. Prints its search on standard output. The last error on return is the
// one the search ended with.
bool FindFirDevice(TForm2* wizard, const char* hardwareId);
// Prints "<step> FAILURE: <the system's text for the last error>"; always false, the last error kept.
bool ReportLastError(const char* stepName);
// Walks a hardware-ID list of `size` bytes, printing each entry, and tells whether one of them is
// `hardwareId` as a whole, ignoring case. Never reads past `size` bytes, terminated or not.
bool WalkHardwareIdList(const char* list, std::uint32_t size, const char* hardwareId);

void InstallForWindowsMe(TForm2* wizard);
void InstallForWindows2000(TForm2* wizard);
void InstallForWindowsXp(TForm2* wizard);
void InstallForWindows98(TForm2* wizard);
