// The program entry on Windows: the application object, then the program itself, whose result is the
// process's exit code.
#include "app/Main.h"
#include "framework/Forms.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    new TApplication;
    const int exitCode = CvfirMain();
    delete Application;  // the windows go, then COM
    return exitCode;
}
