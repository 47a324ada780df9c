// The wizard as the Windows 98 source dialog sees it: all that the dialog asks of it.
#pragma once

class TWindows98Wizard {
public:
    // The source folder is recorded: install the driver's files, then show the finished page.
    virtual void InstallFromSource() = 0;

protected:
    ~TWindows98Wizard() = default;
};
