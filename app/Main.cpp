#include "app/Main.h"

#include "app/Install.h"
#include "app/OneCopy.h"
#include "app/RunLog.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/WindowsVersion.h"
#include "framework/ExitCodes.h"
#include "platform/Process.h"

namespace {

int RunProgram() {
    const TOneCopy oneCopy;
    if (oneCopy.AnotherCopyRuns()) {
        return LeaveToTheRunningCopy();
    }
    // Before anything else, and whether or not the device is there: Windows looks for its drivers in the
    // cabinet's place.
    if (ClassifyWindowsVersion() == TOsKind::WindowsMe) {
        PutBackParkedDriverCabinet();
    }
    // An exception that escapes while the windows are being made is shown, and the program ends
    // without the message loop having run, with the code of every other fatal error: a launcher or a
    // script must not read it as success.
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        Application->Run();
        platform::RunExitCleanUp();  // the other ways out run it as they end the process
    } catch (const Exception& exception) {
        Application->ShowException(exception);
        return kExitFatal;
    }
    return kExitEnded;
}

}  // namespace

int CvfirMain() {
    TRunLog log;
    return log.Returning(RunProgram());
}
