// The Windows 98 source location dialog: where are the Windows installation files?
#pragma once

#include <optional>
#include <string>

#include "app/Windows98Wizard.h"
#include "foldertree/Cvfoldertree.h"
#include "framework/Forms.h"

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);

    TCvFolderTree* CvFolderTree = nullptr;
    TMemo* Memo1 = nullptr;
    TBitBtn* Ok = nullptr;
    TBitBtn* Cancel = nullptr;
    TEdit* SourceDiskPath = nullptr;
    bool TreeChangeSeen = false;

    void CvFolderTreeChange(TObject* Sender, TTreeNode* Node);
    void CvFolderTreeClick(TObject* Sender);
    void CvFolderTreeDblClick(TObject* Sender);
    void OkClick(TObject* Sender);
    void CancelClick(TObject* Sender);

    // Shows the dialog for the wizard whose install its Ok completes.
    void ShowFor(TWindows98Wizard& wizard);

private:
    TWindows98Wizard* Wizard = nullptr;
};

extern TForm4* Form4;

// The folder that Windows records as the one it was installed from, which pre-fills the path box: its
// text up to the first zero, empty when the value is missing or empty; none when the setup key cannot
// be opened. A value that is not a string raises the registry layer's "Invalid data type" error.
std::optional<std::string> ReadSourcePath();
