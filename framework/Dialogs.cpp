#include "framework/Dialogs.h"

#include "framework/Backend.h"
#include "platform/RunRecord.h"

namespace {

const char* TitleOf(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return "Warning";
        case mtError:
            return "Error";
        case mtInformation:
            return "Information";
        case mtConfirmation:
            return "Confirm";
    }
    return "";
}

unsigned IconOf(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return MB_ICONEXCLAMATION;
        case mtError:
            return MB_ICONSTOP;
        case mtInformation:
            return MB_ICONINFORMATION;
        case mtConfirmation:
            return MB_ICONQUESTION;
    }
    return 0;
}

unsigned ButtonsOf(TMsgDlgButtons buttons) {
    if ((buttons & (mbYes | mbNo)) != 0) {
        return MB_YESNO;
    }
    return (buttons & mbCancel) != 0 ? MB_OKCANCEL : MB_OK;
}

}  // namespace

int ShowModalBox(const std::string& text, const std::string& caption, unsigned flags, int helpContext) {
    platform::RecordMessageBox(text);
    return backend::ShowMessageBox(text, caption, flags, helpContext);
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    return ShowModalBox(message, TitleOf(type), IconOf(type) | ButtonsOf(buttons), helpContext);
}
