// The program folder: the drive and directory of the running program's own path, ending in a
// backslash. setup.dat and the driver files are found relative to it.
#pragma once

#include <cstddef>

inline constexpr std::size_t kProgramFolderSize = 100;

// Fills `folder` with the program folder, split from the program's whole path. Returns false, with
// `folder` empty, when there is no path or its folder does not fit the buffers: a cut folder would name
// another place, so it is never used.
bool GetProgramFolder(char (&folder)[kProgramFolderSize]);
