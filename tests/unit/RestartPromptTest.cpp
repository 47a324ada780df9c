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
    // The calls about the token and the shutdown, in order.
    std::vector<std::string> TokenAndShutdownCalls() const {
        std::vector<std::string> calls;
        for (const auto& call : world->calls) {
            for (const char* name :
                 {"OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges", "ExitWindowsEx"}) {
                if (call.starts_with(name)) {
                    calls.push_back(call);
                }
            }
        }
        return calls;
    }
};

TEST_F(RestartPrompt, LooksAsLaidOutWithItsMessage) {
    CreateWindows();
    EXPECT_EQ(Form3->Caption(), "Install");
    EXPECT_EQ(Form3->FormStyle(), fsStayOnTop);
    EXPECT_EQ(Form3->BorderIcons(), biSystemMenu);
    EXPECT_EQ(Form3->ClientWidth(), 341);
    EXPECT_EQ(Form3->ClientHeight(), 128);
    EXPECT_EQ(Form3->OK->Caption(), "Restart");
    EXPECT_EQ(Form3->Font().Name, "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_THAT(
        Form3->Memo1->Lines->Lines(),
        ElementsAre("Setup program has finished copying FIR driver on your computer and needs to restart "
                    "your computer now. Click Reboot to resart your computer."));
    EXPECT_EQ(Form3->TabList().front(), Form3->Memo1);
    EXPECT_FALSE(Form3->Showing());
}

TEST_F(RestartPrompt, FinishShowsItCentredAboveTheBackground) {
    Finish();
    EXPECT_EQ(Form3->Left(), (1024 - 349) / 2);
    EXPECT_EQ(Form3->Top(), (768 - 155) / 2);
    EXPECT_TRUE(Form1->Showing());
    EXPECT_FALSE(Form2->Showing());
}

TEST_F(RestartPrompt, RestartEnablesThePrivilegeAndAsksForAReboot) {
    Finish();
    EXPECT_EQ(ExitCodeOf([this] { Press(Form3->OK); }), std::nullopt);
    EXPECT_TRUE(world->shutdownPrivilegeEnabled);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
    EXPECT_EQ(world->restartsBegun, 1);
    EXPECT_EQ(world->openTokens, 0);
    EXPECT_TRUE(Form3->Showing());  // until Windows ends the session
    // Adjust and query: 0x28.
    EXPECT_THAT(TokenAndShutdownCalls(),
                ElementsAre("OpenProcessToken 40", "LookupPrivilegeValueA SeShutdownPrivilege",
                            "AdjustTokenPrivileges", "ExitWindowsEx 2"));
    // One privilege, the shutdown privilege (19), enabled (2), nothing asked back: no previous-state
    // buffer, its length 0, no place for the length returned.
    EXPECT_THAT(world->tokenAdjustments, ElementsAre(TokenAdjustment{0, 1, 19, 2, 0, false, false}));
    EXPECT_TRUE(Form3->EnableShutdownPrivilege());
}

struct PrivilegeCase {
    const char* name;
    void (*arrange)(platform::sim::World&);
    std::size_t tokenCalls;  // made before the step gives up: none after the one that failed
    friend std::ostream& operator<<(std::ostream& out, const PrivilegeCase& c) { return out << c.name; }
};

class WithoutThePrivilege : public RestartPrompt, public ::testing::WithParamInterface<PrivilegeCase> {};

TEST_P(WithoutThePrivilege, TheRebootIsAskedForAllTheSame) {
    GetParam().arrange(*world);
    Finish();
    EXPECT_FALSE(Form3->EnableShutdownPrivilege());
    EXPECT_EQ(world->openTokens, 0);
    world->ForgetRecords();
    Press(Form3->OK);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(kReboot));
    EXPECT_EQ(world->restartsBegun, 0);
    const auto calls = TokenAndShutdownCalls();
    EXPECT_EQ(calls.size(), GetParam().tokenCalls + 1);
    EXPECT_EQ(calls.back(), "ExitWindowsEx 2");
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
    // Windows refuses the reboot: the prompt stays, and Cancel still ends the program.
    EXPECT_TRUE(Form3->Showing());
    EXPECT_EQ(ExitCodeOf([this] { Press(Form3->Cancel); }), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    RestartPrompt, WithoutThePrivilege,
    ::testing::Values(PrivilegeCase{"TokenNotOpened", [](auto& w) { w.tokenOpens = false; }, 1},
                      PrivilegeCase{"PrivilegeUnknown", [](auto& w) { w.privilegeKnown = false; }, 2},
                      PrivilegeCase{"PrivilegeNotAssigned", [](auto& w) { w.privilegeAssigned = false; },
                                    3}));

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
    // No token opens: nothing more is asked of it.
    EXPECT_THAT(TokenAndShutdownCalls(), ElementsAre("OpenProcessToken 40", "ExitWindowsEx 2"));
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
