// The headless tree view: the nodes themselves are the whole state; the peer gives the tree its window
// handle and lets a test look and act as a person would.
#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessInternal.h"

namespace headless {

namespace {

class HeadlessTreeViewPeer final : public TreeViewPeer {
public:
    explicit HeadlessTreeViewPeer(TCustomTreeView& tree)
        : handle_(internal::NewWindow([&tree](TMessage& message) { tree.WndProc(message); }, &tree)) {}
    ~HeadlessTreeViewPeer() override { internal::ForgetWindow(handle_); }

    void Changed(Aspect) override {}
    platform::HWND Handle() const override { return handle_; }
    void NodeInserted(TTreeNode&) override {}
    void NodeDeleting(TTreeNode&) override {}
    void NodeChanged(TTreeNode&, NodeAspect) override {}
    void ChildrenSorted(TTreeNode*) override {}
    void SelectionChanged(TTreeNode*) override {}
    void ImagesChanged() override {}
    // The common control leaves every message to the system's default answer.
    void DefaultHandler(TMessage& message) override {
        message.Result = platform::DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
    }

private:
    platform::HWND handle_;
};

void AddRows(TTreeNode* node, std::vector<TreeRow>& rows) {
    for (; node != nullptr; node = node->GetNextSibling()) {
        rows.push_back(TreeRow{node->Text(), node->Level(), node->ImageIndex(), node->SelectedIndex(),
                               node->OverlayIndex(), node->HasChildren(), node->Expanded()});
        if (node->Expanded()) {
            AddRows(node->GetFirstChild(), rows);
        }
    }
}

bool PersonSees(TTreeNode& node) {
    return internal::PersonCanReach(*node.TreeView()) && node.IsVisible();
}

}  // namespace

// The peer's window exists as soon as the peer does.
std::unique_ptr<ControlPeer> internal::CreateTreeViewPeer(TCustomTreeView& tree) {
    RegisterTreeViewClass();
    return std::make_unique<HeadlessTreeViewPeer>(tree);
}

std::vector<TreeRow> VisibleRows(TCustomTreeView& tree) {
    std::vector<TreeRow> rows;
    AddRows(tree.Items->GetFirstNode(), rows);
    return rows;
}

bool ClickExpandButton(TTreeNode& node) {
    if (!PersonSees(node) || (!node.HasChildren() && node.Count() == 0)) {
        return false;
    }
    Application->Dispatch([&node] {
        if (node.Expanded()) {
            node.Collapse(false);
        } else {
            node.Expand(false);
        }
    });
    return true;
}

bool ClickNode(TTreeNode& node) {
    if (!PersonSees(node)) {
        return false;
    }
    Application->Dispatch([&node] {
        node.TreeView()->SetSelected(&node);
        node.TreeView()->Click();
    });
    return true;
}

bool DoubleClickNode(TTreeNode& node) {
    if (!ClickNode(node)) {
        return false;
    }
    TCustomTreeView* tree = node.TreeView();
    Application->Dispatch([tree] { tree->Perform(platform::WM_LBUTTONDBLCLK, 0, 0); });
    return true;
}

}  // namespace headless
