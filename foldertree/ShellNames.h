// Reading a folder's answer about one name of an item. TCvFolderTree::GetPathName is built on these;
// they stand apart from the control so that the answer decoding can be tried with any bytes.
#pragma once

#include <optional>
#include <string>

#include "platform/Shell.h"

// The text of a folder's answer. Nothing when it is a wide answer without a string (the one answer
// after which a normal name is asked again as a parsing name). A wide string is released to the COM
// task allocator once read. An offset answer is read from `item`
// only as far as its terminator, an ANSI answer only within its buffer; an answer of an unknown
// type gives an empty text.
std::optional<std::string> StrRetText(platform::STRRET& answer, platform::LPCITEMIDLIST item);

// One name of an item: `flags` asked of `folder`; a normal name that comes back without a string is
// asked once more as the parsing name. Empty when the folder gives nothing.
std::string ShellItemName(platform::IShellFolder& folder, platform::LPCITEMIDLIST item,
                          platform::DWORD flags);
