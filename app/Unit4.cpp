#include "app/Unit4.h"

#include "app/FormatPath.h"
#include "app/Install.h"
#include "app/Unit2.h"
#include "framework/Dialogs.h"
#include "framework/Registry.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "resources/Layouts.h"

using namespace platform;

TForm4* Form4 = nullptr;

namespace {

// Where Windows keeps the folder it was installed from.
constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr std::size_t kCabinetPathSize = 400;

// Whether a file, not a folder, answers to `path`.
bool FileExists(const char* path) {
    WIN32_FIND_DATAA entry;
    HANDLE found = FindFirstFileA(path, &entry);
    if (found == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(found);
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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
    TreeChangeSeen = false;
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
    // root of the current drive. A text too long for the buffer is refused like a missing file.
    char cabinet[kCabinetPathSize];
    const std::string& folder = SourceDiskPath->Text();
    if (!FormatPath(cabinet, sizeof cabinet, "%s\\NET8.CAB", folder.c_str()) || !FileExists(cabinet)) {
        MessageDlg("OS source files can not be found!!", mtWarning, mbOK, 0);
        return;
    }
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(kSetupKey)) {
        registry.WriteString("SourcePath", folder);
    }
    Close();
    InstallForWindows98(Form2);
    // The wizard's step counter stays at the install step: its next Next, now Finish, opens the
    // restart prompt.
    Form2->ShowFinishedPage(true);
}

void TForm4::CancelClick(TObject* /*Sender*/) {
    ExitProcess(1);
}
