// Every window worked by keyboard alone: where the focus starts, where Tab takes it, what Enter and
// Space press, and where the focus goes when the control that had it goes away.
#include "tests/unit/CvfirTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr unsigned VK_ESCAPE = 0x1B;

class Keyboard : public CvfirTest {
protected:
    // Presses a key the form answers, failing the test when it did not take it.
    void Key(unsigned key, bool shift = false) { ASSERT_TRUE(headless::PressKey(key, shift)) << key; }
    void Tab(bool shift = false) { Key(VK_TAB, shift); }
    void Enter() { Key(VK_RETURN); }
    // The names of the controls the focus visits with Tab (or Shift+Tab), from where it is now, once round.
    std::vector<std::string> TabWalk(int presses, bool shift = false) {
        std::vector<std::string> names;
        for (int i = 0; i < presses; ++i) {
            headless::PressKey(VK_TAB, shift);
            names.push_back(headless::Focus() != nullptr ? headless::Focus()->Name : "(form)");
        }
        return names;
    }
};

TEST_F(Keyboard, EnterWalksTheWizardFromTheWelcomePageToTheRestartPrompt) {
    StartUp();
    EXPECT_EQ(headless::Focus(), Form2->Next);
    Enter();
    EXPECT_EQ(Form2->WizardStep, 1);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    Enter();
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
    // The install step disabled Next while it ran, which sent the focus to the background form; the
    // finished page gives it to Finish.
    EXPECT_EQ(headless::Focus(), Form2->Next);
    Enter();
    EXPECT_FALSE(Form2->Showing());
    EXPECT_TRUE(Form3->Showing());
}

TEST_F(Keyboard, TabGoesRoundTheEnabledButtonsInTheirLaidOutOrderAndSkipsTheTexts) {
    StartUp();
    EXPECT_THAT(TabWalk(3), ElementsAre("Cancel", "Next", "Cancel"));  // Back is disabled
    Press(Form2->Next);
    EXPECT_THAT(TabWalk(4), ElementsAre("Cancel", "Back", "Next", "Cancel"));
    EXPECT_THAT(TabWalk(4, true), ElementsAre("Next", "Back", "Cancel", "Next"));
}

TEST_F(Keyboard, SpacePressesTheFocusedButtonAsEnterDoes) {
    StartUp();
    Key(VK_SPACE);
    EXPECT_EQ(Form2->WizardStep, 1);
    Tab();
    Tab();
    EXPECT_EQ(headless::Focus(), Form2->Back);
    Key(VK_SPACE);
    EXPECT_EQ(Form2->WizardStep, 0);
}

TEST_F(Keyboard, NoOtherKeyDoesAnythingAndOnlyCancelEndsTheWizard) {
    StartUp();
    for (unsigned key : {VK_ESCAPE, 0x25u /* left */, 0x28u /* down */, unsigned('N'), 0x73u /* F4 */}) {
        EXPECT_FALSE(headless::PressKey(key)) << key;
    }
    EXPECT_EQ(Form2->WizardStep, 0);
    EXPECT_TRUE(Form2->Showing());
    Tab();
    EXPECT_EQ(headless::Focus(), Form2->Cancel);
    EXPECT_EQ(ExitCodeOf([this] { Enter(); }), 1u);
}

TEST_F(Keyboard, TheRestartPromptOpensOnItsTextAndTabReachesRestartThenCancel) {
    StartUp();
    WalkToInstallStep();
    Press(Form2->Next);
    ASSERT_EQ(Application->ActiveForm(), Form3);
    EXPECT_EQ(headless::Focus(), Form3->Memo1);   // the first stop: no control is laid out active
    EXPECT_FALSE(headless::PressKey(VK_RETURN));  // the text's own key
    Tab();
    EXPECT_EQ(headless::Focus(), Form3->OK);
    EXPECT_EQ(ExitCodeOf([this] { Enter(); }), std::nullopt);
    EXPECT_THAT(world->exitWindowsRequests, ElementsAre(platform::sim::ShutdownRequest{2, 0}));
    Tab();
    EXPECT_EQ(headless::Focus(), Form3->Cancel);
    EXPECT_EQ(ExitCodeOf([this] { Key(VK_SPACE); }), 1u);
}

class KeyboardOnWindows98 : public Keyboard {
protected:
    void SetUp() override {
        Keyboard::SetUp();
        UseRelease(WindowsRelease::Windows98);
        world->AddDevice({"*CVN0510"});
        StartUp();
        Enter();
        Enter();
        ASSERT_EQ(Application->ActiveForm(), Form4);
    }
};

TEST_F(KeyboardOnWindows98, TheSourceDialogOpensInTheTreeAndTabGoesRoundItsLaidOutOrder) {
    EXPECT_EQ(headless::Focus(), Form4->CvFolderTree);
    EXPECT_THAT(TabWalk(5), ElementsAre("Memo1", "Ok", "Cancel", "SourceDiskPath", "CvFolderTree"));
    EXPECT_THAT(TabWalk(2, true), ElementsAre("SourceDiskPath", "Cancel"));
    EXPECT_FALSE(Form2->Next->Enabled());
}

TEST_F(KeyboardOnWindows98, EnterOnOkWarnsAndTheFocusComesBackToOkThenInstallsOnceTheCabinetIsThere) {
    world->files.Remove("D:\\WIN98\\NET8.CAB");
    Tab();
    Tab();
    ASSERT_EQ(headless::Focus(), Form4->Ok);
    Enter();
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("OS source files can not be found!!"));
    EXPECT_EQ(Application->ActiveForm(), Form4);
    EXPECT_EQ(headless::Focus(), Form4->Ok);

    world->files.AddFile("D:\\WIN98\\NET8.CAB", "cabinet");
    Enter();
    EXPECT_FALSE(Form4->Showing());
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    // The background is active again while Next is still disabled, so the focus first lands on the
    // wizard's one enabled button, Cancel; the finished page then gives it to Finish, and Enter goes on.
    EXPECT_EQ(Application->ActiveForm(), Form1);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    Enter();
    EXPECT_TRUE(Form3->Showing());
}

TEST_F(KeyboardOnWindows98, CancelInTheSourceDialogEndsTheProgramWithOne) {
    TabWalk(2);
    Tab();
    ASSERT_EQ(headless::Focus(), Form4->Cancel);
    EXPECT_EQ(ExitCodeOf([this] { Enter(); }), 1u);
}

// The rules themselves, on the wizard's buttons.
TEST_F(Keyboard, AFocusedControlThatIsHiddenOrDisabledHandsTheFocusToItsForm) {
    StartUp();
    Form2->Next->SetVisible(false);
    EXPECT_EQ(headless::Focus(), nullptr);
    Form2->Next->SetVisible(true);
    Form2->Next->SetFocus();
    Form2->Cancel->SetEnabled(false);
    EXPECT_EQ(headless::Focus(), Form2->Next);  // another control going leaves the focus alone
    Form2->Hide();
    EXPECT_EQ(headless::Focus(), nullptr);
}

TEST_F(Keyboard, TabFromAFormWithNoFocusedControlTakesTheFirstStopAndShiftTabTheLast) {
    StartUp();
    Press(Form2->Next);  // the ready page: Back, Next and Cancel are all stops
    Form2->Next->SetEnabled(false);
    ASSERT_EQ(headless::Focus(), nullptr);
    Form2->Next->SetEnabled(true);
    Tab();
    EXPECT_EQ(headless::Focus(), Form2->Back);
    Form1->FocusControl(nullptr);
    Tab(true);
    EXPECT_EQ(headless::Focus(), Form2->Cancel);
}

TEST_F(Keyboard, AnActivatedFormGivesTheFocusBackToItsLastControlElseToTheLaidOutOneElseTheFirstStop) {
    StartUp();
    Tab();
    ASSERT_EQ(headless::Focus(), Form2->Cancel);
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), Form2->Cancel);
    Form2->Cancel->SetEnabled(false);
    Form2->Cancel->SetEnabled(true);
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    Form2->Next->SetEnabled(false);
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), Form2->Cancel);
    Form2->Cancel->SetEnabled(false);
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), nullptr);
    EXPECT_FALSE(headless::PressKey(VK_RETURN));
    Tab();
    EXPECT_EQ(headless::Focus(), nullptr);  // nowhere to go
}

TEST_F(Keyboard, AClickedButtonHasTheFocus) {
    StartUp();
    Tab();
    ASSERT_EQ(headless::Focus(), Form2->Cancel);
    Press(Form2->Next);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

}  // namespace
