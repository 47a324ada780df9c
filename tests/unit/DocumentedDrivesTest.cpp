// Drives and names as Windows' documentation has them, where Wine cannot show them: a floppy or CD drive
// without its disk, and the longest name a file system keeps. The contract (tests/contract) proves
// what Wine shows on both sides; these cases stand on the documentation alone, each naming its page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ErrorMode.h"
#include "platform/Kernel.h"
#include "platform/sim/World.h"

using namespace platform;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class DocumentedDrives : public ::testing::Test {
protected:
    void SetUp() override {
        world = &sim::ResetWorld();
        world->files.AddRemovableDrive('A');
        world->files.AddFile("A:\\DISK1\\SETUP.INF", "on the floppy");
        world->files.Eject('A');
    }
    // The last error of each file call the program makes on `path`, in one line.
    static std::vector<DWORD> ErrorsOfEachCall(const char* path) {
        std::vector<DWORD> errors;
        EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
        errors.push_back(GetLastError());
        WIN32_FIND_DATAA entry{};
        EXPECT_EQ(FindFirstFileA(path, &entry), INVALID_HANDLE_VALUE);
        errors.push_back(GetLastError());
        EXPECT_EQ(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        errors.push_back(GetLastError());
        return errors;
    }
    sim::World* world = nullptr;
};

// "SetErrorMode function": without SEM_FAILCRITICALERRORS the system shows its own box for a drive that
// is not ready; with it the call fails at once. Either way the call answers ERROR_NOT_READY.
TEST_F(DocumentedDrives, ADriveWithoutItsDiskIsNotReadyAndAsksTheUserUnlessTheProcessSaidNot) {
    EXPECT_THAT(ErrorsOfEachCall("A:\\DISK1\\SETUP.INF"),
                ElementsAre(ERROR_NOT_READY, ERROR_NOT_READY, ERROR_NOT_READY));
    EXPECT_THAT(world->noDiskBoxes, ElementsAre("A:", "A:", "A:"));
    world->noDiskBoxes.clear();
    {
        ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        EXPECT_THAT(ErrorsOfEachCall("a:\\"), ElementsAre(ERROR_NOT_READY, ERROR_NOT_READY, ERROR_NOT_READY));
    }
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
    EXPECT_EQ(world->errorMode, 0u);
}

// A name made full is only text: no disk is needed for it, and no box is shown.
TEST_F(DocumentedDrives, AFullPathNameNeedsNoDisk) {
    char full[MAX_PATH];
    EXPECT_EQ(GetFullPathNameA("A:DISK1", sizeof full, full, nullptr), 8u);
    EXPECT_STREQ(full, "A:\\DISK1");
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
}

// The shell takes a drive whose root is no folder for a drive that is not ready; the drive itself is
// still listed, and what was on the disk comes back with it, the drive's other folders untouched.
TEST_F(DocumentedDrives, TheDiskTakesItsFoldersOutAndBringsThemBack) {
    EXPECT_FALSE(world->files.IsDirectory("A:\\"));
    int listed = 0;
    world->files.ForEachChild("A:\\", [&](const sim::FileEntry&) { return ++listed, true; });
    EXPECT_EQ(listed, 0);
    std::vector<std::string> drives;
    world->files.ForEachChild(
        "", [&](const sim::FileEntry& drive) { return drives.push_back(drive.path), true; });
    EXPECT_THAT(drives, ElementsAre("A:\\", "C:\\"));

    world->files.Insert('A');
    EXPECT_TRUE(world->files.IsDirectory("A:\\"));
    EXPECT_EQ(GetFileAttributesA("A:\\DISK1\\SETUP.INF"), 0x20u);
    EXPECT_EQ(world->files.Read("A:\\DISK1\\SETUP.INF"), "on the floppy");
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
}

// "Naming Files, Paths, and Namespaces": a name of a path has at most 255 characters, so no world can
// hold a longer one. A double-byte character counts once.
TEST(DocumentedNames, NoFileSystemHoldsANameOfMoreThan255Characters) {
    auto& world = sim::ResetWorld();
    world.UseCodePage(932);
    EXPECT_NO_THROW(world.files.AddDirectory("C:\\" + std::string(255, 'n')));
    EXPECT_THROW(world.files.AddDirectory("C:\\" + std::string(256, 'n')), std::invalid_argument);
    EXPECT_THROW(world.files.AddFile("C:\\a\\" + std::string(256, 'n') + "\\b", "x"), std::invalid_argument);
    std::string wide;
    for (int i = 0; i < 255; ++i) {
        wide += "\x83\x5C";  // ソ, whose second byte is a backslash
    }
    EXPECT_NO_THROW(world.files.AddFile("C:\\" + wide, "255 characters in 510 bytes"));
    EXPECT_THROW(world.files.AddFile("C:\\" + wide + "n", "x"), std::invalid_argument);
}

}  // namespace
