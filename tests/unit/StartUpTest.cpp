// Start-up: the background window, the wizard coming up inside it, and the ways the program ends.
#include "app/Main.h"
#include "platform/Process.h"
#include "tests/unit/CvfirTest.h"

using ::testing::ElementsAre;

namespace {

class ProgramStart : public CvfirTest {};

std::vector<std::string> cleanedUp;
constexpr auto RemoveStagedFiles = +[] { cleanedUp.push_back("staged files"); };
constexpr auto PutCabinetBack = +[] { cleanedUp.push_back("cabinet"); };

// What the program must not leave behind is each part's own step: a part that takes its step off
// leaves the others', and the process's end runs what is left, the step added last first, each once.
TEST_F(ProgramStart, EachPartsExitCleanUpStepRunsAtTheEndUnlessItTookItOff) {
    cleanedUp.clear();
    platform::AddExitCleanUp(RemoveStagedFiles);
    platform::AddExitCleanUp(PutCabinetBack);
    platform::AddExitCleanUp(RemoveStagedFiles);
    platform::RemoveExitCleanUp(PutCabinetBack);
    platform::AddExitCleanUp(PutCabinetBack);
    EXPECT_EQ(ExitCodeOf([] { platform::ExitProcess(1); }), 1u);
    EXPECT_THAT(cleanedUp, ElementsAre("cabinet", "staged files"));
}

TEST_F(ProgramStart, ShowsTheWizardCentredFirstThenInsideTheBackground) {
    CreateWindows();
    int wizardShows = 0;
    auto formShow = Form2->OnShow;
    Form2->OnShow = [&](TObject* sender) {
        ++wizardShows;
        formShow(sender);
        EXPECT_EQ(Form2->Memo1->Lines->Text(), "Welcome!\r\n");
        EXPECT_FALSE(Form2->Back->Enabled());
        EXPECT_EQ(Form2->WizardStep, 0);
    };
    Application->ShowMainForm();

    std::vector<std::string> windowSteps;
    for (const auto& step : headless::Journal()) {
        if (step.starts_with("display") || step.starts_with("activate") || step.starts_with("reparent")) {
            windowSteps.push_back(step);
        }
    }
    EXPECT_THAT(windowSteps, ElementsAre("display Form2 186,165 top-level", "activate Form2",
                                         "display Form1 0,0 top-level", "activate Form1",
                                         "reparent Form2 Form1", "display Form2 186,165 child"));
    EXPECT_EQ(wizardShows, 2);
    EXPECT_EQ(Form2->Parent(), Form1);
    EXPECT_EQ(Form1->BoundsRect(), (TRect{0, 0, 1024, 740}));  // the work area
    EXPECT_EQ(Form2->Width(), 652);
    EXPECT_EQ(Form2->Height(), 437);
    EXPECT_FALSE(Form3->Showing());
    EXPECT_FALSE(Form4->Showing());
}

TEST_F(ProgramStart, LaterShowsAndActivationsOfTheBackgroundChangeNothingVisible) {
    StartUp();
    const auto shown = headless::Journal().size();
    Form1->Hide();
    Form1->Show();
    headless::Activate(*Form1);
    EXPECT_EQ(Form1->ShowCount, 2);
    EXPECT_EQ(Form2->Parent(), Form1);
    for (auto at = headless::Journal().begin() + static_cast<long>(shown); at != headless::Journal().end();
         ++at) {
        EXPECT_EQ(at->find("Form2 186,165 top-level"), std::string::npos) << *at;
        EXPECT_EQ(at->find("reparent"), std::string::npos) << *at;
    }
}

TEST_F(ProgramStart, EveryCloseRequestEndsTheProgramWithOne) {
    StartUp();
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form1); }), 1u);
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form2); }), 1u);
    WalkToInstallStep();
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form1); }), 1u);
}

TEST_F(ProgramStart, ProgramEntryInitialisesComFirstAndEndsWithZeroWhenTheLoopEnds) {
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { Application->Terminate(); });  // Windows let it run on after the session's end
    EXPECT_EQ(CvfirMain(), 0);
    EXPECT_EQ(world->coInitializeCalls, 1);
    EXPECT_EQ(Form2->WizardStep, 1);
    EXPECT_EQ(Application->MainForm(), Form1);
    delete Application;
    Form1 = nullptr;
    EXPECT_EQ(world->comInitCount, 0);  // uninitialised as the program ends
    new TApplication;
}

TEST_F(ProgramStart, AFailedComInitialisationIsNotReportedNorUndone) {
    world->coInitializeResult = platform::E_FAIL;
    StartUp();
    EXPECT_TRUE(headless::MessageBoxes().empty());
    delete Application;
    Form1 = nullptr;
    EXPECT_EQ(world->comInitCount, 0);
    new TApplication;
}

}  // namespace
