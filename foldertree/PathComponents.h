// Reading a path the way the folder tree matches it level by level. TCvFolderTree::FindPath is built
// on these; they stand apart from the control so that the splitting can be tried with any bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The components of a path, from its root down. They are taken from the right: each is the text after
// the last backslash or colon of what is left, or all of what is left when that text is empty or when
// what is left is `desktopPath` (the desktop's folder is one component). So c:\windows\system gives c:,
// windows and system; \\server\share gives \, server and share. The components and the one separator
// between each two of them make up the whole path, but for one separator at its very start, which is
// left over (\windows gives windows alone). Empty for an empty path. The path is read by characters of
// the system's code page, so the second byte of a double-byte character never separates.
std::vector<std::string> SplitFolderPath(std::string_view path, std::string_view desktopPath);
