// Every window on the screen, with the buttons a person must press, from 640 x 480 up: where the
// windows go, and where they go when the work area changes under them.
#include <algorithm>

#include "framework/Placement.h"
#include "tests/unit/CvfirTest.h"

namespace {

struct FitCase {
    const char* what;
    TRect window;
    Fit fit;
    TRect expected;
};

// The area is a screen of 100 x 80 less a task bar of 10 at the top.
TEST(FitInside, MovesAWindowTheLeastThatBringsItOrWhatMustShowInside) {
    const TRect area{0, 10, 100, 80};
    const Fit bottomFirst{Cut::End, Cut::Start, {}};
    const FitCase cases[] = {
        {"inside: stays", {10, 20, 50, 60}, {}, {10, 20, 50, 60}},
        {"against the edges: stays", {0, 10, 100, 80}, {}, {0, 10, 100, 80}},
        {"over the right and bottom edges", {70, 60, 110, 100}, {}, {60, 40, 100, 80}},
        {"off the left edge and under the task bar", {-5, 0, 35, 40}, {}, {0, 10, 40, 50}},
        {"too wide: the right side is cut", {-20, 20, 130, 30}, {}, {0, 20, 150, 30}},
        {"too high: the bottom is cut", {5, 30, 15, 130}, {}, {5, 10, 15, 110}},
        {"too high, cut at the top: the bottom edge meets the area's",
         {5, 0, 15, 100},
         bottomFirst,
         {5, -20, 15, 80}},
        {"too wide: moved on until the part to keep shows",
         {0, 20, 150, 30},
         {Cut::End, Cut::End, {120, 0, 140, 5}},
         {-40, 20, 110, 30}},
        {"too high: the part to keep stays where it shows already",
         {0, 0, 10, 100},
         {Cut::End, Cut::Start, {0, 85, 10, 95}},
         {0, -20, 10, 80}},
        {"too high, cut at the top: the part to keep near the top pulls it down",
         {0, 0, 10, 100},
         {Cut::End, Cut::Start, {0, 5, 10, 15}},
         {0, 5, 10, 105}},
        {"the part to keep larger than the area: its start shows",
         {0, 0, 300, 10},
         {Cut::End, Cut::End, {100, 0, 250, 10}},
         {-100, 10, 200, 20}},
        {"a part to keep only counts where the window does not fit",
         {70, 20, 110, 30},
         {Cut::End, Cut::End, {0, 0, 5, 5}},
         {60, 20, 100, 30}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitInside(c.window, area, c.fit), c.expected) << c.what;
    }
}

TRect Offset(const TRect& rect, int dx, int dy) {
    return TRect{rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
}

TRect Intersection(const TRect& a, const TRect& b) {
    return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
}

// Where a control lies on the screen, and the part of it that a person sees: inside the client area
// of each window around it, and inside the work area.
struct ScreenPlace {
    TRect whole;
    TRect seen;
};

ScreenPlace PlaceOnScreen(const TControl& control, const TRect& workArea) {
    ScreenPlace place{control.BoundsRect(), control.BoundsRect()};
    for (const TWinControl* parent = control.Parent(); parent != nullptr; parent = parent->Parent()) {
        // Every control of the program sits on a form.
        const TRect client = static_cast<const TForm*>(parent)->ClientBounds();
        const int dx = parent->Left() + client.Left;
        const int dy = parent->Top() + client.Top;
        place.whole = Offset(place.whole, dx, dy);
        place.seen = Intersection(Offset(place.seen, dx, dy),
                                  Offset(TRect{0, 0, client.Width(), client.Height()}, dx, dy));
    }
    place.seen = Intersection(place.seen, workArea);
    return place;
}

struct ScreenCase {
    const char* name;
    TRect desktop;
    TRect workArea;
    TRect wizard;  // in the background's client area
    TRect dialog;  // the source location dialog, on the screen
};

// The wizard is 652 x 437, its buttons 270 to 637 across and 401 to 433 down in its window; the
// source dialog 390 x 368. The background's frame and caption take 8 across and 27 down.
const ScreenCase kScreens[] = {
    {"640x480_TaskBar", {0, 0, 640, 480}, {0, 0, 640, 452}, {-5, -12, 647, 425}, {250, 84, 640, 452}},
    {"640x480_TaskBarAtTheTop",
     {0, 0, 640, 480},
     {0, 28, 640, 480},
     {-5, -12, 647, 425},
     {250, 112, 640, 480}},
    {"640x480_NoTaskBar", {0, 0, 640, 480}, {0, 0, 640, 480}, {-5, 16, 647, 453}, {250, 112, 640, 480}},
    // Where the windows fit, they stay as laid out: the wizard centred, the dialog at 274,198.
    {"800x600_TaskBar", {0, 0, 800, 600}, {0, 0, 800, 572}, {74, 81, 726, 518}, {274, 198, 664, 566}},
    {"1024x768_TaskBar", {0, 0, 1024, 768}, {0, 0, 1024, 740}, {186, 165, 838, 602}, {274, 198, 664, 566}},
};

class ScreenSize : public CvfirTest, public ::testing::WithParamInterface<ScreenCase> {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        headless::SetScreen(GetParam().desktop, GetParam().workArea);
        UseRelease(WindowsRelease::Windows98);
    }
    void ExpectWholeOnScreen(std::initializer_list<const TControl*> buttons, const std::string& when) {
        for (const TControl* button : buttons) {
            const auto place = PlaceOnScreen(*button, GetParam().workArea);
            EXPECT_EQ(place.seen, place.whole) << when << ": " << button->Name << " is cut";
        }
    }
    void ExpectWizardButtonsOnScreen(const std::string& when) {
        ExpectWholeOnScreen({Form2->Back, Form2->Next, Form2->Cancel}, when);
    }
};

TEST_P(ScreenSize, EveryButtonOfEveryStepIsWholeOnTheScreen) {
    StartUp();
    EXPECT_EQ(Form1->BoundsRect(), GetParam().workArea);
    EXPECT_EQ(Form2->BoundsRect(), GetParam().wizard);
    ExpectWizardButtonsOnScreen("the welcome page");
    Press(Form2->Next);
    ExpectWizardButtonsOnScreen("the ready page");

    Press(Form2->Next);
    ASSERT_TRUE(Form4->Showing());
    EXPECT_EQ(Form4->BoundsRect(), GetParam().dialog);
    ExpectWholeOnScreen({Form4->Ok, Form4->Cancel, Form4->SourceDiskPath}, "the source dialog");

    Press(Form4->Ok);
    ASSERT_EQ(Form2->Next->Caption(), "Finish");
    ExpectWizardButtonsOnScreen("the finished page");

    Press(Form2->Next);
    ASSERT_TRUE(Form3->Showing());
    const TRect desktop = GetParam().desktop;
    EXPECT_EQ(Form3->Left(), (desktop.Width() - Form3->Width()) / 2) << "centred as laid out";
    EXPECT_EQ(Form3->Top(), (desktop.Height() - Form3->Height()) / 2);
    ExpectWholeOnScreen({Form3->OK, Form3->Cancel}, "the restart prompt");
}

// While it stands on its own, centred, the wizard is kept on the screen too: its caption in reach.
TEST_P(ScreenSize, TheWizardShowsFirstOnItsOwnInsideTheWorkArea) {
    CreateWindows();
    TRect firstShown;
    Form2->OnShow = [&firstShown](TObject*) {
        if (Form2->Parent() == nullptr) {
            firstShown = Form2->BoundsRect();
        }
    };
    Application->ShowMainForm();
    const TRect area = GetParam().workArea;
    EXPECT_EQ(firstShown.Left, std::max(area.Left, (GetParam().desktop.Width() - 652) / 2));
    EXPECT_GE(firstShown.Top, area.Top);
    EXPECT_LE(firstShown.Bottom, area.Bottom);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenSize, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });

class WorkAreaChange : public CvfirTest {
protected:
    void ExpectWizardButtonsInside(const std::string& when) {
        for (const TControl* button : {Form2->Back, Form2->Next, Form2->Cancel}) {
            const auto place = PlaceOnScreen(*button, Form1->BoundsRect());
            EXPECT_EQ(place.seen, place.whole) << when << ": " << button->Name << " is cut";
        }
    }
};

TEST_F(WorkAreaChange, TheBackgroundFillsTheNewWorkAreaAndTheWizardFollows) {
    StartUp();
    const TRect screen{0, 0, 640, 480};
    headless::SetScreen(screen, {0, 0, 640, 452});
    EXPECT_EQ(Form1->BoundsRect(), (TRect{0, 0, 640, 452}));
    EXPECT_EQ(Form2->BoundsRect(), (TRect{-5, -12, 647, 425}));
    ExpectWizardButtonsInside("a display of 640 x 480");

    headless::SetScreen(screen, {0, 28, 640, 480});  // the task bar moves to the top
    EXPECT_EQ(Form1->BoundsRect(), (TRect{0, 28, 640, 480}));
    EXPECT_EQ(Form2->BoundsRect(), (TRect{-5, -12, 647, 425}));

    headless::SetScreen(screen, {60, 0, 640, 480});  // and to the left
    EXPECT_EQ(Form1->BoundsRect(), (TRect{60, 0, 640, 480}));
    EXPECT_EQ(Form2->BoundsRect(), (TRect{-65, 0, 587, 437}));
    ExpectWizardButtonsInside("a task bar at the left");

    // Back on a large display the wizard fits where it stands: it keeps that place.
    headless::SetScreen({0, 0, 1024, 768}, {0, 0, 1024, 740});
    EXPECT_EQ(Form2->BoundsRect(), (TRect{0, 0, 652, 437}));
    EXPECT_EQ(Form2->Parent(), Form1);
    EXPECT_TRUE(Form2->Showing());
}

// Windows moves no other window as the work area changes: the restart prompt stays where it is.
TEST_F(WorkAreaChange, OnlyTheBackgroundFollowsIt) {
    headless::SetScreen({0, 0, 640, 480}, {0, 0, 640, 452});
    StartUp();
    WalkToInstallStep();
    Press(Form2->Next);
    ASSERT_TRUE(Form3->Showing());
    const TRect prompt = Form3->BoundsRect();
    headless::SetScreen({0, 0, 1024, 768}, {0, 0, 1024, 740});
    EXPECT_EQ(Form1->BoundsRect(), (TRect{0, 0, 1024, 740}));
    EXPECT_EQ(Form3->BoundsRect(), prompt);
}

TEST_F(WorkAreaChange, AWizardTheUserMovedStaysThereWhenTheBackgroundIsActivatedAgain) {
    headless::SetScreen({0, 0, 640, 480}, {0, 0, 640, 452});
    StartUp();
    Form2->SetBounds(20, 30, Form2->Width(), Form2->Height());  // dragged by its caption
    headless::Activate(*Form1);
    EXPECT_EQ(Form2->Left(), 20);
    EXPECT_EQ(Form2->Top(), 30);

    Form1->SetBounds(0, 0, 600, 452);  // the user makes the background narrower
    EXPECT_EQ(Form2->Left(), -45);
    EXPECT_EQ(Form2->Top(), -12);
}

}  // namespace
