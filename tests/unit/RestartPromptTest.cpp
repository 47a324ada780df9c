// The restart prompt: its look, the restart request, and how it ends the program.
#include "app/Main.h"
#include "tests/unit/CvfirTest.h"

using platform::sim::ShutdownRequest;
using platform::sim::TokenAdjustment;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// EWX_REBOOT with its reserved value 0.
const ShutdownRequest kReboot{2, 0};

class RestartPrompt : public CvfirTest {
protected:
    void Finish() {
        StartUp();
        WalkToInstallStep();
        Press(Form2->Next);
        ASSERT_TRUE(Form3->Showing());
    }
};

TEST_F(RestartPrompt, FinishShowsItCentredAboveTheBackground) {
    Finish();
    EXPECT_EQ(Form3->Left(), (1024 - 349) / 2);
    EXPECT_EQ(Form3->Top(), (768 - 155) / 2);
    EXPECT_TRUE(Form1->Showing());
    EXPECT_FALSE(Form2->Showing());
}

// Windows reboots only for a process that has enabled the shutdown privilege first, through a token
// opened to adjust it: the restart begins.
TEST_F(RestartPrompt, RestartEnablesThePrivilegeBeforeItAsksForAReboot) {
    Finish();
    EXPECT_EQ(ExitCodeOf([this] { Press(Form3->OK); }), std::nullopt);
    EXPECT_TRUE(world->shutdownPrivilegeEnabled);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
    EXPECT_EQ(world->restartsBegun, 1);
    EXPECT_EQ(world->openTokens, 0);
    EXPECT_TRUE(Form3->Showing());  // until Windows ends the session
    // One privilege, the shutdown privilege (19), enabled (2), nothing asked back: no previous-state
    // buffer, its length 0, no place for the length returned.
    EXPECT_THAT(world->tokenAdjustments, ElementsAre(TokenAdjustment{0, 1, 19, 2, 0, false, false}));
    EXPECT_TRUE(Form3->EnableShutdownPrivilege());
}

struct PrivilegeCase {
    const char* name;
    void (*arrange)(platform::sim::World&);
    friend std::ostream& operator<<(std::ostream& out, const PrivilegeCase& c) { return out << c.name; }
};

class WithoutThePrivilege : public RestartPrompt, public ::testing::WithParamInterface<PrivilegeCase> {};

TEST_P(WithoutThePrivilege, TheRebootIsAskedForAllTheSame) {
    GetParam().arrange(*world);
    Finish();
    EXPECT_FALSE(Form3->EnableShutdownPrivilege());
    EXPECT_EQ(world->openTokens, 0);
    Press(Form3->OK);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
    EXPECT_EQ(world->restartsBegun, 0);
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
    // Windows refuses the reboot: the prompt stays, and Cancel still ends the program.
    EXPECT_TRUE(Form3->Showing());
    EXPECT_EQ(ExitCodeOf([this] { Press(Form3->Cancel); }), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    RestartPrompt, WithoutThePrivilege,
    ::testing::Values(PrivilegeCase{"TokenNotOpened", [](auto& w) { w.tokenOpens = false; }},
                      PrivilegeCase{"PrivilegeUnknown", [](auto& w) { w.privilegeKnown = false; }},
                      PrivilegeCase{"PrivilegeNotAssigned", [](auto& w) { w.privilegeAssigned = false; }}));

// Windows 98 and Me have no access token: every token call fails, and the reboot needs no privilege.
class OnWindows9x : public RestartPrompt, public ::testing::WithParamInterface<WindowsRelease> {};

TEST_P(OnWindows9x, RestartRebootsWithoutAToken) {
    UseRelease(GetParam());
    world->AddDevice({"*CVN0510"});
    StartUp();
    WalkToInstallStep();
    if (GetParam() == WindowsRelease::Windows98) {
        Press(Form4->Ok);
    }
    Press(Form2->Next);
    ASSERT_TRUE(Form3->Showing());
    Press(Form3->OK);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
    EXPECT_EQ(world->restartsBegun, 1);
    EXPECT_FALSE(world->shutdownPrivilegeEnabled);
    EXPECT_THAT(world->tokenAdjustments, IsEmpty());
    EXPECT_EQ(world->openTokens, 0);
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(RestartPrompt, OnWindows9x,
                         ::testing::Values(WindowsRelease::Windows98, WindowsRelease::WindowsMe));

TEST_F(RestartPrompt, CancelAndCloseEndWithOneAndNoReboot) {
    Finish();
    EXPECT_EQ(ExitCodeOf([this] { Press(Form3->Cancel); }), 1u);
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form3); }), 1u);
    EXPECT_THAT(world->exitWindowsRequests, IsEmpty());
}

TEST_F(RestartPrompt, TheSessionEndingAfterTheRestartEndsTheProgramWithZero) {
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form3->OK); });
    headless::Post([] { headless::EndSession(); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 0u);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
}

}  // namespace
