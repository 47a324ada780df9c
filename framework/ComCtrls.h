// The tree view: a control that shows nodes in levels, each node with its text, its pictures from the
// tree's image list, an expand button and its children. The nodes are the model; the backend's peer
// mirrors them into the common control (or into nothing, headless).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "framework/Controls.h"
#include "framework/ImgList.h"
#include "framework/Messages.h"
#include "framework/StdCtrls.h"

class TCustomTreeView;
class TTreeNodes;

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
// Sorting: negative when Node1 goes before Node2, positive after, 0 when either order will do.
using TTVCompare = int (*)(TTreeNode* Node1, TTreeNode* Node2, std::intptr_t Data);

class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }

    // The indexes into the tree's image list: the picture, and the one shown while the node is
    // selected. A node whose pictures are deferred asks its tree for them when one is first read.
    int ImageIndex();
    void SetImageIndex(int index);
    int SelectedIndex();
    void SetSelectedIndex(int index);
    void DeferImages();
    bool ImagesDeferred() const { return imagePending_ || selectedPending_; }
    // The overlay over the picture: the image list's overlay image number OverlayIndex + 1; -1 none.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int index);

    // Whether the node shows an expand button, whatever children it has now.
    bool HasChildren() const { return hasChildren_; }
    void SetHasChildren(bool hasChildren);
    bool Expanded() const { return expanded_; }
    bool Deleting() const { return deleting_; }
    // Every level above the node is expanded.
    bool IsVisible() const;

    int Level() const;
    int Index() const { return static_cast<int>(index_); }
    TTreeNode* Parent() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const { return children_.at(static_cast<std::size_t>(index)); }
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    bool HasAsParent(const TTreeNode* ancestor) const;

    // Each asks the tree first (OnExpanding); a node without children does not open. With `Recurse`
    // the levels below follow.
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    void Delete();
    // Sorts the direct children; two that compare equal keep their order.
    void CustomSort(TTVCompare SortProc, std::intptr_t Data);
    // Sorts the direct children by a key made once for each, the keys compared byte by byte (a key that
    // begins another goes first); two with equal keys keep their order.
    void SortByKeys(const std::function<std::string(TTreeNode* Node)>& KeyOf);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}
    ~TTreeNode() = default;
    void Notify(NodeAspect aspect);
    void ChildrenReordered();

    TTreeNodes* owner_;
    TTreeNode* parent_;  // the collection's hidden root for a top-level node
    std::vector<TTreeNode*> children_;
    std::size_t index_ = 0;  // place among the parent's children
    std::string text_;
    void* data_ = nullptr;
    int imageIndex_ = 0;
    int selectedIndex_ = 0;
    int overlayIndex_ = -1;
    bool imagePending_ = false;
    bool selectedPending_ = false;
    bool hasChildren_ = false;
    bool expanded_ = false;
    bool deleting_ = false;
};

// All nodes of a tree. By index they come in tree order: each node before its children, siblings in
// order.
class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TCustomTreeView* Owner() const { return owner_; }
    int Count() const { return count_; }
    TTreeNode* Item(int index);
    TTreeNode* operator[](int index) { return Item(index); }
    TTreeNode* GetFirstNode() const { return root_->GetFirstChild(); }

    // A node without a parent (or sibling) goes to the top level.
    TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
    TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr);
    TTreeNode* AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr);
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) {
        return AddChildObject(Parent, S, nullptr);
    }
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S) {
        return AddChildObjectFirst(Parent, S, nullptr);
    }
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S) {
        return AddObjectFirst(Sibling, S, nullptr);
    }

    void Delete(TTreeNode* Node);
    void Clear();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* Insert(TTreeNode* parent, std::size_t position, const std::string& text, void* data);
    void DeleteSubtree(TTreeNode* node);
    void Renumber(TTreeNode* parent, std::size_t from);
    TTreeNode* RootOf(TTreeNode* parent) const { return parent != nullptr ? parent : root_.get(); }

    TCustomTreeView* owner_;
    std::unique_ptr<TTreeNode, void (*)(TTreeNode*)> root_;
    int count_ = 0;
    std::vector<TTreeNode*> order_;  // tree order, rebuilt on the first look after a change
    bool orderStale_ = false;
};

// The tree view is a common control: its window class comes from comctl32.dll, which this loads, and
// registers; it ends the program when the module cannot be had. A backend calls it each time just before
// it makes a tree view's window. The module is loaded no sooner: it costs a program that never shows a
// tree (the setup program on every Windows but 98) three megabytes and part of its start.
void RegisterTreeViewClass();

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* const Items;

    TTreeNode* Selected() const { return selected_; }
    // Selects the node (null: nothing), opening the levels above it, and raises OnChange.
    void SetSelected(TTreeNode* node);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    int Indent() const { return indent_; }
    void SetIndent(int indent);
    bool ShowButtons() const { return showButtons_; }
    bool ShowLines() const { return showLines_; }
    bool ShowRoot() const { return showRoot_; }
    bool HideSelection() const { return hideSelection_; }
    TBorderStyle BorderStyle() const { return borderStyle_; }

    platform::HWND Handle() const;

    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnDeletion;

    // Raises OnExpanding; answers whether the node may open.
    virtual bool CanExpand(TTreeNode* Node);
    // Asked when a deferred picture index of the node is first read; sets it with SetImageIndex
    // (SetSelectedIndex). Without an answer the node keeps the index it had.
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);

    // The control's window procedure: every message of its window passes here, and what a derived
    // control does not handle goes on to the common control's own handling.
    virtual void WndProc(TMessage& Message);

    void SetProperty(std::string_view name, std::string_view value) override;

protected:
    virtual void Change(TTreeNode* Node);
    virtual void Delete(TTreeNode* Node);
    // WM_LBUTTONDBLCLK: the common control's handling, then OnDblClick.
    virtual void WMLButtonDblClk(TMessage& Message);
    void DefaultHandler(TMessage& Message);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    TreeViewPeer* TreePeer() const { return dynamic_cast<TreeViewPeer*>(Peer()); }
    void SelectQuietly(TTreeNode* node);

    TTreeNode* selected_ = nullptr;
    bool destroying_ = false;
    bool readOnly_ = false;
    TCustomImageList* images_ = nullptr;
    int indent_ = 19;
    bool showButtons_ = true;
    bool showLines_ = true;
    bool showRoot_ = true;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = bsSingle;
};
