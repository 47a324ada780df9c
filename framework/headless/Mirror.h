// What the headless windows were told: each peer keeps, for its control, what a real window would now
// show, built only from what the control and its nodes reported. Where the program changed something
// without telling its window, the mirror shows the old state, as the screen would.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "framework/ComCtrls.h"

namespace headless::internal {

// One control's window: the last description of each aspect it was told, taken when its peer was made
// and at each change.
class ControlMirror {
public:
    explicit ControlMirror(TControl& control);
    ~ControlMirror();
    ControlMirror(const ControlMirror&) = delete;
    ControlMirror& operator=(const ControlMirror&) = delete;

    void Changed(Aspect aspect);
    // "Next text: the window shows 'Next >', the control holds 'Finish'", one line per aspect.
    void AddDisagreements(std::vector<std::string>& lines) const;

private:
    TControl& control_;
    std::map<Aspect, std::string> shown_;
};

// A tree view's items as the common control would hold them.
class TreeMirror {
public:
    struct Item {
        TTreeNode* node = nullptr;  // only compared, never followed once the node is gone
        Item* parent = nullptr;
        std::string text;
        bool imagesDeferred = false;  // the control asks the node when it draws the item
        int image = 0;
        int selectedImage = 0;
        int overlay = -1;
        bool hasChildren = false;
        bool expanded = false;
        std::vector<std::unique_ptr<Item>> children;
    };

    explicit TreeMirror(TCustomTreeView& tree);
    ~TreeMirror();
    TreeMirror(const TreeMirror&) = delete;
    TreeMirror& operator=(const TreeMirror&) = delete;

    void NodeInserted(TTreeNode& node);
    void NodeDeleting(TTreeNode& node);
    void NodeChanged(TTreeNode& node, NodeAspect aspect);
    void ChildrenSorted(TTreeNode* parent);
    void SelectionChanged(TTreeNode* node);
    void ImagesChanged() { images_ = tree_.Images(); }

    const Item& Root() const { return root_; }
    // The node's item; null when the window has none for it.
    Item* Find(const TTreeNode* node) const;
    // Whether the item is on the screen: every level above it is expanded.
    bool Shows(const TTreeNode* node) const;
    // Asks the node for its pictures, as the control does for an item whose pictures are deferred.
    void SupplyImages(Item& item);
    void AddDisagreements(std::vector<std::string>& lines) const;

private:
    void Note(const std::string& line) const;
    void RemoveFromParent(const Item& item, std::size_t modelIndex);
    void Compare(const Item& shown, TTreeNode* parent, std::vector<std::string>& lines) const;

    TCustomTreeView& tree_;
    Item root_;
    std::map<const TTreeNode*, Item*> items_;
    TTreeNode* selected_ = nullptr;
    const TCustomImageList* images_ = nullptr;  // the list the window was handed
    const TTreeNode* supplying_ = nullptr;      // the node asked for its pictures right now
    std::vector<std::string> faults_;           // what the window was told that it could not do
};

TreeMirror* MirrorOf(const TCustomTreeView& tree);
void RecordTold(std::string line);
void ForgetTold();

}  // namespace headless::internal
