// One copy of the setup program at a time. A second start beside the first (a double-click on a slow
// CD, autorun beside a click) would show a second background and wizard, race a second driver update
// for the one device, and on Windows 98 share the first copy's staged driver files. The running copy
// marks itself with a named mutex, which Windows takes back with its process, however that ends.
#pragma once

#include "platform/HandleOwners.h"

class TOneCopy {
public:
    // Takes the mark, or finds that another copy holds it.
    TOneCopy();
    bool AnotherCopyRuns() const { return anotherCopyRuns_; }

private:
    platform::OwnedHandle mark_;
    bool anotherCopyRuns_ = false;
};

// The end of a copy started while another runs, before it has made a window or a file: the running
// copy's windows come to the front, the log says why, and the answer is the exit code.
int LeaveToTheRunningCopy();
