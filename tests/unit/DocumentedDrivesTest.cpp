// Drives and names as Windows' documentation has them, where Wine cannot show them: a floppy or CD drive
// without its disk, and the longest name a file system keeps. The contract (tests/contract) proves
// what Wine shows on both sides; these cases stand on the documentation alone, each naming its page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ErrorMode.h"
#include "platform/Kernel.h"
#include "platform/SetupApi.h"
#include "platform/sim/World.h"

using namespace platform;
using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class DocumentedDrives : public ::testing::Test {
protected:
    void SetUp() override {
        world = &sim::ResetWorld();
        world->files.AddRemovableDrive('A');
        world->files.AddFile("A:\\DISK1\\SETUP.INF", "on the floppy");
        world->files.Eject('A');
        world->files.AddFile("C:\\cvdisk\\setup.inf", "on the hard disk");
        ASSERT_TRUE(LoadSetupApi());
    }
    // The last error of each file call the program makes on `path`, in one line: each call that takes
    // two names once with `path` for each, the other name a file on drive C:.
    static std::vector<DWORD> ErrorsOfEachCall(const char* path) {
        const char* other = "C:\\cvdisk\\setup.inf";
        std::vector<DWORD> errors;
        const auto failed = [&](bool failure) {
            EXPECT_TRUE(failure);
            errors.push_back(GetLastError());
        };
        failed(GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES);
        WIN32_FIND_DATAA entry{};
        failed(FindFirstFileA(path, &entry) == INVALID_HANDLE_VALUE);
        failed(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr) == INVALID_HANDLE_VALUE);
        failed(SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) == 0);
        failed(DeleteFileA(path) == 0);
        failed(CreateDirectoryA(path, nullptr) == 0);
        failed(RemoveDirectoryA(path) == 0);
        failed(MoveFileA(path, "C:\\cvdisk\\moved.inf") == 0);
        failed(MoveFileA(other, path) == 0);
        failed(CopyFileA(path, "C:\\cvdisk\\copied.inf", 0) == 0);
        failed(CopyFileA(other, path, 0) == 0);
        failed(SetupInstallFileA(nullptr, nullptr, path, nullptr, "C:\\cvdisk\\copied.inf",
                                 SP_COPY_SOURCEPATH_ABSOLUTE, nullptr, nullptr) == 0);
        failed(SetupInstallFileA(nullptr, nullptr, "setup.inf", "C:\\cvdisk", path,
                                 SP_COPY_SOURCEPATH_ABSOLUTE, nullptr, nullptr) == 0);
        return errors;
    }
    sim::World* world = nullptr;
};

// "SetErrorMode function": without SEM_FAILCRITICALERRORS the system shows its own box for a drive that
// is not ready, whichever file call reaches it and by whichever of its names; with it the call fails at
// once. Either way the call answers ERROR_NOT_READY, and nothing on drive C: changes.
TEST_F(DocumentedDrives, ADriveWithoutItsDiskIsNotReadyAndAsksTheUserUnlessTheProcessSaidNot) {
    const auto errors = ErrorsOfEachCall("A:\\DISK1\\SETUP.INF");
    EXPECT_THAT(errors, Each(ERROR_NOT_READY));
    EXPECT_THAT(world->noDiskBoxes, AllOf(SizeIs(errors.size()), Each("A:")));
    world->noDiskBoxes.clear();
    {
        ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        EXPECT_THAT(ErrorsOfEachCall("a:\\"), Each(ERROR_NOT_READY));
    }
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
    EXPECT_EQ(world->errorMode, 0u);
    EXPECT_EQ(world->files.Read("C:\\cvdisk\\setup.inf"), "on the hard disk");
    EXPECT_FALSE(world->files.Exists("C:\\cvdisk\\moved.inf"));
    EXPECT_FALSE(world->files.Exists("C:\\cvdisk\\copied.inf"));
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

// "Naming Files, Paths, and Namespaces": a share of a computer of the network is named with or without
// its last backslash, and is a folder either way; a computer that is not there is no network path.
TEST(DocumentedNetwork, AShareIsAFolderWithOrWithoutItsLastBackslash) {
    auto& world = sim::ResetWorld();
    world.shell.network = {{"SERVER", {"share"}}};
    EXPECT_EQ(GetFileAttributesA("\\\\SERVER\\share"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("\\\\server\\SHARE\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("\\\\ELSEWHERE\\share"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_BAD_NETPATH);
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
