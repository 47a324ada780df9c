// The framework's own rules that the program relies on: the application title, the exception box,
// the message loop's handling of exceptions, layouts, and the path splitter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/Dialogs.h"
#include "framework/headless/Headless.h"
#include "platform/PathSplit.h"
#include "platform/sim/World.h"

namespace {

TEST(ApplicationTitle, IsTheFileNameCutAtItsFirstFullStopWithTheRestInLowerCase) {
    EXPECT_EQ(TitleFromProgramPath("C:\\cvdisk\\cvfir.exe"), "cvfir");
    EXPECT_EQ(TitleFromProgramPath("D:\\SETUP\\CVFIR.EXE"), "Cvfir");
    EXPECT_EQ(TitleFromProgramPath("A:\\CvFir.Setup.exe"), "Cvfir");
    EXPECT_EQ(TitleFromProgramPath("cvfir"), "cvfir");
}

TEST(ExceptionBox, AddsAFullStopAfterACharacterAboveIt) {
    EXPECT_EQ(ExceptionBoxText("Invalid data type for 'SourcePath'"), "Invalid data type for 'SourcePath'");
    EXPECT_EQ(ExceptionBoxText("Could not register SHChangeNotify"), "Could not register SHChangeNotify.");
    EXPECT_EQ(ExceptionBoxText("done."), "done.");
    EXPECT_EQ(ExceptionBoxText("done!"), "done!");
    EXPECT_EQ(ExceptionBoxText("a-"), "a-");
    EXPECT_EQ(ExceptionBoxText("a/"), "a/.");
    EXPECT_EQ(ExceptionBoxText("caf\xE9"), "caf\xE9.");  // bytes above 127 count as above the full stop
    EXPECT_EQ(ExceptionBoxText(""), "");
}

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override {
        platform::sim::ResetWorld();
        headless::Reset();
        new TApplication;
    }
    void TearDown() override {
        EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty());
        delete Application;
    }
};

TEST_F(MessageLoop, ShowsAFrameworkExceptionOfAHandlerAndGoesOn) {
    bool ranLater = false;
    headless::Post([] { throw Exception("Failed to set data for 'SourcePath'"); });
    headless::Post([&] { ranLater = true; });
    Application->Run();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "Failed to set data for 'SourcePath'");
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "cvfir");
    EXPECT_EQ(headless::MessageBoxes()[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(ranLater);
}

TEST_F(MessageLoop, EndsWhenTheApplicationIsToldToTerminate) {
    bool ranLater = false;
    headless::Post([] { headless::EndSession(); });
    headless::Post([&] { ranLater = true; });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(ranLater);
}

class TestForm : public TForm {
public:
    explicit TestForm(const FormLayout& layout) : TForm(Application) {
        Publish("Clicked", TNotifyEvent([this](TObject*) { ++clicks; }));
        LoadLayout(layout);
    }
    int clicks = 0;
};

TEST_F(MessageLoop, ALayoutBindsEventsByNameAndRefusesWhatItDoesNotKnow) {
    const FormLayout good{"Good", {}, {{"TBitBtn", "Button", {{"Caption", "Go"}, {"OnClick", "Clicked"}}}}};
    auto* form = new TestForm(good);
    form->Show();
    auto* button = dynamic_cast<TControl*>(form->FindComponent("Button"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(headless::Click(*button));
    EXPECT_EQ(form->clicks, 1);

    const FormLayout unknownMethod{"Bad", {}, {{"TBitBtn", "Button", {{"OnClick", "Missing"}}}}};
    EXPECT_THROW(new TestForm(unknownMethod), std::invalid_argument);
    const FormLayout unknownProperty{"Bad", {{"Colour", "clBlue"}}, {}};
    EXPECT_THROW(new TestForm(unknownProperty), std::invalid_argument);
    const FormLayout unknownClass{"Bad", {}, {{"TSpinner", "Spin", {}}}};
    EXPECT_THROW(new TestForm(unknownClass), std::invalid_argument);
}

TEST(PathSplit, GivesTheDriveAndTheDirectoryWithItsBackslash) {
    char drive[100];
    char dir[100];
    ASSERT_TRUE(platform::SplitPath("C:\\cvdisk\\cvfir.exe", drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(drive, "C:");
    EXPECT_STREQ(dir, "\\cvdisk\\");
    ASSERT_TRUE(platform::SplitPath("D:\\CVFIR.EXE", drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(dir, "\\");
    ASSERT_TRUE(platform::SplitPath("\\\\server\\share\\cvfir.exe", drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(dir, "\\\\server\\share\\");
    ASSERT_TRUE(platform::SplitPath("cvfir.exe", drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(dir, "");
}

TEST(PathSplit, RefusesAPartThatDoesNotFitRatherThanCutIt) {
    char drive[3];
    char dir[8];
    EXPECT_TRUE(platform::SplitPath("C:\\abcde\\x.exe", drive, sizeof drive, dir, sizeof dir));
    EXPECT_FALSE(platform::SplitPath("C:\\abcdef\\x.exe", drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(dir, "");
}

}  // namespace
