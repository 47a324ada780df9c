// What the program does when a module of the system folder cannot be had.
#pragma once

#include "platform/Types.h"

// Ends the program when `loaded` is false: a message box "Can't Open NAME", or "Link NAME Library
// error" when the module is there but lacks an entry point (the last error tells which), and exit
// code 1. Going on without the module would only fail later, and less plainly.
void RequireSystemModule(platform::BOOL loaded, const char* fileName);
