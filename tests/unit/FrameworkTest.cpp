// The framework's own rules that the program relies on: the application title, the exception box,
// the message loop's handling of exceptions, layouts, and the path splitter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foldertree/Cvfoldertree.h"
#include "framework/Dialogs.h"
#include "framework/Screen.h"
#include "framework/headless/Headless.h"
#include "platform/PathSplit.h"
#include "platform/sim/World.h"
#include "tests/unit/DoubleByteNames.h"

using namespace doublebyte;

namespace {

TEST(ApplicationTitle, IsTheFileNameCutAtItsFirstFullStopWithTheRestInLowerCase) {
    EXPECT_EQ(TitleFromProgramPath("C:\\cvdisk\\cvfir.exe"), "cvfir");
    EXPECT_EQ(TitleFromProgramPath("D:\\SETUP\\CVFIR.EXE"), "Cvfir");
    EXPECT_EQ(TitleFromProgramPath("A:\\CvFir.Setup.exe"), "Cvfir");
    EXPECT_EQ(TitleFromProgramPath("A:\\ZAPAZ.EXE"), "Zapaz");  // A and Z fold like any other letter
    EXPECT_EQ(TitleFromProgramPath("cvfir"), "cvfir");
}

// Each test chooses the world's code page; it goes back to Windows-1252 for the tests that follow.
class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override { platform::sim::ResetWorld(); }
    void TearDown() override { platform::sim::ResetWorld(); }
};

using ApplicationTitleByCodePage = CodePageTest;

// The letters are those of the system's code page: in Windows-1252 the accented ones too.
TEST_F(ApplicationTitleByCodePage, LowersTheLettersOfTheCodePage) {
    EXPECT_EQ(TitleFromProgramPath("C:\\\xC9T\xC9.EXE"), "\xC9t\xE9");
}

// A second byte is neither a separator nor a letter: the name is cut at the last backslash and lowered
// by characters.
TEST_F(ApplicationTitleByCodePage, ReadsEastAsianNamesByCharacters) {
    platform::sim::ResetWorld().UseCodePage(932);
    EXPECT_EQ(TitleFromProgramPath("C:\\cvdisk\\" + kSetup932 + ".exe"), kSetup932);
    EXPECT_EQ(TitleFromProgramPath("C:\\cvdisk\\" + kSoftware932 + ".exe"), kSoftware932);
    EXPECT_EQ(TitleFromProgramPath("C:\\" + kSoftware932 + "\\SETUP" + kSe932 + "X.EXE"),
              "Setup" + kSe932 + "x");
    EXPECT_EQ(TitleFromProgramPath(kSe932 + "ABC"), kSe932 + "abc");  // the first character stays as it is

    platform::sim::ResetWorld().UseCodePage(950);
    EXPECT_EQ(TitleFromProgramPath("D:\\" + kName950 + ".EXE"), kName950);
    EXPECT_EQ(TitleFromProgramPath("D:\\" + kPermit950 + ".EXE"), kPermit950);
    EXPECT_EQ(TitleFromProgramPath("D:\\" + kPermit950 + "\\CVFIR.EXE"), "Cvfir");
}

// Windows 2000 and XP cut a path longer than the buffer they are given, without a terminating zero: the
// application still takes its title from the whole path, and reads nothing beyond what Windows wrote.
TEST(ApplicationTitle, ComesFromTheProgramsWholePathHoweverLong) {
    auto& world = platform::sim::ResetWorld();
    for (std::size_t folder : {244u, 245u, 246u, 600u}) {  // paths of 258, 259, 260 and 614 characters
        world.programPath = "C:\\" + std::string(folder, 'd') + "\\SETUP.EXE";
        auto* application = new TApplication;
        EXPECT_EQ(application->Title(), "Setup") << world.programPath.size();
        delete application;
    }
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
        EXPECT_EQ(Application, nullptr);  // forms that outlive it must not find it
    }
};

// An hourglass taken inside another (a folder filled while the install runs) leaves the outer one up as
// it ends; the cursor from before comes back after the outer one.
TEST_F(MessageLoop, AnHourglassInsideAnotherLeavesTheOuterOneUp) {
    {
        const THourGlass outer;
        { const THourGlass inner; }
        EXPECT_EQ(headless::ScreenCursor(), crHourGlass);
    }
    EXPECT_EQ(headless::ScreenCursor(), crDefault);
}

TEST_F(MessageLoop, ShowsAFrameworkExceptionOfAHandlerAndGoesOn) {
    bool ranLater = false;
    headless::Post([] { throw Exception("Failed to set data for 'SourcePath'"); });
    headless::Post([&] { ranLater = true; });
    Application->Run();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "Failed to set data for 'SourcePath'");
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "cvfir");
    EXPECT_EQ(headless::MessageBoxes()[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(headless::MessageBoxes()[0].helpContext, 0);  // a plain box has no help topic
    EXPECT_TRUE(ranLater);
}

TEST_F(MessageLoop, EndsWhenTheApplicationIsToldToTerminate) {
    bool ranLater = false;
    headless::Post([] { Application->Terminate(); });
    headless::Post([&] { ranLater = true; });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(ranLater);
}

class TestForm : public TForm {
public:
    // As the application makes a form: with a layout that holds nothing.
    explicit TestForm(TComponent*) : TestForm(FormLayout{"Plain", {}, {}}) {}
    explicit TestForm(const FormLayout& layout) : TForm(Application) {
        Publish("Clicked", TNotifyEvent([this](TObject*) { ++clicks; }));
        Publish("MayGo", TCloseQueryEvent([](TObject*, bool&) {}));
        LoadLayout(layout);
    }
    int clicks = 0;
};

TEST_F(MessageLoop, ALayoutBindsEventsByNameAndRefusesWhatItDoesNotKnow) {
    const FormLayout good{"Good",
                          {},
                          {{"TBitBtn",
                            "Button",
                            {{"Caption", "Go"}, {"OnClick", "Clicked"}, {"Font.Style", "[fsBold,fsItalic]"}}},
                           {"TBitBtn", "Disabled", {{"OnClick", "Clicked"}, {"Enabled", "False"}}}}};
    auto* form = new TestForm(good);
    form->Show();
    auto* button = dynamic_cast<TControl*>(form->FindComponent("Button"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(headless::Click(*button));
    EXPECT_FALSE(headless::Click(*dynamic_cast<TControl*>(form->FindComponent("Disabled"))));  // laid out so
    EXPECT_EQ(form->clicks, 1);
    EXPECT_EQ(button->Font().Style, fsBold | fsItalic);  // a set's items with or without a space between

    // A form's own OnCreate runs once the application has made the whole form.
    struct Created : TestForm {
        explicit Created(TComponent*) : TestForm(FormLayout{"Created", {{"OnCreate", "Clicked"}}, {}}) {}
    };
    Created* created = nullptr;
    Application->CreateForm(created);
    EXPECT_EQ(created->clicks, 1);
}

// A self-sizing form takes the client size its visible controls reach, whatever the layout said.
TEST_F(MessageLoop, AnAutoSizedFormFitsItsVisibleControls) {
    auto button = [](const char* name, const char* left, const char* top, const char* visible) {
        return ControlLayout{
            "TBitBtn",
            name,
            {{"Left", left}, {"Top", top}, {"Width", "100"}, {"Height", "30"}, {"Visible", visible}}};
    };
    const FormLayout layout{"Sized",
                            {{"ClientWidth", "500"}, {"ClientHeight", "400"}, {"AutoSize", "True"}},
                            {button("Wide", "60", "10", "True"), button("Low", "10", "90", "True"),
                             button("Hidden", "300", "300", "False")}};
    auto* form = new TestForm(layout);
    EXPECT_EQ(form->ClientWidth(), 160);
    EXPECT_EQ(form->ClientHeight(), 120);
}

TEST_F(MessageLoop, ClosingTheMainFormEndsTheLoopAndClosingAnotherHidesIt) {
    TestForm* main = nullptr;
    Application->CreateForm(main);
    TestForm* other = nullptr;
    Application->CreateForm(other);
    main->Show();
    other->Show();
    bool ranLater = false;
    headless::Post([other] { headless::RequestClose(*other); });
    headless::Post([main] { headless::RequestClose(*main); });
    headless::Post([&] { ranLater = true; });
    Application->Run();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(ranLater);
}

// Windows delivers a close request to a disabled window too; a held application refuses it before
// any handler is asked, and refuses the session's end, until the last hold is let go.
TEST_F(MessageLoop, AHeldApplicationRefusesCloseRequestsAndTheSessionsEndUntilTheLastHoldGoes) {
    TestForm* main = nullptr;
    Application->CreateForm(main);
    int asked = 0;
    main->OnCloseQuery = [&asked](TObject*, bool&) { ++asked; };
    main->Show();
    main->SetEnabled(false);
    Application->HoldOpen();
    Application->HoldOpen();
    EXPECT_TRUE(headless::RequestClose(*main));
    EXPECT_FALSE(headless::EndSession());
    Application->LetClose();
    EXPECT_TRUE(headless::RequestClose(*main));
    EXPECT_FALSE(headless::EndSession());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(Application->Terminated());
    Application->LetClose();
    EXPECT_TRUE(headless::RequestClose(*main));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Application->Terminated());
}

// As SetForegroundWindow: Windows refuses the front to a program whose user went to another one. The
// main window is then not activated, and its task-bar button flashes until the user comes back; keys
// reach only a window of ours in front. With the user, the main window comes to the front and is not
// activated again; one not shown is left alone.
TEST_F(MessageLoop, BroughtToTheFrontTheMainFormWaitsForAUserWhoWentToAnotherProgram) {
    TestForm* main = nullptr;
    Application->CreateForm(main);
    int activations = 0;
    main->OnActivate = [&activations](TObject*) { ++activations; };
    headless::ForgetRecords();
    Application->BringToFront();
    EXPECT_THAT(headless::Journal(), ::testing::IsEmpty());
    main->Show();
    headless::ActivateAnotherProgram();
    Application->BringToFront();
    EXPECT_EQ(headless::Foreground(), nullptr);
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(headless::TaskBarButtonFlashes(*main));
    EXPECT_FALSE(headless::PressKey(VK_TAB));
    headless::Activate(*main);
    EXPECT_FALSE(headless::TaskBarButtonFlashes(*main));
    Application->BringToFront();
    EXPECT_EQ(headless::Foreground(), main);
    EXPECT_EQ(activations, 2);
    EXPECT_FALSE(headless::TaskBarButtonFlashes(*main));
    EXPECT_TRUE(headless::PressKey(VK_TAB));
}

// As on Windows, the active window going away hands the activation to its owner, the main window; a
// window that goes while another is active changes nothing.
TEST_F(MessageLoop, AnActiveTopLevelFormThatHidesHandsTheActivationToTheMainForm) {
    TestForm* main = nullptr;
    Application->CreateForm(main);
    auto* other = new TestForm(FormLayout{"Other", {}, {}});
    auto* third = new TestForm(FormLayout{"Third", {}, {}});
    main->Show();
    third->Show();
    other->Show();
    headless::ForgetRecords();
    other->Hide();
    EXPECT_EQ(Application->ActiveForm(), main);
    third->Hide();
    EXPECT_THAT(headless::Journal(),
                ::testing::ElementsAre("conceal Other", "activate Plain", "conceal Third"));
}

TEST_F(MessageLoop, AnActiveFormThatGoesIsNoLongerTheActiveOneAndAnotherLeavesItSo) {
    auto* form = new TestForm(FormLayout{"Plain", {}, {}});
    auto* other = new TestForm(FormLayout{"Other", {}, {}});
    form->Show();
    ASSERT_EQ(Application->ActiveForm(), form);
    delete other;
    EXPECT_EQ(Application->ActiveForm(), form);
    delete form;
    EXPECT_EQ(Application->ActiveForm(), nullptr);
}

// A control shows while it and every control around it are visible; only a shown control takes the
// focus, and a focused control that goes leaves its form without one.
TEST_F(MessageLoop, AControlShowsAndTakesTheFocusOnlyWhileItsFormShows) {
    auto* form = new TestForm(FormLayout{"Plain", {}, {{"TBitBtn", "Button", {}}}});
    auto* button = dynamic_cast<TWinControl*>(form->FindComponent("Button"));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->Showing());  // the form is not shown yet
    button->SetFocus();
    EXPECT_EQ(form->FocusedControl(), nullptr);
    form->Show();
    EXPECT_TRUE(button->Showing());
    button->SetVisible(false);
    EXPECT_FALSE(button->Showing());
    button->SetVisible(true);
    button->SetFocus();
    EXPECT_EQ(headless::Focus(), button);
    delete button;
    EXPECT_EQ(headless::Focus(), nullptr);
    EXPECT_EQ(form->FocusedControl(), nullptr);
}

// Each laid-out property that shows reaches the control's window, which exists by the time it is
// applied.
TEST_F(MessageLoop, EachLaidOutPropertyReachesAWindowThatExists) {
    const std::vector<ControlLayout> controls{{"TMemo", "Memo", {{"WordWrap", "False"}}},
                                              {"TMemo", "Memo", {{"ReadOnly", "True"}}},
                                              {"TMemo", "Memo", {{"BorderStyle", "bsNone"}}},
                                              {"TImage", "Image", {{"Stretch", "True"}}}};
    for (const auto& control : controls) {
        new TestForm(FormLayout{"Shown", {}, {control}});
        EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty()) << control.properties[0].name;
    }
}

// A memo's lines laid out again replace the old ones, and cleared leave its window empty; a picture, or a
// form's border, given after the window exists is the one it shows.
TEST_F(MessageLoop, LaterChangesToAMemoAnImageAndAFormReachTheirWindows) {
    auto* form = new TestForm(FormLayout{
        "Shown",
        {},
        {{"TMemo", "Memo", {{"Lines", "one\ntwo"}}}, {"TImage", "Image", {{"Picture", "WIZARD"}}}}});
    dynamic_cast<TControl*>(form->FindComponent("Image"))->SetProperty("Picture", "OTHER");
    form->SetProperty("BorderStyle", "bsDialog");
    auto* memo = dynamic_cast<TMemo*>(form->FindComponent("Memo"));
    memo->SetProperty("Lines", "three");
    EXPECT_EQ(memo->Lines->Lines(), std::vector<std::string>{"three"});
    memo->Lines->Clear();
    EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty());
}

// A form inside another lends it its laid-out active control, even when that is not its first stop.
TEST_F(MessageLoop, AFormTakesTheActiveControlLaidOutForAFormInsideIt) {
    auto button = [](const char* name, const char* tabOrder) {
        return ControlLayout{"TBitBtn", name, {{"TabOrder", tabOrder}}};
    };
    auto* inner = new TestForm(
        FormLayout{"Inner", {{"ActiveControl", "Later"}}, {button("Sooner", "0"), button("Later", "1")}});
    auto* outer = new TestForm(FormLayout{"Outer", {}, {}});
    outer->Show();
    inner->SetParent(outer);
    inner->Show();
    headless::Activate(*outer);
    ASSERT_NE(headless::Focus(), nullptr);
    EXPECT_EQ(headless::Focus()->Name, "Later");
    outer->Hide();  // the form inside goes from the screen with it, and comes back with it
    EXPECT_FALSE(inner->Showing());
    EXPECT_FALSE(dynamic_cast<TWinControl*>(inner->FindComponent("Later"))->CanFocus());
    outer->Show();
    EXPECT_TRUE(inner->Showing());
}

// The tab order is the laid-out one, whatever order the controls were made in; a control that goes
// to another parent, or goes altogether, leaves its first parent's list.
TEST_F(MessageLoop, ControlsKeepTheirLaidOutTabOrderAndLeaveTheirParentWhenTheyGo) {
    auto button = [](const char* name, const char* tabOrder) {
        return ControlLayout{"TBitBtn", name, {{"TabOrder", tabOrder}}};
    };
    auto* form = new TestForm(FormLayout{"Tabs", {}, {button("Second", "1"), button("First", "0")}});
    std::vector<std::string> order;
    for (auto* control : form->TabList()) {
        order.push_back(control->Name);
    }
    EXPECT_THAT(order, ::testing::ElementsAre("First", "Second"));

    auto* other = new TestForm(FormLayout{"Other", {}, {}});
    auto* first = dynamic_cast<TControl*>(form->FindComponent("First"));
    first->SetParent(other);
    EXPECT_THAT(form->Controls(), ::testing::Not(::testing::Contains(first)));
    auto* second = dynamic_cast<TControl*>(form->FindComponent("Second"));
    delete second;
    EXPECT_THAT(form->Controls(), ::testing::IsEmpty());
}

// A layout value that is not understood stops the form, with where it lies and why.
TEST_F(MessageLoop, ALayoutValueNotUnderstoodIsRefusedNamingFormControlPropertyAndValue) {
    struct Case {
        const char* className;
        const char* property;
        const char* value;
        const char* why;
    };
    const std::vector<Case> cases{
        {"TBitBtn", "OnClick", "Missing", "unknown published method 'Missing'"},
        {"TBitBtn", "OnChange", "Clicked", "unknown event 'OnChange'"},
        {"TBitBtn", "OnClick", "MayGo", "unknown event 'OnClick'"},  // a method of another kind
        {"TBitBtn", "Colour", "clBlue", "unknown property 'Colour'"},
        {"TBitBtn", "Font.Blink", "True", "unknown property 'Font.Blink'"},
        {"TBitBtn", "Left", "12px", "unknown number '12px'"},
        {"TBitBtn", "Visible", "Yes", "unknown Boolean 'Yes'"},
        {"TBitBtn", "Color", "clPurple", "unknown colour 'clPurple'"},
        {"TBitBtn", "Align", "alMiddle", "unknown alignment 'alMiddle'"},
        {"TBitBtn", "Font.Charset", "GREEK_CHARSET", "unknown character set 'GREEK_CHARSET'"},
        {"TBitBtn", "Font.Style", "[fsBold, fsBlink]", "unknown font style 'fsBlink'"},
        {"TBitBtn", "Font.Style", "fsBold", "unknown set 'fsBold'"},
        {"TBitBtn", "Font.Style", "fsBold]", "unknown set 'fsBold]'"},
        {"TBitBtn", "Font.Style", "[fsBold", "unknown set '[fsBold'"},
        {"TMemo", "BorderStyle", "bsSizeable", "unknown border style 'bsSizeable'"},
        {"TBevel", "Shape", "bsFrame", "unknown bevel shape 'bsFrame'"},
        {"TBevel", "Style", "bsFlat", "unknown bevel style 'bsFlat'"},
        {"TLabel", "AutoSize", "1", "unknown Boolean '1'"},
        {"TCvFolderTree", "DisplayMode", "dmTitle", "unknown display mode 'dmTitle'"},
        {"TCvFolderTree", "FolderOptions", "[foPrinters]", "unknown folder option 'foPrinters'"},
        {"TCvFolderTree", "DragMode", "dmAutomatic", "unknown property 'DragMode'"},
        {"TCvFolderTree", "OnDragOver", "Clicked", "unknown event 'OnDragOver'"},
        {"TCvFolderTree", "OnChange", "Clicked", "unknown event 'OnChange'"},  // a handler of another kind
        {"TCvFolderTree", "OnChange", "MayGo", "unknown event 'OnChange'"},
        {"TBitBtn", "OnEndSessionQuery", "MayGo", "unknown event 'OnEndSessionQuery'"},  // the tree's own
    };
    for (const auto& c : cases) {
        const FormLayout layout{"Bad", {}, {{c.className, "Thing", {{c.property, c.value}}}}};
        try {
            new TestForm(layout);
            ADD_FAILURE() << c.property << " " << c.value << " was taken";
        } catch (const std::invalid_argument& fault) {
            EXPECT_EQ(std::string(fault.what()), std::string("layout Bad, control Thing, property ") +
                                                     c.property + ", value '" + c.value + "': " + c.why);
        }
    }
    const std::vector<std::pair<const char*, const char*>> formCases{{"BorderIcons", "[biClose]"},
                                                                     {"BorderStyle", "bsThick"},
                                                                     {"Position", "poMiddle"},
                                                                     {"FormStyle", "fsMDIChild"},
                                                                     {"OnPaint", "Clicked"}};
    for (const auto& [property, value] : formCases) {
        const FormLayout layout{"Bad", {{property, value}}, {}};
        try {
            new TestForm(layout);
            ADD_FAILURE() << property << " " << value << " was taken";
        } catch (const std::invalid_argument& fault) {
            EXPECT_THAT(fault.what(),
                        ::testing::StartsWith(std::string("layout Bad, control Bad, property ") + property +
                                              ", value '" + value + "': unknown "));
        }
    }
    const FormLayout unknownClass{"Bad", {}, {{"TSpinner", "Spin", {}}}};
    try {
        new TestForm(unknownClass);
        ADD_FAILURE() << "TSpinner was made";
    } catch (const std::invalid_argument& fault) {
        EXPECT_STREQ(fault.what(), "layout Bad, control Spin: unknown control class 'TSpinner'");
    }
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

using PathSplitByCodePage = CodePageTest;

TEST_F(PathSplitByCodePage, SplitsEastAsianPathsAtTheirBackslashesAlone) {
    char drive[100];
    char dir[100];
    platform::sim::ResetWorld().UseCodePage(932);
    const std::string japanese = "C:\\" + kSoftware932 + "\\" + kTable932 + "\\" + kSoftware932 + ".exe";
    ASSERT_TRUE(platform::SplitPath(japanese.c_str(), drive, sizeof drive, dir, sizeof dir));
    EXPECT_EQ(dir, "\\" + kSoftware932 + "\\" + kTable932 + "\\");
    platform::sim::ResetWorld().UseCodePage(950);
    const std::string chinese = "D:\\" + kPermit950 + kFunction950 + ".exe";
    ASSERT_TRUE(platform::SplitPath(chinese.c_str(), drive, sizeof drive, dir, sizeof dir));
    EXPECT_STREQ(drive, "D:");
    EXPECT_STREQ(dir, "\\");
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
