#include "framework/headless/Mirror.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <utility>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/headless/Headless.h"

namespace headless {

namespace {

struct Registry {
    std::vector<internal::ControlMirror*> controls;
    std::map<const TCustomTreeView*, internal::TreeMirror*> trees;
    std::vector<std::string> told;
};

Registry& Mirrors() {
    static Registry registry;
    return registry;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

const char* AspectName(Aspect aspect) {
    switch (aspect) {
        case Aspect::Bounds:
            return "bounds";
        case Aspect::Text:
            return "text";
        case Aspect::Enabled:
            return "enabled";
        case Aspect::Visible:
            return "visible";
        case Aspect::Color:
            return "colour";
        case Aspect::Font:
            return "font";
        case Aspect::Lines:
            return "lines";
        case Aspect::Picture:
            return "picture";
        case Aspect::Style:
            return "style";
        case Aspect::TabOrder:
            return "tab order";
        case Aspect::Items:
            return "items";
    }
    return "?";
}

std::string StyleOf(const TControl& control) {
    if (const auto* form = dynamic_cast<const TForm*>(&control)) {
        return "border " + std::to_string(form->BorderStyle()) + ", icons " + Hex(form->BorderIcons()) +
               ", on top " + YesNo(form->FormStyle() == fsStayOnTop);
    }
    if (const auto* memo = dynamic_cast<const TMemo*>(&control)) {
        return "word wrap " + YesNo(memo->WordWrap()) + ", read-only " + YesNo(memo->ReadOnly()) +
               ", border " + std::to_string(memo->BorderStyle());
    }
    if (const auto* tree = dynamic_cast<const TCustomTreeView*>(&control)) {
        return "read-only " + YesNo(tree->ReadOnly()) + ", indent " + std::to_string(tree->Indent()) +
               ", buttons " + YesNo(tree->ShowButtons()) + ", lines " + YesNo(tree->ShowLines()) + ", root " +
               YesNo(tree->ShowRoot()) + ", hide selection " + YesNo(tree->HideSelection()) + ", border " +
               std::to_string(tree->BorderStyle());
    }
    return {};
}

std::string PictureOf(const TControl& control) {
    if (const auto* image = dynamic_cast<const TImage*>(&control)) {
        return image->Picture() + (image->Stretch() ? " stretched" : "");
    }
    if (const auto* form = dynamic_cast<const TForm*>(&control)) {
        return form->Icon();
    }
    return {};
}

std::string LinesOf(const TControl& control) {
    const auto* memo = dynamic_cast<const TMemo*>(&control);
    if (memo == nullptr) {
        return {};
    }
    std::string text;
    for (const auto& line : memo->Lines->Lines()) {
        text += (text.empty() ? "" : " | ") + line;
    }
    return text;
}

// What a window shows of one aspect of its control, as a line of text.
std::string Describe(const TControl& control, Aspect aspect) {
    switch (aspect) {
        case Aspect::Bounds: {
            const TRect r = control.BoundsRect();
            return std::to_string(r.Left) + "," + std::to_string(r.Top) + " " + std::to_string(r.Width()) +
                   "x" + std::to_string(r.Height());
        }
        case Aspect::Text:
            return control.Caption();
        case Aspect::Enabled:
            return YesNo(control.Enabled());
        case Aspect::Visible:
            return YesNo(control.Visible());
        case Aspect::Color:
            return Hex(static_cast<std::uint32_t>(control.Color()));
        case Aspect::Font: {
            const TFont& font = control.Font();
            return font.Name + " " + std::to_string(font.Height) + " charset " +
                   std::to_string(font.Charset) + " style " + Hex(font.Style) + " colour " +
                   Hex(static_cast<std::uint32_t>(font.Color));
        }
        case Aspect::Lines:
            return LinesOf(control);
        case Aspect::Picture:
            return PictureOf(control);
        case Aspect::Style:
            return StyleOf(control);
        case Aspect::TabOrder:
            return std::to_string(control.TabOrder()) + ", tab stop " + YesNo(control.TabStop());
        case Aspect::Items:
            return {};
    }
    return {};
}

constexpr Aspect kAspects[] = {Aspect::Bounds, Aspect::Text,    Aspect::Enabled, Aspect::Visible,
                               Aspect::Color,  Aspect::Font,    Aspect::Lines,   Aspect::Picture,
                               Aspect::Style,  Aspect::TabOrder};

std::string NodeName(const TTreeNode* node) {
    return node != nullptr ? "'" + node->Text() + "'" : "the top";
}

}  // namespace

namespace internal {

void RecordTold(std::string line) {
    Mirrors().told.push_back(std::move(line));
}

void ForgetTold() {
    Mirrors().told.clear();
}

ControlMirror::ControlMirror(TControl& control) : control_(control) {
    for (Aspect aspect : kAspects) {
        shown_[aspect] = Describe(control_, aspect);
    }
    Mirrors().controls.push_back(this);
}

ControlMirror::~ControlMirror() {
    auto& controls = Mirrors().controls;
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
}

void ControlMirror::Changed(Aspect aspect) {
    shown_[aspect] = Describe(control_, aspect);
    RecordTold(control_.Name + " " + AspectName(aspect) + " " + shown_[aspect]);
}

void ControlMirror::AddDisagreements(std::vector<std::string>& lines) const {
    for (const auto& [aspect, shown] : shown_) {
        // A form shows and hides through its own calls, not through its Visible aspect.
        if (aspect == Aspect::Visible && dynamic_cast<const TForm*>(&control_) != nullptr) {
            continue;
        }
        const std::string held = Describe(control_, aspect);
        if (held != shown) {
            lines.push_back(control_.Name + " " + AspectName(aspect) + ": the window shows '" + shown +
                            "', the control holds '" + held + "'");
        }
    }
}

TreeMirror::TreeMirror(TCustomTreeView& tree) : tree_(tree), images_(tree.Images()) {
    Mirrors().trees[&tree] = this;
}

TreeMirror::~TreeMirror() {
    Mirrors().trees.erase(&tree_);
}

void TreeMirror::Note(const std::string& line) const {
    RecordTold(tree_.Name + " " + line);
}

TreeMirror::Item* TreeMirror::Find(const TTreeNode* node) const {
    auto found = items_.find(node);
    return found != items_.end() ? found->second : nullptr;
}

bool TreeMirror::Shows(const TTreeNode* node) const {
    const Item* item = Find(node);
    if (item == nullptr) {
        return false;
    }
    for (const Item* above = item->parent; above != &root_; above = above->parent) {
        if (!above->expanded) {
            return false;
        }
    }
    return true;
}

void TreeMirror::NodeInserted(TTreeNode& node) {
    Item* parent = node.Parent() != nullptr ? Find(node.Parent()) : &root_;
    Note("insert " + NodeName(&node) + " under " + NodeName(node.Parent()) + " at " +
         std::to_string(node.Index()));
    if (parent == nullptr) {
        faults_.push_back("'" + node.Text() + "' was inserted under a node the window does not have");
        return;
    }
    auto item = std::make_unique<Item>();
    item->node = &node;
    item->parent = parent;
    item->text = node.Text();
    item->imagesDeferred = node.ImagesDeferred();
    if (!item->imagesDeferred) {
        item->image = node.ImageIndex();
        item->selectedImage = node.SelectedIndex();
    }
    item->overlay = node.OverlayIndex();
    item->hasChildren = node.HasChildren();
    item->expanded = node.Expanded();
    items_[&node] = item.get();
    const auto at = std::min(static_cast<std::size_t>(node.Index()), parent->children.size());
    parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

// The item leaves its parent's children. It stands at the node's own place when the window agrees with
// the model, which is where it is looked for first; the tree deletes the last child first, so that is
// also where removing it costs least.
void TreeMirror::RemoveFromParent(const Item& item, std::size_t modelIndex) {
    auto& siblings = item.parent->children;
    auto at =
        modelIndex < siblings.size() && siblings[modelIndex].get() == &item
            ? siblings.begin() + static_cast<std::ptrdiff_t>(modelIndex)
            : std::find_if(siblings.begin(), siblings.end(),
                           [&item](const std::unique_ptr<Item>& sibling) { return sibling.get() == &item; });
    siblings.erase(at);
}

void TreeMirror::NodeDeleting(TTreeNode& node) {
    Note("delete " + NodeName(&node));
    Item* item = Find(&node);
    if (item == nullptr) {
        faults_.push_back("'" + node.Text() + "' was deleted but the window never had it");
        return;
    }
    if (!item->children.empty()) {
        faults_.push_back("'" + node.Text() + "' was deleted while its window still shows children");
    }
    std::vector<const TTreeNode*> gone{&node};
    for (std::size_t i = 0; i < gone.size(); ++i) {
        for (const auto& child : Find(gone[i])->children) {
            gone.push_back(child->node);
        }
    }
    for (const TTreeNode* each : gone) {
        items_.erase(each);
    }
    RemoveFromParent(*item, static_cast<std::size_t>(node.Index()));
    if (selected_ == &node) {
        selected_ = nullptr;
    }
}

void TreeMirror::NodeChanged(TTreeNode& node, NodeAspect aspect) {
    Item* item = Find(&node);
    if (item == nullptr) {
        faults_.push_back("'" + node.Text() + "' changed but the window does not have it");
        return;
    }
    switch (aspect) {
        case NodeAspect::Text:
            item->text = node.Text();
            Note(NodeName(&node) + " text");
            return;
        case NodeAspect::Images:
            if (&node == supplying_) {
                return;  // the control keeps what it asked the node for
            }
            item->imagesDeferred = node.ImagesDeferred();
            if (!item->imagesDeferred) {
                item->image = node.ImageIndex();
                item->selectedImage = node.SelectedIndex();
            }
            Note(NodeName(&node) + " images " +
                 (item->imagesDeferred
                      ? std::string("deferred")
                      : std::to_string(item->image) + "/" + std::to_string(item->selectedImage)));
            return;
        case NodeAspect::Overlay:
            item->overlay = node.OverlayIndex();
            Note(NodeName(&node) + " overlay " + std::to_string(item->overlay));
            return;
        case NodeAspect::HasChildren:
            item->hasChildren = node.HasChildren();
            Note(NodeName(&node) + " button " + YesNo(item->hasChildren));
            return;
        case NodeAspect::Expanded:
            item->expanded = node.Expanded();
            Note(NodeName(&node) + (item->expanded ? " expand" : " collapse"));
            return;
    }
}

void TreeMirror::ChildrenSorted(TTreeNode* parent) {
    Note("sort " + NodeName(parent));
    Item* item = parent != nullptr ? Find(parent) : &root_;
    if (item == nullptr) {
        return;
    }
    // The control puts its items in the model's order; an item the model no longer has goes last. Each
    // item's place is looked up once, before the sort.
    std::unordered_map<const TTreeNode*, std::size_t> modelPlace;
    std::size_t modelCount = 0;
    const TTreeNode* first = parent != nullptr ? parent->GetFirstChild() : tree_.Items->GetFirstNode();
    for (const TTreeNode* at = first; at != nullptr; at = at->GetNextSibling()) {
        modelPlace.emplace(at, modelCount++);
    }
    std::vector<std::pair<std::size_t, std::unique_ptr<Item>>> placed;
    placed.reserve(item->children.size());
    for (auto& child : item->children) {
        const auto found = modelPlace.find(child->node);
        placed.emplace_back(found != modelPlace.end() ? found->second : modelCount, std::move(child));
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < placed.size(); ++i) {
        item->children[i] = std::move(placed[i].second);
    }
}

void TreeMirror::SelectionChanged(TTreeNode* node) {
    Note("select " + NodeName(node));
    selected_ = node;
}

void TreeMirror::SupplyImages(Item& item) {
    if (item.imagesDeferred) {
        supplying_ = item.node;
        item.image = item.node->ImageIndex();
        item.selectedImage = item.node->SelectedIndex();
        item.imagesDeferred = false;
        supplying_ = nullptr;
    }
}

void TreeMirror::Compare(const Item& shown, TTreeNode* parent, std::vector<std::string>& lines) const {
    const std::string where = tree_.Name + " under " + NodeName(parent);
    std::vector<std::string> shownTexts;
    for (const auto& child : shown.children) {
        shownTexts.push_back(child->text);
    }
    std::size_t i = 0;
    TTreeNode* first = parent != nullptr ? parent->GetFirstChild() : tree_.Items->GetFirstNode();
    for (TTreeNode* node = first; node != nullptr; node = node->GetNextSibling(), ++i) {
        const Item* item = i < shown.children.size() ? shown.children[i].get() : nullptr;
        if (item == nullptr || item->node != node) {
            lines.push_back(where + ": the window does not show " + NodeName(node) + " at " +
                            std::to_string(i));
            return;
        }
        auto differs = [&](const char* what, const std::string& onScreen, const std::string& held) {
            if (onScreen != held) {
                lines.push_back(where + ": " + NodeName(node) + " " + what + " shows '" + onScreen +
                                "', holds '" + held + "'");
            }
        };
        differs("text", item->text, node->Text());
        differs("button", YesNo(item->hasChildren), YesNo(node->HasChildren()));
        differs("expanded", YesNo(item->expanded), YesNo(node->Expanded()));
        differs("overlay", std::to_string(item->overlay), std::to_string(node->OverlayIndex()));
        if (!node->ImagesDeferred() && !item->imagesDeferred) {
            differs("pictures", std::to_string(item->image) + "/" + std::to_string(item->selectedImage),
                    std::to_string(node->ImageIndex()) + "/" + std::to_string(node->SelectedIndex()));
        } else if (node->ImagesDeferred() && !item->imagesDeferred) {
            lines.push_back(where + ": " + NodeName(node) + " pictures are fixed in the window but deferred");
        }
        Compare(*item, node, lines);
    }
    if (i < shown.children.size()) {
        lines.push_back(where + ": the window still shows '" + shown.children[i]->text + "'");
    }
}

void TreeMirror::AddDisagreements(std::vector<std::string>& lines) const {
    for (const auto& fault : faults_) {
        lines.push_back(tree_.Name + ": " + fault);
    }
    Compare(root_, nullptr, lines);
    if (selected_ != tree_.Selected()) {
        lines.push_back(tree_.Name + ": the window selects " + NodeName(selected_) + ", the tree " +
                        NodeName(tree_.Selected()));
    }
    if (images_ != tree_.Images()) {
        lines.push_back(tree_.Name + ": the window was not handed the tree's image list");
    }
}

TreeMirror* MirrorOf(const TCustomTreeView& tree) {
    auto found = Mirrors().trees.find(&tree);
    return found != Mirrors().trees.end() ? found->second : nullptr;
}

}  // namespace internal

const std::vector<std::string>& Told() {
    return Mirrors().told;
}

std::vector<std::string> Disagreements() {
    std::vector<std::string> lines;
    for (const auto* control : Mirrors().controls) {
        control->AddDisagreements(lines);
    }
    for (const auto& [tree, mirror] : Mirrors().trees) {
        mirror->AddDisagreements(lines);
    }
    return lines;
}

}  // namespace headless
