// The framework's tree view, image list, screen cursor, painting lock and utility window, as the folder
// tree relies on them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/ComCtrls.h"
#include "framework/Screen.h"
#include "framework/UtilWindow.h"
#include "framework/headless/Headless.h"
#include "framework/headless/Mirror.h"
#include "platform/sim/World.h"

using ::testing::ElementsAre;

namespace {

class TreeView : public ::testing::Test {
protected:
    void SetUp() override {
        platform::sim::ResetWorld();
        headless::Reset();
        new TApplication;
        form = new TForm(Application);
        form->Show();
        tree = new TCustomTreeView(form);
        tree->Name = "Tree";
        tree->SetParent(form);
        tree->OnDeletion = [this](TObject*, TTreeNode* node) { events.push_back("delete " + node->Text()); };
        tree->OnChange = [this](TObject*, TTreeNode* node) {
            events.push_back("change " + (node ? node->Text() : std::string("-")));
        };
    }
    void TearDown() override {
        EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty());
        delete Application;
    }

    // A, with children A1 and A2; B, with child B1.
    void BuildTwoLevels() {
        a = tree->Items->AddChild(nullptr, "A");
        b = tree->Items->AddChild(nullptr, "B");
        a2 = tree->Items->AddChild(a, "A2");
        a1 = tree->Items->AddChildFirst(a, "A1");
        b1 = tree->Items->AddChild(b, "B1");
    }
    std::vector<std::string> InTreeOrder() {
        std::vector<std::string> texts;
        for (int i = 0; i < tree->Items->Count(); ++i) {
            texts.push_back(tree->Items->Item(i)->Text());
        }
        return texts;
    }

    TForm* form = nullptr;
    TCustomTreeView* tree = nullptr;
    TTreeNode *a = nullptr, *a1 = nullptr, *a2 = nullptr, *b = nullptr, *b1 = nullptr;
    std::vector<std::string> events;
};

TEST_F(TreeView, ItemsComeInTreeOrderAndNodesKnowTheirPlace) {
    BuildTwoLevels();
    tree->Items->AddFirst(b, "Z");  // first in B's level
    EXPECT_THAT(InTreeOrder(), ElementsAre("Z", "A", "A1", "A2", "B", "B1"));
    EXPECT_EQ(a2->Level(), 1);
    EXPECT_EQ(a2->Index(), 1);
    EXPECT_EQ(a2->Parent(), a);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(a1->GetNextSibling(), a2);
    EXPECT_EQ(a2->GetNextSibling(), nullptr);
    EXPECT_EQ(a->GetPrevSibling()->Text(), "Z");
    EXPECT_TRUE(a->HasChildren());  // a child brings the button
    EXPECT_FALSE(a1->HasChildren());
}

TEST_F(TreeView, DeletingANodeDeletesItsChildrenFirstAndMovesASelectionThatGoesWithIt) {
    struct Case {
        std::string selected;
        std::string deleted;
        std::string selectedAfter;  // "-" for nothing
    };
    const std::vector<Case> cases{
        {"A1", "A1", "A2"},  // the next sibling
        {"A2", "A2", "A"},   // else the parent
        {"B1", "B", "A"},    // else, on the top level, the previous sibling
        {"A1", "A", "B"},    // the selection was below the deleted node
        {"B1", "A1", "B1"},  // elsewhere: left alone
    };
    for (const auto& c : cases) {
        tree->Items->Clear();
        BuildTwoLevels();
        auto byText = [&](const std::string& text) {
            for (int i = 0; i < tree->Items->Count(); ++i) {
                if (tree->Items->Item(i)->Text() == text) {
                    return tree->Items->Item(i);
                }
            }
            return static_cast<TTreeNode*>(nullptr);
        };
        tree->SetSelected(byText(c.selected));
        byText(c.deleted)->Delete();
        ASSERT_NE(tree->Selected(), nullptr) << c.deleted;
        EXPECT_EQ(tree->Selected()->Text(), c.selectedAfter) << c.selected << " " << c.deleted;
    }
    tree->Items->Clear();
    BuildTwoLevels();
    events.clear();
    a->Delete();
    EXPECT_THAT(events, ElementsAre("delete A2", "delete A1", "delete A"));
    EXPECT_EQ(tree->Items->Count(), 2);

    // A handler that deletes the node it hears of again changes nothing more.
    tree->OnDeletion = [this](TObject*, TTreeNode* node) {
        events.push_back("delete " + node->Text());
        node->Delete();
    };
    events.clear();
    b->Delete();
    EXPECT_THAT(events, ElementsAre("delete B1", "delete B"));
    EXPECT_EQ(tree->Items->Count(), 0);

    // While the selected node goes, nothing is selected: a handler never finds a node being deleted as
    // the selection.
    BuildTwoLevels();
    tree->SetSelected(a1);
    std::vector<TTreeNode*> selectedMeanwhile;
    tree->OnDeletion = [&](TObject*, TTreeNode*) { selectedMeanwhile.push_back(tree->Selected()); };
    a->Delete();
    EXPECT_THAT(selectedMeanwhile, ElementsAre(nullptr, nullptr, nullptr));
    EXPECT_EQ(tree->Selected(), b);
}

// A form that goes tells its controls before any of them goes: a derived tree that empties itself on the
// way out (as the folder tree does) raises no selection change, whose handler would reach the form's
// other controls, some of them gone already.
TEST_F(TreeView, ATreeEmptiedOnItsWayOutWithItsFormTellsNoSelectionChange) {
    struct SelfEmptyingTree : TCustomTreeView {
        using TCustomTreeView::TCustomTreeView;
        ~SelfEmptyingTree() override { Items->Clear(); }
    };
    auto* other = new TForm(Application);
    auto* own = new SelfEmptyingTree(other);
    own->SetParent(other);
    own->OnChange = [this](TObject*, TTreeNode*) { events.push_back("change"); };
    own->SetSelected(own->Items->AddChild(nullptr, "A"));
    events.clear();
    delete other;
    EXPECT_THAT(events, ::testing::IsEmpty());
}

TEST_F(TreeView, ExpandingAsksTheTreeFirstAndANodeWithoutChildrenNeverOpens) {
    BuildTwoLevels();
    std::vector<std::string> asked;
    bool allow = true;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& Allow) {
        asked.push_back(node->Text());
        Allow = allow;
    };
    a1->Expand(false);  // asked even without a button, but has nothing to show
    EXPECT_FALSE(a1->Expanded());
    allow = false;
    a->Expand(false);
    EXPECT_FALSE(a->Expanded());
    allow = true;
    a->Expand(true);
    EXPECT_TRUE(a->Expanded());
    EXPECT_THAT(asked, ElementsAre("A1", "A", "A", "A1", "A2"));

    tree->SetSelected(a2);
    events.clear();
    a->Collapse(false);  // the selection it hides moves to it
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_THAT(events, ElementsAre("change A"));
    EXPECT_TRUE(headless::ClickExpandButton(*a));
    EXPECT_TRUE(a->Expanded());
    EXPECT_TRUE(a1->IsVisible());
    EXPECT_FALSE(b1->IsVisible());
    EXPECT_FALSE(headless::ClickExpandButton(*b1));  // B is closed: B1 is not on the screen

    a1->Delete();
    EXPECT_TRUE(a->Expanded());
    a2->Delete();  // an open node that loses its last child closes, on the screen too
    EXPECT_FALSE(a->Expanded());
}

// Neighbouring flags get different values, so that no flag can stand in for another.
TEST_F(TreeView, ItsLayoutPropertiesReachAWindowThatAlreadyExists) {
    const std::vector<std::pair<const char*, const char*>> properties{
        {"ReadOnly", "True"},  {"Indent", "25"},          {"ShowButtons", "False"}, {"ShowLines", "True"},
        {"ShowRoot", "False"}, {"HideSelection", "True"}, {"BorderStyle", "bsNone"}};
    for (const auto& [name, value] : properties) {
        tree->SetProperty(name, value);
        EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty()) << name;
    }
    EXPECT_EQ(
        headless::Told().back(),
        "Tree style read-only yes, indent 25, buttons no, lines yes, root no, hide selection yes, border 0");
}

int ByLastLetter(TTreeNode* x, TTreeNode* y, std::intptr_t) {
    return x->Text().back() - y->Text().back();
}

TEST_F(TreeView, SortingOrdersTheDirectChildrenOnlyAndKeepsEqualOnesInTheirOrder) {
    TTreeNode* root = tree->Items->AddChild(nullptr, "R");
    for (const char* text : {"x2", "a1", "c2", "b1"}) {
        tree->Items->AddChild(root, text);
    }
    TTreeNode* deep = tree->Items->AddChild(root->Item(0), "z9");
    tree->Items->AddChild(root->Item(0), "z1");
    ASSERT_EQ(tree->Items->Item(2), deep);
    root->CustomSort(ByLastLetter, 0);
    EXPECT_THAT(InTreeOrder(), ElementsAre("R", "a1", "b1", "x2", "z9", "z1", "c2"));
    EXPECT_EQ(root->Item(2)->Index(), 2);
    EXPECT_EQ(root->Item(2)->GetNextSibling()->Text(), "c2");
}

// The window's items follow what it is told even where it is out of step with the model: here it was told
// of an item that this tree's model never had. A sort puts its items in the model's order and that item
// last; a deletion finds the item wherever the window shows it.
TEST_F(TreeView, TheWindowSortsByTheModelsOrderAndDeletesAnItemWhereverItShowsIt) {
    BuildTwoLevels();
    auto* other = new TCustomTreeView(form);
    other->SetParent(form);
    TTreeNode* stranger = other->Items->AddChild(nullptr, "S");
    auto* window = headless::internal::MirrorOf(*tree);
    window->NodeInserted(*stranger);  // first on the top level
    auto shown = [window] {
        std::vector<std::string> texts;
        for (const auto& item : window->Root().children) {
            texts.push_back(item->text);
        }
        return texts;
    };
    b->Delete();
    EXPECT_THAT(shown(), ElementsAre("S", "A"));
    window->ChildrenSorted(nullptr);
    EXPECT_THAT(shown(), ElementsAre("A", "S"));
    EXPECT_THAT(headless::Disagreements(), ElementsAre("Tree under the top: the window still shows 'S'"));
    window->NodeDeleting(*stranger);
    EXPECT_THAT(shown(), ElementsAre("A"));
}

class PictureTree : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
    void GetImageIndex(TTreeNode* node) override {
        ++asked;
        node->SetImageIndex(static_cast<int>(node->Text().size()));
        node->SetSelectedIndex(40);
    }
    void GetSelectedIndex(TTreeNode* node) override { GetImageIndex(node); }
    void WMLButtonDblClk(TMessage& message) override {
        seen.push_back("double click");
        TCustomTreeView::WMLButtonDblClk(message);
    }
    int asked = 0;
    std::vector<std::string> seen;
};

TEST_F(TreeView, DeferredPicturesAreAskedForOnceWhenFirstDrawnOrRead) {
    auto* pictures = new PictureTree(form);
    pictures->SetParent(form);
    TTreeNode* node = pictures->Items->AddChild(nullptr, "abc");
    node->DeferImages();
    EXPECT_TRUE(node->ImagesDeferred());
    EXPECT_EQ(pictures->asked, 0);
    const auto rows = headless::VisibleRows(*pictures);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].image, 3);
    EXPECT_EQ(rows[0].selectedImage, 40);
    EXPECT_EQ(node->SelectedIndex(), 40);
    EXPECT_EQ(pictures->asked, 1);
    EXPECT_FALSE(node->ImagesDeferred());
}

// Pictures set on a node that the window already shows reach the window at once, each on its own.
TEST_F(TreeView, PicturesSetOnAShownNodeReachTheWindow) {
    BuildTwoLevels();
    a->SetImageIndex(7);
    EXPECT_EQ(headless::VisibleRows(*tree)[0].image, 7);
    a->SetSelectedIndex(9);
    const auto rows = headless::VisibleRows(*tree);
    EXPECT_EQ(rows[0].image, 7);
    EXPECT_EQ(rows[0].selectedImage, 9);
    EXPECT_EQ(rows[1].selectedImage, b->SelectedIndex());
}

TEST_F(TreeView, ADerivedControlSeesTheDoubleClickBeforeTheTreeRaisesOnDblClick) {
    auto* pictures = new PictureTree(form);
    pictures->SetParent(form);
    TTreeNode* node = pictures->Items->AddChild(nullptr, "n");
    pictures->OnDblClick = [&](TObject*) { pictures->seen.push_back("OnDblClick"); };
    ASSERT_TRUE(headless::DoubleClickNode(*node));
    EXPECT_THAT(pictures->seen, ElementsAre("double click", "OnDblClick"));
    EXPECT_EQ(pictures->Selected(), node);
}

TEST_F(TreeView, ADoubleClickOpensOrClosesANodeWithAButtonBeforeOnDblClick) {
    BuildTwoLevels();
    std::vector<std::string> expandedWhenRaised;
    tree->OnDblClick = [&](TObject*) { expandedWhenRaised.push_back(a->Expanded() ? "open" : "closed"); };
    ASSERT_TRUE(headless::DoubleClickNode(*a));
    ASSERT_TRUE(headless::DoubleClickNode(*a));
    ASSERT_TRUE(headless::DoubleClickNode(*b));
    EXPECT_THAT(expandedWhenRaised, ElementsAre("open", "closed", "closed"));
    EXPECT_TRUE(b->Expanded());
    tree->OnDblClick = nullptr;
    ASSERT_TRUE(headless::DoubleClickNode(*b1));  // nothing to open
    EXPECT_FALSE(b1->Expanded());
    EXPECT_EQ(headless::VisibleRows(*tree).size(), 3u);  // A, B, B1
    // Every other message has the system's own answer.
    EXPECT_EQ(headless::SendMessage(tree->Handle(), platform::WM_QUERYENDSESSION, 0, 0), 1);
}

TEST_F(TreeView, ItsWindowIsHandedEachImageListTheTreeIsGiven) {
    auto* first = new TImageList(form);
    auto* second = new TImageList(form);
    tree->SetImages(first);
    tree->SetImages(second);
    EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty());
    tree->SetImages(nullptr);
}

TEST_F(TreeView, OnlyOneWindowIsLockedAndTheFirstUnlockResumesPainting) {
    const platform::HWND window = tree->Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(LockWindowUpdate(window));
    EXPECT_FALSE(LockWindowUpdate(window));
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    EXPECT_EQ(headless::LockedWindow(), nullptr);
    EXPECT_FALSE(LockWindowUpdate(nullptr));
    EXPECT_THAT(headless::Journal(),
                testing::IsSupersetOf({"lock Tree", "lock refused Tree", "unlock", "unlock (none locked)"}));
}

TEST_F(TreeView, AnImageListDestroysOnlyAListOfItsOwn) {
    auto handle = [](std::uintptr_t value) { return reinterpret_cast<platform::HIMAGELIST>(value); };
    auto* shared = new TImageList(form);
    shared->SetShareImages(true);
    shared->SetHandle(handle(0x100));
    shared->SetHandle(handle(0x101));
    delete shared;
    EXPECT_TRUE(headless::DestroyedImageLists().empty());
    auto* own = new TImageList(form);
    own->SetHandle(handle(0x200));
    own->SetHandle(handle(0x201));
    delete own;
    EXPECT_THAT(headless::DestroyedImageLists(), ElementsAre(handle(0x200), handle(0x201)));
}

TEST_F(TreeView, AListFromASourceIsFetchedOnceOnTheFirstQuestionAndNeverWhenReplacedOrUnasked) {
    auto handle = [](std::uintptr_t value) { return reinterpret_cast<platform::HIMAGELIST>(value); };
    int fetches = 0;
    auto source = [&] {
        ++fetches;
        return handle(0x300);
    };
    auto* own = new TImageList(form);
    own->SetHandleSource(source);
    EXPECT_EQ(fetches, 0);
    EXPECT_EQ(own->Handle(), handle(0x300));
    EXPECT_EQ(own->Handle(), handle(0x300));
    EXPECT_EQ(fetches, 1);
    delete own;  // a fetched list of its own goes like any other
    EXPECT_THAT(headless::DestroyedImageLists(), ElementsAre(handle(0x300)));

    auto* replaced = new TImageList(form);
    replaced->SetHandleSource(source);
    replaced->SetHandle(handle(0x301));
    EXPECT_EQ(replaced->Handle(), handle(0x301));
    delete replaced;
    auto* unasked = new TImageList(form);
    unasked->SetHandleSource(source);
    delete unasked;
    EXPECT_EQ(fetches, 1);
    auto* sourcedLater = new TImageList(form);
    sourcedLater->SetHandle(handle(0x302));
    sourcedLater->SetHandleSource(source);  // the list held so far goes at once
    EXPECT_THAT(headless::DestroyedImageLists(), ElementsAre(handle(0x300), handle(0x301), handle(0x302)));
    delete sourcedLater;
}

TEST_F(TreeView, AUtilityWindowHandsEachMessageToItsMethodStartingWithResultZero) {
    std::vector<platform::UINT> seen;
    const platform::HWND window = AllocateHWnd([&](TMessage& message) {
        seen.push_back(message.Msg);
        EXPECT_EQ(message.Result, 0);
        message.Result = static_cast<platform::LRESULT>(message.LParam) + 1;
    });
    EXPECT_EQ(headless::SendMessage(window, 0x402, 0, 41), 42);
    DeallocateHWnd(window);
    EXPECT_FALSE(headless::WindowExists(window));
    EXPECT_EQ(headless::SendMessage(window, 0x402, 0, 41), 0);
    EXPECT_THAT(seen, ElementsAre(0x402u));
}

TEST_F(TreeView, TheScreenCursorChangesOnlyWhenItIsSetToAnother) {
    Screen->SetCursor(crHourGlass);
    Screen->SetCursor(crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(headless::ScreenCursor(), crDefault);
    EXPECT_EQ(std::count(headless::Journal().begin(), headless::Journal().end(), "cursor crHourGlass"), 1);
}

}  // namespace
