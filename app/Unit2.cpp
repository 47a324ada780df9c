#include "app/Unit2.h"

#include <algorithm>
#include <cstdlib>

#include "app/FormatPath.h"
#include "app/Install.h"
#include "app/ProgramFolder.h"
#include "app/StagedDriverFiles.h"
#include "app/Texts.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "framework/ExitCodes.h"
#include "framework/Screen.h"
#include "platform/CRuntime.h"
#include "platform/Process.h"
#include "resources/Layouts.h"

TForm2* Form2 = nullptr;

namespace {

// The page counter's steps.
enum : std::int32_t { kWelcomeStep = 0, kReadyStep = 1, kInstallStep = 2, kRestartStep = 3 };

constexpr int kSetupDatLineSize = 80;  // the first line, at most 79 characters
constexpr int kTransceiverDigits = 8;  // only the first 8 characters are scanned
constexpr std::size_t kSetupDatPathSize = 200;

// The transceiver type that a scanned value selects: 1 to 5 their own, every other value the default "0".
const char* TransceiverTypeFor(int value) {
    static const char* const kTypes[] = {"1", "2", "3", "4", "5"};
    return value >= 1 && value <= 5 ? kTypes[value - 1] : "0";
}

// The install procedure of a Windows version that takes its driver through Plug and Play; none for
// the others.
using TInstallProcedure = void (*)(TForm2* wizard);
TInstallProcedure DriverUpdateFor(TOsKind osKind) {
    switch (osKind) {
        case TOsKind::Windows2000:
            return InstallForWindows2000;
        case TOsKind::WindowsXp:
            return InstallForWindowsXp;
        case TOsKind::WindowsMe:
            return InstallForWindowsMe;
        default:
            return nullptr;
    }
}

// While an install procedure runs, Windows may show its own dialogs on our thread (the unsigned-driver
// warning, the prompt for a disk), and their message loops go on delivering clicks to our windows: a
// Cancel or a close box there would end the program in the middle of the system's installation, on
// Windows Me with the driver cabinet still moved aside. The background, and with it the wizard, take
// no input until the procedure is over, whichever way it ends; a close request, which Windows delivers
// to a disabled window all the same (Task Manager's End Task), and a log-off or shut-down are refused.
// Such a dialog has no owner: as it closes, Windows activates another program's window. So at the end
// the background and the wizard ask to come back to the front. Windows grants that unless the user has
// gone to another program meanwhile; then the background's task-bar button flashes, and the finished
// page's Finish keeps the keyboard for the user's return.
class TInputHeldBack {
public:
    TInputHeldBack() {
        Application->HoldOpen();
        Form1->SetEnabled(false);
        Form2->SetEnabled(false);
    }
    ~TInputHeldBack() {
        Form2->SetEnabled(true);
        Form1->SetEnabled(true);
        Application->LetClose();
        Application->BringToFront();
    }
    TInputHeldBack(const TInputHeldBack&) = delete;
    TInputHeldBack& operator=(const TInputHeldBack&) = delete;
};

}  // namespace

void SetMemoText(TMemo* memo, const char* text) {
    memo->Clear();
    memo->Lines->Add(text);
}

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
    Publish("FormCreate", TNotifyEvent([this](TObject* Sender) { FormCreate(Sender); }));
    Publish("FormShow", TNotifyEvent([this](TObject* Sender) { FormShow(Sender); }));
    Publish("NextClick", TNotifyEvent([this](TObject* Sender) { NextClick(Sender); }));
    Publish("BackClick", TNotifyEvent([this](TObject* Sender) { BackClick(Sender); }));
    Publish("CancelClick", TNotifyEvent([this](TObject* Sender) { CancelClick(Sender); }));
    Publish("FormCloseQuery",
            TCloseQueryEvent([this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); }));
    LoadLayout(Form2Layout);
    Image1 = Child<TImage>("Image1");
    Bevel1 = Child<TBevel>("Bevel1");
    Back = Child<TBitBtn>("Back");
    Next = Child<TBitBtn>("Next");
    Cancel = Child<TBitBtn>("Cancel");
    Memo2 = Child<TMemo>("Memo2");
    Memo1 = Child<TMemo>("Memo1");
    Memo3 = Child<TMemo>("Memo3");
    OsKind = ClassifyWindowsVersion();
}

TRect TForm2::ButtonRow() const {
    const TRect client = ClientBounds();
    TRect row = Back->BoundsRect();
    for (const TControl* button : {Next, Cancel}) {
        const TRect bounds = button->BoundsRect();
        row = TRect{std::min(row.Left, bounds.Left), std::min(row.Top, bounds.Top),
                    std::max(row.Right, bounds.Right), std::max(row.Bottom, bounds.Bottom)};
    }
    return TRect{client.Left + row.Left, client.Top + row.Top, client.Left + row.Right,
                 client.Top + row.Bottom};
}

void TForm2::FormCreate(TObject* /*Sender*/) {
    WizardStep = kWelcomeStep;
}

void TForm2::FormShow(TObject* /*Sender*/) {
    ShowWelcomePage();
}

void TForm2::ShowPageTexts(const TPageTexts& page) {
    SetMemoText(Memo1, page.Title);
    SetMemoText(Memo2, page.Body);
    SetMemoText(Memo3, page.Instruction);
}

void TForm2::ShowWelcomePage() {
    ShowPageTexts(kWelcomePage);
    Back->SetEnabled(false);
}

void TForm2::ShowReadyPage() {
    ShowPageTexts(kReadyPage);
    Back->SetEnabled(true);
}

void TForm2::ShowFinishedPage(bool enableNext) {
    if (enableNext) {
        Next->SetEnabled(true);
    }
    Back->SetEnabled(false);
    Next->SetCaption(kFinishCaption);
    ShowPageTexts(kFinishedPage);
    // Finish is the page's way on. The install disabled it while it ran, which left the focus on the
    // window (or, after the source dialog, on Cancel): a keyboard user's next Enter must finish, not
    // cancel an installation that succeeded.
    if (enableNext) {
        Next->SetFocus();
    }
}

void TForm2::NextClick(TObject* /*Sender*/) {
    switch (++WizardStep) {
        case kInstallStep:
            if (!InstallStep()) {
                return;  // stuck at the install step: only Cancel and closing remain
            }
            break;
        case kRestartStep:
            Hide();
            Form3->Show();
            break;
        default:
            ShowPage(WizardStep);
            break;
    }
    Repaint();
}

void TForm2::BackClick(TObject* /*Sender*/) {
    ShowPage(--WizardStep);
    Repaint();
}

// The page of a step, as Next and Back show it. Back onto the install step shows the finished page and
// leaves Next's enabled state as it is; a step without a page changes nothing.
void TForm2::ShowPage(std::int32_t step) {
    switch (step) {
        case kWelcomeStep:
            ShowWelcomePage();
            break;
        case kReadyStep:
            ShowReadyPage();
            break;
        case kInstallStep:
            ShowFinishedPage(false);
            break;
        default:
            break;
    }
}

// Both buttons go off for the install. False when setup.dat cannot be read, which leaves them off.
bool TForm2::InstallStep() {
    Next->SetEnabled(false);
    Back->SetEnabled(false);
    if (!ReadSetupDat()) {
        ShowMessage(kSetupDatOpenError);
        return false;
    }
    RunInstallProcedure();
    return true;
}

void TForm2::CancelClick(TObject* /*Sender*/) {
    platform::ExitProcess(kExitCancelled);
}

void TForm2::FormCloseQuery(TObject* /*Sender*/, bool& /*CanClose*/) {
    platform::ExitProcess(kExitCancelled);
}

// Reads the transceiver type from the first line of setup.dat in the program folder. False when the
// file cannot be opened; a program folder too long for its buffers counts as that too, since the path
// to open would be cut.
bool TForm2::ReadSetupDat() {
    char folder[kProgramFolderSize];
    char path[kSetupDatPathSize];
    // The folder ends in a backslash, so the path holds a doubled one, which Windows reads as one.
    if (!GetProgramFolder(folder) || !FormatPath(path, sizeof path, "%s\\setup.dat", folder)) {
        return false;
    }
    platform::FILE* file = platform::fopen(path, "rt");
    if (file == nullptr) {
        return false;
    }
    char line[kSetupDatLineSize] = {};
    if (platform::fgets(line, sizeof line, file) == nullptr) {
        line[0] = '\0';
    }
    platform::fclose(file);
    line[kTransceiverDigits] = '\0';
    // Eight characters always fit in an int. Read as a scanned decimal number is: blanks, a sign, digits.
    char* end = nullptr;
    const long number = std::strtol(line, &end, 10);
    const int value = end == line ? 0 : static_cast<int>(number);  // no number at the start: the default type
    TransceiverType = TransceiverTypeFor(value);
    return true;
}

// The install's steps keep the program's only thread until they are over (the driver update for up to a
// minute, a CD that spins up): the hourglass shows over its windows meanwhile, however the steps end.
void TForm2::RunInstallProcedure() {
    if (OsKind == TOsKind::Windows98) {
        // The dialog asks for the Windows 98 CD, which a user with one CD drive puts in place of the
        // driver disk: the driver's files are taken off it first.
        {
            const THourGlass busy;
            StageDriverFiles();
        }
        Form4->ShowFor(*this);  // its Ok installs and finishes the wizard
        return;
    }
    const auto install = DriverUpdateFor(OsKind);
    if (install == nullptr) {
        ShowMessage(kUnsupportedWindows);
        platform::ExitProcess(kExitFatal);
    }
    {
        const THourGlass busy;
        const TInputHeldBack heldBack;
        install(this);
    }
    ShowFinishedPage(true);
}

void TForm2::InstallFromSource() {
    {
        const THourGlass busy;
        const TInputHeldBack heldBack;
        InstallForWindows98(this);
    }
    // The step counter stays at the install step: the next Next, now Finish, opens the restart prompt.
    ShowFinishedPage(true);
}
