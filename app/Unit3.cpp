#include "app/Unit3.h"

#include "app/Texts.h"
#include "app/Unit2.h"
#include "framework/ExitCodes.h"
#include "platform/HandleOwners.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "platform/Security.h"
#include "resources/Layouts.h"

using namespace platform;

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner) {
    Publish("OKClick", TNotifyEvent([this](TObject* Sender) { OKClick(Sender); }));
    Publish("CancelClick", TNotifyEvent([this](TObject* Sender) { CancelClick(Sender); }));
    Publish("FormClose",
            TCloseEvent([this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); }));
    LoadLayout(Form3Layout);
    Memo1 = Child<TMemo>("Memo1");
    OK = Child<TBitBtn>("OK");
    Cancel = Child<TBitBtn>("Cancel");
    SetMemoText(Memo1, kRestartPrompt);
}

bool TForm3::EnableShutdownPrivilege() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
        return false;
    }
    const OwnedHandle token(opened);
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        return false;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.get(), 0, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when it assigned nothing; only the last error tells.
    return GetLastError() == 0;
}

void TForm3::OKClick(TObject* /*Sender*/) {
    EnableShutdownPrivilege();
    // The reboot is asked for whatever the privilege step gave; Windows then ends the session, and with
    // it the message loop. When no restart follows, the prompt stays and both buttons keep working.
    ExitWindowsEx(EWX_REBOOT, 0);
}

void TForm3::CancelClick(TObject* /*Sender*/) {
    ExitProcess(kExitCancelled);
}

void TForm3::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/) {
    ExitProcess(kExitCancelled);
}
