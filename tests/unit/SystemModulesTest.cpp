// The modules the program loads itself: always by full path from the system folder, never a module of
// the same name on the driver disk; and a clear end when one cannot be had.
#include <set>

#include "app/DeviceCheck.h"
#include "app/Main.h"
#include "platform/CommonControls.h"
#include "platform/SetupApi.h"
#include "platform/SystemModule.h"
#include "tests/unit/CvfirTest.h"

using platform::HKEY_LOCAL_MACHINE;
using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsSupersetOf;
using ::testing::StartsWith;

namespace {

constexpr const char* kModuleNames[] = {"setupapi.dll", "comctl32.dll", "newdev.dll", "shell32.dll"};
constexpr const char* kInfraredInstance =
    "SYSTEM\\ControlSet001\\Control\\Class\\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000";

class SystemModules : public CvfirTest {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        WriteSetupDat("3\r\n");
        world->AddDevice({"*CVN0510"});
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, kInfraredInstance);
    }
    // A working copy of each system module beside the program: loading one would go unnoticed but for
    // the record of loads.
    void PlantModulesOnTheDisk() {
        for (const char* name : kModuleNames) {
            world->modules[std::string("c:\\cvdisk\\") + name] = world->modules.at(world->SystemPath(name));
        }
    }
    std::vector<std::string> Loads() const {
        std::vector<std::string> loads;
        for (const auto& call : world->calls) {
            if (call.starts_with("LoadLibrary")) {
                loads.push_back(call);
            }
        }
        return loads;
    }
    // Runs the setup to its restart question; answers the exit code if it ended before.
    std::optional<unsigned> RunSetup(WindowsRelease release) {
        UseRelease(release);
        return ExitCodeOf([&] {
            StartUp();
            WalkToInstallStep();
            if (release == WindowsRelease::Windows98) {
                Press(Form4->Ok);
            }
            Press(Form2->Next);
        });
    }
    std::string System(const char* name) const { return world->SystemPath(name); }
};

struct SetupPath {
    const char* name;
    WindowsRelease release;
    std::vector<const char*> modules;  // what the path loads
    std::string systemFolder;          // the release's own, where every load goes
    friend std::ostream& operator<<(std::ostream& out, const SetupPath& p) { return out << p.name; }
};

class PlantedModules : public SystemModules, public ::testing::WithParamInterface<SetupPath> {};

TEST_P(PlantedModules, AreNeverLoadedOnTheWayToTheRestart) {
    PlantModulesOnTheDisk();
    EXPECT_EQ(RunSetup(GetParam().release), std::nullopt);
    EXPECT_TRUE(Form3->Showing());
    const std::string folder = GetParam().systemFolder;
    EXPECT_THAT(Loads(), Each(AllOf(StartsWith("LoadLibraryExA " + folder), EndsWith(" 8"))));
    std::vector<std::string> expected;
    for (const char* name : GetParam().modules) {
        expected.push_back(platform::sim::FileSystem::Normalize(folder + name));
    }
    EXPECT_THAT(world->loadedModules, IsSupersetOf(expected));
    EXPECT_THAT(world->loadedModules, Each(StartsWith(platform::sim::FileSystem::Normalize(folder))));
}

// The wizard's start-up makes the source dialog with its tree on every release, so the tree's modules
// are loaded on each; the device check loads setupapi.dll in every install procedure.
INSTANTIATE_TEST_SUITE_P(SystemModules, PlantedModules,
                         ::testing::Values(SetupPath{"WindowsXp",
                                                     WindowsRelease::WindowsXp,
                                                     {"comctl32.dll", "shell32.dll", "setupapi.dll",
                                                      "newdev.dll"},
                                                     "C:\\WINDOWS\\SYSTEM32\\"},
                                           SetupPath{"Windows2000",
                                                     WindowsRelease::Windows2000,
                                                     {"setupapi.dll", "newdev.dll"},
                                                     "C:\\WINDOWS\\SYSTEM32\\"},
                                           SetupPath{"WindowsMe",
                                                     WindowsRelease::WindowsMe,
                                                     {"setupapi.dll", "newdev.dll"},
                                                     "C:\\WINDOWS\\SYSTEM\\"},
                                           SetupPath{"Windows98ThroughTheSourceDialog",
                                                     WindowsRelease::Windows98,
                                                     {"comctl32.dll", "shell32.dll", "setupapi.dll"},
                                                     "C:\\WINDOWS\\SYSTEM\\"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The in-memory windows exist as soon as their controls have a parent, so the tree's window class, and
// comctl32.dll with it, comes while the source dialog is made; on Windows it comes with the tree's window.
TEST_F(SystemModules, TheStartUpLoadsOnlyTheTreesModulesAndTheDeviceCheckSetupApi) {
    PlantModulesOnTheDisk();
    StartUp();
    EXPECT_THAT(std::set<std::string>(world->loadedModules.begin(), world->loadedModules.end()),
                ElementsAre(System("comctl32.dll"), System("shell32.dll")));
    EXPECT_THAT(world->calls, ::testing::Contains("InitCommonControlsEx 2"));
    const auto loadedAtStartUp = static_cast<long>(world->loadedModules.size());
    EXPECT_TRUE(FindFirDevice(Form2, "*CVN0510"));
    EXPECT_THAT(
        std::vector<std::string>(world->loadedModules.begin() + loadedAtStartUp, world->loadedModules.end()),
        ElementsAre(System("setupapi.dll")));
}

// The texts follow the driver update's own for newdev.dll.
struct Missing {
    const char* name;
    std::function<void(platform::sim::World&)> arrange;
    const char* message;
    friend std::ostream& operator<<(std::ostream& out, const Missing& m) { return out << m.name; }
};

class MissingModules : public SystemModules, public ::testing::WithParamInterface<Missing> {};

TEST_P(MissingModules, EndTheProgramWithTheirMessageAndOne) {
    GetParam().arrange(*world);
    EXPECT_EQ(RunSetup(WindowsRelease::WindowsXp), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(GetParam().message));
    EXPECT_TRUE(world->driverUpdates.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SystemModules, MissingModules,
    ::testing::Values(
        Missing{"NoSystemFolder", [](auto& w) { w.systemDirectoryFails = true; }, "Can't Open shell32.dll"},
        Missing{"NoCommonControls", [](auto& w) { w.modules.erase(w.SystemPath("comctl32.dll")); },
                "Can't Open comctl32.dll"},
        Missing{
            "CommonControlsWithoutImageLists",
            [](auto& w) { w.modules[w.SystemPath("comctl32.dll")].entryPoints.erase("ImageList_Destroy"); },
            "Link comctl32.dll Library error"},
        Missing{"NoShell32", [](auto& w) { w.modules.erase(w.SystemPath("shell32.dll")); },
                "Can't Open shell32.dll"},
        Missing{"Shell32WithoutDeregistration",
                [](auto& w) { w.modules[w.SystemPath("shell32.dll")].entryPoints.erase("#4"); },
                "Link shell32.dll Library error"},
        Missing{"NoSetupApi", [](auto& w) { w.modules.erase(w.SystemPath("setupapi.dll")); },
                "Can't Open setupapi.dll"},
        Missing{
            "SetupApiWithoutFileCopy",
            [](auto& w) { w.modules[w.SystemPath("setupapi.dll")].entryPoints.erase("SetupInstallFileA"); },
            "Link setupapi.dll Library error"}),
    [](const auto& info) { return std::string(info.param.name); });

// A module that lacks one entry point is given back whole: nothing of it is called, so nothing runs
// half-linked.
TEST_F(SystemModules, AModuleLackingAnEntryPointIsNeverCalled) {
    world->modules[System("setupapi.dll")].entryPoints.erase("SetupDiRemoveDevice");
    EXPECT_FALSE(platform::LoadSetupApi());
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(platform::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, platform::DIGCF_PRESENT),
              platform::INVALID_HANDLE_VALUE);
    EXPECT_EQ(world->openDeviceSets, 0);
}

// A module's path is never cut or made from nothing: a cut path would name another file, and a bare
// name would be looked for in the program's folder first.
TEST_F(SystemModules, WithoutAWholePathInTheSystemFolderNothingIsLoaded) {
    PlantModulesOnTheDisk();
    world->systemDirectoryFails = true;
    EXPECT_EQ(platform::LoadSystemModule("newdev.dll"), nullptr);
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_PATH_NOT_FOUND);

    world->systemDirectoryFails = false;
    world->systemDirectory = "C:\\" + std::string(250, 's');  // the folder fits, "\\newdev.dll" not
    world->modules[System("newdev.dll")] = {};
    EXPECT_EQ(platform::LoadSystemModule("newdev.dll"), nullptr);
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILENAME_EXCED_RANGE);
    EXPECT_TRUE(world->loadedModules.empty());
}

}  // namespace
