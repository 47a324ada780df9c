// Where the program finds things: its own path and Windows' folders, each read from Windows in this one
// place by one rule (whole, or not at all), and the rules by which a path is judged full or joined to a
// folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace platform {

// The running program's path, whole; empty when Windows gives none.
std::string ProgramPath();
// The Windows folder, without a closing backslash; empty when it cannot be had.
std::string WindowsFolder();
// Windows' folder for temporary files as Windows answers it, ending in a backslash. Windows does not
// promise that it can be written, nor on 2000 and XP that it is there. Empty when it cannot be had.
std::string TemporaryFolder();

// Whether `path` names a folder, or a file, that is there.
bool IsFolder(LPCSTR path);
bool IsFile(LPCSTR path);
// Whether a path names its place whatever the current folder: "X:\" or "\\server".
bool IsFullPath(std::string_view path);
// `name` in `folder`, with one backslash between them whether or not the folder ends in one.
std::string InFolder(const std::string& folder, std::string_view name);

}  // namespace platform
