// What the tests of cvfir share: a fresh in-memory Windows and a fresh headless application for each
// test, the Windows releases as registry profiles, and a way to see the process end.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "framework/headless/Headless.h"
#include "platform/Registry.h"
#include "platform/sim/World.h"

enum class WindowsRelease {
    Windows95,
    Windows98,
    WindowsMe,
    Windows2000,
    WindowsXp,
    WindowsNt4,
    WindowsNt351,
    Windows7
};

// Runs `action`; answers the exit code when it ended the process, nothing when it returned.
std::optional<unsigned> ExitCodeOf(const std::function<void()>& action);

class CvfirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the four windows as the program entry does, without running the message loop.
    void CreateWindows();
    // Creates the windows and shows the background, which brings the wizard up inside it.
    void StartUp();
    // The program folder's setup.dat.
    void WriteSetupDat(const std::string& content);
    // The INF of each driver update (winme, win2000, winxp) below a program folder (with its backslash),
    // naming the controller's hardware ID as the driver disk's do.
    void WriteDriverInfs(const std::string& programFolder = "C:\\cvdisk\\");
    // Writes the version values that a release keeps in the registry, where the wizard reads them, and
    // makes the world that release: a Windows 95, 98 or Me for those three, 2000- and XP-like for the others,
    // as each test begins. Windows 98 comes as its install meets it: its SYSTEM folder, the driver disk's
    // win98 folder beside the program ("inf" and "sys"), the Windows 98 CD in D: with NET8.CAB, and
    // SourcePath naming D:\WIN98. Chosen before the windows are made, which take the release then.
    void UseRelease(WindowsRelease release);
    // Clicks a button as a person would; fails the test when a person could not.
    void Press(TControl* button);
    // From the welcome page to the install step (two presses of Next).
    void WalkToInstallStep();

    std::vector<std::string> MessageBoxTexts() const;

    platform::sim::World* world = nullptr;
};
