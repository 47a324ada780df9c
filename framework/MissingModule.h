// The end of the program when a module of the system folder cannot be had.
#pragma once

#include <string>

#include "platform/Types.h"

// Ends the program when `loaded` is false: a message box, then kExitFatal. The box says `cannotOpen`,
// or `cannotLink` when the module is there but lacks an entry point (the last error tells which).
// Going on without the module would only fail later, and less plainly.
void EndIfModuleMissing(platform::BOOL loaded, const std::string& cannotOpen, const std::string& cannotLink);
// The same with the texts of most modules: "Can't Open NAME" and "Link NAME Library error".
void EndIfModuleMissing(platform::BOOL loaded, const char* fileName);
