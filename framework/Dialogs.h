// The message box's styles, and the message dialog: modal, centred on the screen, titled after its
// kind, with that kind's icon.
#pragma once

#include <string>

// The styles of a message box (TApplication::MessageBox), in Windows' own numbers: buttons, then icon.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;

// Every message box of the framework, plain or a dialog, is shown through here: modal, by the backend,
// its text told to the record of the run. Answers the button pressed.
int ShowModalBox(const std::string& text, const std::string& caption, unsigned flags, int helpContext);

// Shows the dialog and answers the button pressed.
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
