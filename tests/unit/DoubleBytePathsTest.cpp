// The program run from a folder, and under a file name, of an East Asian code page whose double-byte
// characters end in a backslash or an ASCII letter: its title, its setup.dat and every path that the
// install procedures form below its folder.
#include "app/Install.h"
#include "app/StagedDriverFiles.h"
#include "framework/Dialogs.h"
#include "tests/unit/CvfirTest.h"
#include "tests/unit/DoubleByteNames.h"

using namespace doublebyte;
using platform::HKEY_LOCAL_MACHINE;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Disk {
    platform::UINT codePage;
    std::string folder;  // without its trailing backslash
    std::string name;    // the program file's name without ".exe": the application title
};

std::ostream& operator<<(std::ostream& out, const Disk& disk) {
    return out << "code page " << disk.codePage;
}

constexpr const char* kInfraredInstance =
    "SYSTEM\\ControlSet001\\Control\\Class\\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000";

class DoubleBytePaths : public CvfirTest, public ::testing::WithParamInterface<Disk> {
protected:
    // The application takes its title from the program's path when it is made: it is made anew once
    // the program lies on the disk.
    void SetUp() override {
        CvfirTest::SetUp();
        delete Application;
        world->UseCodePage(GetParam().codePage);
        world->programPath = Folder() + "\\" + GetParam().name + ".exe";
        world->files.AddFile(world->programPath, "MZ");
        world->files.AddFile(Folder() + "\\setup.dat", "4\r\n");
        WriteDriverInfs(Folder() + "\\");
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, kInfraredInstance);
        world->AddDevice({"*CVN0510"});
        new TApplication;
    }
    const std::string& Folder() const { return GetParam().folder; }
    std::optional<unsigned> RunToTheInstallStep(WindowsRelease release) {
        UseRelease(release);
        StartUp();
        Press(Form2->Next);
        return ExitCodeOf([this] { Press(Form2->Next); });
    }
    std::vector<std::string> UpdatedInfs() const {
        std::vector<std::string> infs;
        for (const auto& update : world->driverUpdates) {
            infs.push_back(update.infPath);
        }
        return infs;
    }
};

TEST_P(DoubleBytePaths, TheTitleIsTheWholeFileNameAsItIsWritten) {
    EXPECT_EQ(Application->Title(), GetParam().name);
    world->files.Remove(Folder() + "\\setup.dat");
    EXPECT_EQ(RunToTheInstallStep(WindowsRelease::WindowsXp), std::nullopt);
    ASSERT_THAT(MessageBoxTexts(), ElementsAre("File Setup.dat Open Error!!"));
    EXPECT_EQ(headless::MessageBoxes()[0].caption, GetParam().name);
}

TEST_P(DoubleBytePaths, OnWindowsXpTheDriverComesFromTheProgramsFolder) {
    EXPECT_EQ(RunToTheInstallStep(WindowsRelease::WindowsXp), std::nullopt);
    const std::string inf = Folder() + "\\winxp\\cvfirdma.inf";
    EXPECT_THAT(UpdatedInfs(), ElementsAre(inf, inf));
    EXPECT_EQ(world->registry.GetString(HKEY_LOCAL_MACHINE, kInfraredInstance, "InfraredTransceiverType"),
              "4");
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

TEST_P(DoubleBytePaths, OnWindows2000TheInfLiesInItsFolderBelowTheProgram) {
    EXPECT_EQ(RunToTheInstallStep(WindowsRelease::Windows2000), std::nullopt);
    const std::string inf = Folder() + "\\win2000\\cvfirdma.inf";
    EXPECT_THAT(UpdatedInfs(), ElementsAre(inf, inf));
}

TEST_P(DoubleBytePaths, OnWindowsMeTheInfLiesInItsFolderBelowTheProgram) {
    UseRelease(WindowsRelease::WindowsMe);
    CreateWindows();
    InstallForWindowsMe(Form2);
    EXPECT_THAT(UpdatedInfs(), ElementsAre(Folder() + "\\winme\\cvfirdma.inf"));
}

TEST_P(DoubleBytePaths, OnWindows98TheFilesAreCopiedFromTheProgramsFolder) {
    UseRelease(WindowsRelease::Windows98);
    CreateWindows();
    EXPECT_EQ(ExitCodeOf([] {
                  StageDriverFiles();
                  InstallForWindows98(Form2);
              }),
              std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
    EXPECT_THAT(world->calls,
                ::testing::Contains("CopyFileA " + Folder() +
                                    "\\win98\\cvfirdma.sys C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys 0"));
}

INSTANTIATE_TEST_SUITE_P(
    EastAsianDisks, DoubleBytePaths,
    ::testing::Values(Disk{932, "C:\\" + kSoftware932, kSetup932},  // a folder ending in 5C
                      Disk{932, "C:\\" + kSetup932 + "\\" + kTable932, kSoftware932},  // a name with 5C
                      Disk{950, "D:\\" + kPermit950 + "\\" + kName950, kFunction950},
                      Disk{950, "D:\\" + kName950, kPermit950}));

}  // namespace
