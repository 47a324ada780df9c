// These are the texts as shipped, misspellings included: they must not be corrected.
//
// Every text of the setup program's own that a user sees, by the window that shows it. Users, their
// manuals and the tests know them exactly as they stand here.
#pragma once

// One page of the wizard: its title in Memo1, its text in Memo2, what to do next in Memo3.
struct TPageTexts {
    const char* Title;
    const char* Body;
    const char* Instruction;
};

// ---- The wizard (Unit2) ----

inline constexpr TPageTexts kWelcomePage{
    "Welcome!",
    "Welcome to the Corvane FIR driver setup program. This program will install Corvane FIR driver on your "
    "computer. It is strongly recommand you exit all Windows programs before running this setup program.",
    "Click Cancel to quit Setup and then close any program you have running. Click Next to continue with the "
    "Setup program."};
inline constexpr TPageTexts kReadyPage{
    "Start to Setup!", "The setup program is ready to copying files on your computer.",
    "Click Back to return previous step. Click Next to begin copying files."};
inline constexpr TPageTexts kFinishedPage{"Setup complete!",
                                          "The setup program has finished copying files to your computer.",
                                          "Click Finish to complete setup.Please restart your computer."};
// Next's caption on the finished page; it is never set back.
inline constexpr const char* kFinishCaption = "Finish";

// ---- Message boxes over the wizard, from its install step and the install procedures ----

inline constexpr const char* kSetupDatOpenError = "File Setup.dat Open Error!!";
inline constexpr const char* kUnsupportedWindows =
    "Corvane FIR driver setup program does't suport this Windows Version";
inline constexpr const char* kNoWindowsPath = "Can't get Windows path";
inline constexpr const char* kCannotOpenNewdev = "Cant't Open newdev.dll";
inline constexpr const char* kCannotLinkNewdev = "Link newdev.dll Library error";
inline constexpr const char* kCannotOpenSetupApi = "Can't Open setupapi.dll";
inline constexpr const char* kCannotLinkSetupApi = "Link setupapi.dll Library error";
inline constexpr const char* kNotAdministrator =
    "Only an administrator can install FIR driver.\n"
    "Please log on as an administrator and run Setup again.";
// A failure of the install that names what failed; the system's reason follows on a line of its own.
inline constexpr const char* kCantInstallFirDriver = "Can't install FIR driver";
// Followed by the file's path.
inline constexpr const char* kCantReadDriverFile = "Can't read driver file ";
// Followed by the file's path, kCopyDestination and the path it was to be copied to.
inline constexpr const char* kCantCopyDriverFile = "Can't copy driver file ";
inline constexpr const char* kCopyDestination = " to ";
// Followed by the file's path.
inline constexpr const char* kCantDeleteOldDriverFile = "Can't delete old driver file ";
// The reason for a copy that Windows answered as not completed, the destination without the new file.
inline constexpr const char* kCopyNotCompleted = "Windows did not complete the copy.";
// Followed by the file's path, kKeptAs and the path of its kept copy: after a failure, an earlier driver
// file that could not be put back, and where the user finds it.
inline constexpr const char* kEarlierFileNotPutBack = "Your earlier driver file ";
inline constexpr const char* kKeptAs = " could not be put back. It is kept as ";

// ---- The Windows 98 source dialog (Unit4) ----

inline constexpr const char* kSourceFilesNotFound = "OS source files can not be found!!";

// ---- The restart prompt (Unit3) ----

inline constexpr const char* kRestartPrompt =
    "Setup program has finished copying FIR driver on your computer and needs to restart your computer now. "
    "Click Reboot to resart your computer.";
