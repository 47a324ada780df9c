#include "app/OneCopy.h"

#include <string>

#include "app/RunLog.h"
#include "app/WindowsVersion.h"
#include "framework/ExitCodes.h"
#include "framework/Forms.h"
#include "resources/Layouts.h"

using namespace platform;

namespace {

// Windows 98 and Me have one namespace for named objects and allow no backslash in a name. 2000 and XP
// give each session (fast user switching) a namespace of its own: a copy that another user started in
// another session is seen only in the global one.
constexpr const char* kMarkName = "Corvane FIR driver setup";
constexpr const char* kGlobalMarkName = "Global\\Corvane FIR driver setup";

const char* MarkName(TOsKind osKind) {
    const bool oneNamespace = osKind == TOsKind::Windows98 || osKind == TOsKind::WindowsMe;
    return oneNamespace ? kMarkName : kGlobalMarkName;
}

// The running copy is found by its background, whose caption its layout gives.
std::string BackgroundCaption() {
    for (const auto& property : Form1Layout.properties) {
        if (property.name == "Caption") {
            return std::string(property.value);
        }
    }
    return {};
}

}  // namespace

// The mark there already is another copy's; so is one that another user's copy made and this user may
// not open. A mark that cannot be had for another reason stops nothing: the setup goes on unguarded.
TOneCopy::TOneCopy() {
    const char* name = MarkName(ClassifyWindowsVersion());
    SetLastError(ERROR_SUCCESS);  // only "there already" counts, never an error left from before
    mark_.reset(CreateMutexA(nullptr, 0, name));
    const DWORD error = GetLastError();
    anotherCopyRuns_ = error == ERROR_ALREADY_EXISTS || (!mark_ && error == ERROR_ACCESS_DENIED);
}

int LeaveToTheRunningCopy() {
    if (auto* log = RunLog()) {
        log->Line(
            "another copy of the setup program is running: its windows come to the front, and this one "
            "ends");
    }
    BringAnotherCopyToFront(BackgroundCaption());
    return static_cast<int>(kExitFatal);
}
