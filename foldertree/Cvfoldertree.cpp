// TCvFolderTree: construction and destruction, and the properties and events a window layout sets.
#include "foldertree/Cvfoldertree.h"

#include <map>

#include "framework/Forms.h"
#include "framework/MissingModule.h"
#include "framework/UtilWindow.h"
#include "platform/ErrorMode.h"
#include "platform/Kernel.h"
#include "platform/SystemModule.h"

using namespace platform;

PFNSHCHANGENOTIFYREGISTER ShChangeNotifyRegisterProc = nullptr;
PFNSHCHANGENOTIFYDEREGISTER ShChangeNotifyDeregisterProc = nullptr;

namespace {

// The tree's class, for layouts to name, and its own event: a layout binds the session-end question to
// a method of its form like a close query, since both ask the sender whether it may go on.
const AtStartUp kFolderTreeRegistered([] {
    RegisterControlClass("TCvFolderTree",
                         [](TComponent* owner) -> TControl* { return new TCvFolderTree(owner); });
    RegisterEvent("OnEndSessionQuery", &TCvFolderTree::OnEndSessionQuery);
});

// The tree sits in its owner's window, so an owner without one cannot hold it.
TWinControl* WindowedOwner(TComponent* owner) {
    auto* parent = dynamic_cast<TWinControl*>(owner);
    if (parent == nullptr) {
        throw Exception("Invalid class typecast");
    }
    return parent;
}

// shell32.dll is one of Windows' known modules, yet it is taken from the system folder by its full
// path like every module the program loads itself. Without it, or without either entry point, the
// tree could never follow the folders, so the program ends.
HMODULE LoadChangeNotification() {
    const LPCSTR ordinals[] = {MAKEINTRESOURCEA(SHCHANGENOTIFYREGISTER_ORDINAL),
                               MAKEINTRESOURCEA(SHCHANGENOTIFYDEREGISTER_ORDINAL)};
    FARPROC entries[2];
    HMODULE module = nullptr;
    {
        const ScopedErrorMode quiet(SEM_NOOPENFILEERRORBOX);
        module = BindSystemModule("shell32.dll", ordinals, entries, 2);
    }
    EndIfModuleMissing(module != nullptr, "shell32.dll");
    ShChangeNotifyRegisterProc = reinterpret_cast<PFNSHCHANGENOTIFYREGISTER>(entries[0]);
    ShChangeNotifyDeregisterProc = reinterpret_cast<PFNSHCHANGENOTIFYDEREGISTER>(entries[1]);
    return module;
}

SFolderOption ParseFolderOptions(std::string_view value) {
    const unsigned bits = layoutvalue::Set(value,
                                           {{"foNetworkNeighborhood", 1u << foNetworkNeighborhood},
                                            {"foRecycleBin", 1u << foRecycleBin},
                                            {"foVirtualFirst", 1u << foVirtualFirst}},
                                           "folder option");
    SFolderOption result;
    for (auto option : {foNetworkNeighborhood, foRecycleBin, foVirtualFirst}) {
        if ((bits & (1u << option)) != 0) {
            result = result.With(option);
        }
    }
    return result;
}

TDisplayMode ParseDisplayMode(std::string_view value) {
    return layoutvalue::Named<TDisplayMode>(
        value, {{"dmAsis", dmAsis}, {"dmUppercase", dmUppercase}, {"dmLowercase", dmLowercase}},
        "display mode");
}

}  // namespace

TCvFolderTree::TCvFolderTree(TComponent* AOwner) : TCustomTreeView(AOwner) {
    TWinControl* parent = WindowedOwner(AOwner);

    Shell32Module = LoadChangeNotification();

    SetReadOnly(true);  // the user cannot edit the names

    OnDeletion = [this](TObject* Sender, TTreeNode* Node) { FreeNode(Sender, Node); };

    CoGetMalloc(MEMCTX_TASK, ShellMalloc.put());
    SetParent(parent);
    NotifyWindow = AllocateHWnd([this](TMessage& Message) { MessageProc(Message); });
    OnExpanding = [this](TObject* Sender, TTreeNode* Node, bool& Allow) {
        TFolderTreeExpanding(Sender, Node, Allow);
    };

    RetrieveSysImageList();  // shared: the system's list is never destroyed by the tree
    SysImages->SetMasked(false);
    SetImages(SysImages);

    TFont font = Font();
    font.Height = -13;  // 10 points at 96 pixels per inch
    SetFont(font);
    SetBounds(Left(), Top(), 180, 120);
}

TCvFolderTree::~TCvFolderTree() {
    BeginDestruction();
    Deactivate();
    if (Shell32Module != nullptr) {
        FreeLibrary(Shell32Module);
    }
    DeallocateHWnd(NotifyWindow);
    SetImages(nullptr);
    delete SysImages;
}

void TCvFolderTree::SetProperty(std::string_view name, std::string_view value) {
    if (name == "Active") {
        SetActive(layoutvalue::Bool(value));
    } else if (name == "FolderOptions") {
        SetFolderOptions(ParseFolderOptions(value));
    } else if (name == "DisplayMode") {
        SetDisplayMode(ParseDisplayMode(value));
    } else {
        TCustomTreeView::SetProperty(name, value);
    }
}

HWND TCvFolderTree::ParentWindow() const {
    return Parent() != nullptr && Parent()->Peer() != nullptr ? Parent()->Peer()->Handle() : nullptr;
}
