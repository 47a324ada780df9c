// What the in-memory Windows does with files where Wine cannot show Windows: each case follows the
// documentation page named above it. The cases that Wine can show are in the contract suite.
#include <gtest/gtest.h>

#include "platform/Kernel.h"
#include "platform/SetupApi.h"
#include "platform/SystemModule.h"
#include "platform/sim/World.h"

using namespace platform;

namespace {

class DocumentedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        world = &sim::ResetWorld();
        world->files.AddFile("C:\\cd\\a.sys", "new");
        world->files.AddFile("C:\\WINDOWS\\SYSTEM\\a.sys", "old");
        ASSERT_TRUE(LoadSetupApi());
    }
    BOOL InstallFile() {
        return SetupInstallFileA(nullptr, nullptr, "a.sys", "C:\\cd", "C:\\WINDOWS\\SYSTEM\\a.sys",
                                 SP_COPY_SOURCEPATH_ABSOLUTE, nullptr, nullptr);
    }
    sim::FileEntry& Target() { return *world->files.Find("C:\\WINDOWS\\SYSTEM\\a.sys"); }
    sim::World* world = nullptr;
};

// "SetupInstallFileA function (setupapi.h)": FALSE with NO_ERROR means that "the file copy operation was
// not completed"; a file in use is queued for the next restart ("SP_COPY_FORCE_IN_USE" behaves as if it
// were in use).
TEST_F(DocumentedFiles, SetupInstallFileNotCompletedOrQueuedCopies) {
    world->installFileNotCompleted = true;
    SetLastError(5);
    EXPECT_EQ(InstallFile(), 0);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(Target().content, "old");

    world->installFileNotCompleted = false;
    Target().inUse = true;
    EXPECT_NE(InstallFile(), 0);
    EXPECT_EQ(Target().content, "old");
    EXPECT_EQ(Target().contentAtRestart, "new");
}

// "SetupInstallFileA function (setupapi.h)" and "System Error Codes (0-499)": a drive without room
// refuses the copy with ERROR_DISK_FULL and keeps the file it had.
TEST_F(DocumentedFiles, ACopyOntoAFullDriveFailsAndKeepsTheTarget) {
    world->fullDrives = "C";
    EXPECT_EQ(InstallFile(), 0);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(Target().content, "old");
    EXPECT_EQ(CopyFileA("C:\\cd\\a.sys", "C:\\WINDOWS\\SYSTEM\\b.sys", 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\SYSTEM\\b.sys"));
}

// "CopyFile function (winbase.h)": a hidden or read-only target is refused with ERROR_ACCESS_DENIED; a
// file held open cannot be written. Wine lets a process of root write over a read-only file.
TEST_F(DocumentedFiles, CopyFileRefusesAHiddenReadOnlyOrHeldTarget) {
    Target().attributes = FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(CopyFileA("C:\\cd\\a.sys", "C:\\WINDOWS\\SYSTEM\\a.sys", 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Target().attributes = FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(CopyFileA("C:\\cd\\a.sys", "C:\\WINDOWS\\SYSTEM\\a.sys", 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileAttributesA("C:\\WINDOWS\\SYSTEM\\a.sys"), FILE_ATTRIBUTE_HIDDEN);
    Target().attributes = 0;
    EXPECT_EQ(GetFileAttributesA("C:\\WINDOWS\\SYSTEM\\a.sys"), FILE_ATTRIBUTE_NORMAL);
    Target().inUse = true;
    EXPECT_EQ(CopyFileA("C:\\cd\\a.sys", "C:\\WINDOWS\\SYSTEM\\a.sys", 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Target().content, "old");
}

// "SetupInstallFileA function (setupapi.h)" with "MoveFileEx function (winbase.h)", by which a file in
// place is replaced: a read-only one is refused with ERROR_ACCESS_DENIED and left as it was.
TEST_F(DocumentedFiles, SetupInstallFileRefusesAReadOnlyTarget) {
    Target().attributes = FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(InstallFile(), 0);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Target().content, "old");
}

// "GetProcAddress function (libloaderapi.h)": a setupapi.dll without one of the entry points binds
// none of them, and each call then fails with ERROR_PROC_NOT_FOUND.
TEST_F(DocumentedFiles, ASetupApiWithoutAnEntryPointBindsNone) {
    world->InstallSetupApi("SetupInstallFileA");
    EXPECT_EQ(LoadSetupApi(), 0);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(InstallFile(), 0);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(Target().content, "old");
    world->InstallSetupApi();
    EXPECT_NE(LoadSetupApi(), 0);
}

// "SetupDiGetClassDevsA function (setupapi.h)": with DIGCF_PRESENT only the devices plugged in now are
// listed; without it a device that was installed and is not plugged in is listed too.
TEST_F(DocumentedFiles, OnlyPresentDevicesAreListedWithDigcfPresent) {
    world->AddDevice({"*CVN0001"});
    world->AddDevice({"*CVN0002"}).present = false;
    const auto listed = [](DWORD flags) {
        const HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, flags);
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        DWORD count = 0;
        while (SetupDiEnumDeviceInfo(set, count, &data)) {
            ++count;
        }
        EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
        return count;
    };
    EXPECT_EQ(listed(DIGCF_ALLCLASSES | DIGCF_PRESENT), 1u);
    EXPECT_EQ(listed(DIGCF_ALLCLASSES), 2u);
}

}  // namespace
