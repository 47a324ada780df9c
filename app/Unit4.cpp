#include "app/Unit4.h"

#include <optional>
#include <string>

#include "app/FormatPath.h"
#include "app/Texts.h"
#include "framework/Dialogs.h"
#include "framework/ExitCodes.h"
#include "framework/Registry.h"
#include "platform/ErrorMode.h"
#include "platform/Folders.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "resources/Layouts.h"

using namespace platform;

TForm4* Form4 = nullptr;

namespace {

// Where Windows keeps the folder it was installed from.
constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

// Whether a file, not a folder, answers to `path`. The user may have named a drive whose disk is out:
// the program's own warning tells them, not a box of Windows' own.
bool CabinetThere(const char* path) {
    const ScopedErrorMode noDiskBox(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAA entry;
    HANDLE found = FindFirstFileA(path, &entry);
    if (found == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(found);
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Windows looks for its installation files in SourcePath later, from another current folder, so the
// folder is recorded as the full path of the place where the check found the cabinet: a text that is
// a full path already stays as typed; any other is the folder of the cabinet's full path, so that "C:",
// which the check took for the root of C:, records that root. Nothing when it cannot be made full.
std::optional<std::string> FullSourcePath(const std::string& folder, const char* cabinet) {
    if (IsFullPath(folder)) {
        return folder;
    }
    char full[MAX_PATH];
    LPSTR name = nullptr;
    const DWORD length = GetFullPathNameA(cabinet, sizeof full, full, &name);
    if (!PathFits(length, sizeof full) || name == nullptr) {
        return std::nullopt;
    }
    std::string path(full, static_cast<std::size_t>(name - full));
    if (path.size() > 3) {
        path.pop_back();  // the separator before the cabinet's name; a drive's root keeps its own
    }
    return path;
}

}  // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner) {
    Publish("CvFolderTreeChange",
            TTVChangedEvent([this](TObject* Sender, TTreeNode* Node) { CvFolderTreeChange(Sender, Node); }));
    Publish("CvFolderTreeClick", TNotifyEvent([this](TObject* Sender) { CvFolderTreeClick(Sender); }));
    Publish("CvFolderTreeDblClick", TNotifyEvent([this](TObject* Sender) { CvFolderTreeDblClick(Sender); }));
    Publish("OkClick", TNotifyEvent([this](TObject* Sender) { OkClick(Sender); }));
    Publish("CancelClick", TNotifyEvent([this](TObject* Sender) { CancelClick(Sender); }));
    LoadLayout(Form4Layout);
    CvFolderTree = Child<TCvFolderTree>("CvFolderTree");
    Memo1 = Child<TMemo>("Memo1");
    Ok = Child<TBitBtn>("Ok");
    Cancel = Child<TBitBtn>("Cancel");
    SourceDiskPath = Child<TEdit>("SourceDiskPath");
    if (const auto sourcePath = ReadSourcePath()) {
        SourceDiskPath->SetText(*sourcePath);
    }
}

std::optional<std::string> ReadSourcePath() {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kSetupKey)) {
        return std::nullopt;
    }
    return registry.ReadString("SourcePath");
}

void TForm4::CvFolderTreeChange(TObject* /*Sender*/, TTreeNode* /*Node*/) {
    // The first selection after construction is the tree's own, or the user's first pick: either way
    // the path that came from the registry stays in the box.
    if (!TreeChangeSeen) {
        TreeChangeSeen = true;
        return;
    }
    SourceDiskPath->SetText(CvFolderTree->GetDirectory());
}

void TForm4::CvFolderTreeClick(TObject* /*Sender*/) {}

void TForm4::CvFolderTreeDblClick(TObject* /*Sender*/) {}

void TForm4::OkClick(TObject* /*Sender*/) {
    TRegistry registry;
    // The folder's text is used as it stands: a trailing backslash stays, and an empty box looks in the
    // root of the current drive. A path that Windows' file calls would refuse as too long is refused
    // like a missing file.
    char cabinet[MAX_PATH];
    const std::string& folder = SourceDiskPath->Text();
    if (!FormatPath(cabinet, sizeof cabinet, "%s\\NET8.CAB", folder.c_str()) || !CabinetThere(cabinet)) {
        MessageDlg(kSourceFilesNotFound, mtWarning, mbOK, 0);
        return;
    }
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    const auto sourcePath = FullSourcePath(folder, cabinet);
    if (sourcePath && registry.OpenKey(kSetupKey)) {
        registry.WriteString("SourcePath", *sourcePath);
    }
    Close();
    Wizard->InstallFromSource();
}

void TForm4::ShowFor(TWindows98Wizard& wizard) {
    Wizard = &wizard;
    Show();
}

void TForm4::CancelClick(TObject* /*Sender*/) {
    ExitProcess(kExitCancelled);
}
