// The headless tree view: the peer gives the tree its window handle, keeps the items the nodes told it
// of, and lets a test look and act as a person would on those items.
#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/headless/Mirror.h"

namespace headless {

namespace {

class HeadlessTreeViewPeer final : public TreeViewPeer {
public:
    explicit HeadlessTreeViewPeer(TCustomTreeView& tree)
        : handle_(internal::NewWindow([&tree](TMessage& message) { tree.WndProc(message); }, &tree)),
          control_(tree),
          items_(tree) {}
    ~HeadlessTreeViewPeer() override { internal::ForgetWindow(handle_); }

    void Changed(Aspect aspect) override { control_.Changed(aspect); }
    platform::HWND Handle() const override { return handle_; }
    void NodeInserted(TTreeNode& node) override { items_.NodeInserted(node); }
    void NodeDeleting(TTreeNode& node) override { items_.NodeDeleting(node); }
    void NodeChanged(TTreeNode& node, NodeAspect aspect) override { items_.NodeChanged(node, aspect); }
    void ChildrenSorted(TTreeNode* parent) override { items_.ChildrenSorted(parent); }
    void SelectionChanged(TTreeNode* node) override { items_.SelectionChanged(node); }
    void ImagesChanged() override {}
    // The common control leaves every message to the system's default answer.
    void DefaultHandler(TMessage& message) override {
        message.Result = platform::DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
    }

private:
    platform::HWND handle_;
    internal::ControlMirror control_;
    internal::TreeMirror items_;
};

using Item = internal::TreeMirror::Item;

void AddRows(internal::TreeMirror& mirror, const Item& parent, int level, std::vector<TreeRow>& rows) {
    for (const auto& item : parent.children) {
        mirror.SupplyImages(*item);
        rows.push_back(TreeRow{item->text, level, item->image, item->selectedImage, item->overlay,
                               item->hasChildren, item->expanded});
        if (item->expanded) {
            AddRows(mirror, *item, level + 1, rows);
        }
    }
}

bool PersonSees(TTreeNode& node) {
    const auto* mirror = internal::MirrorOf(*node.TreeView());
    return internal::PersonCanReach(*node.TreeView()) && mirror != nullptr && mirror->Shows(&node);
}

}  // namespace

// The peer's window exists as soon as the peer does.
std::unique_ptr<ControlPeer> internal::CreateTreeViewPeer(TCustomTreeView& tree) {
    RegisterTreeViewClass();
    return std::make_unique<HeadlessTreeViewPeer>(tree);
}

std::vector<TreeRow> VisibleRows(TCustomTreeView& tree) {
    std::vector<TreeRow> rows;
    if (auto* mirror = internal::MirrorOf(tree)) {
        AddRows(*mirror, mirror->Root(), 0, rows);
    }
    return rows;
}

bool ClickExpandButton(TTreeNode& node) {
    if (!PersonSees(node)) {
        return false;
    }
    const Item* item = internal::MirrorOf(*node.TreeView())->Find(&node);
    if (!item->hasChildren && item->children.empty()) {
        return false;
    }
    Application->Dispatch([&node] {
        if (internal::MirrorOf(*node.TreeView())->Find(&node)->expanded) {
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
