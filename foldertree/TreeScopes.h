// Things the folder tree takes for the length of one operation and gives back on every way out, a
// failure included.
#pragma once

#include "foldertree/Cvfoldertree.h"
#include "framework/Nesting.h"
#include "framework/Screen.h"

// Painting of the tree suspended while nodes come and go. A lock taken while another holds is refused
// by the system, and the first unlock resumes painting.
class PaintingLock {
public:
    explicit PaintingLock(platform::HWND window) { LockWindowUpdate(window); }
    ~PaintingLock() { LockWindowUpdate(nullptr); }
    PaintingLock(const PaintingLock&) = delete;
    PaintingLock& operator=(const PaintingLock&) = delete;
};

// A list that the shell handed out, given back to it.
class ShellList {
public:
    ShellList(TCvFolderTree& tree, platform::LPITEMIDLIST list) : tree_(tree), list_(list) {}
    ~ShellList() { tree_.FreePidl(list_); }
    ShellList(const ShellList&) = delete;
    ShellList& operator=(const ShellList&) = delete;

private:
    TCvFolderTree& tree_;
    platform::LPITEMIDLIST list_;
};
