// The Windows 98 source location dialog: where are the Windows installation files?
#pragma once

#include "foldertree/Cvfoldertree.h"
#include "framework/Forms.h"

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);

    TCvFolderTree* CvFolderTree;
    TMemo* Memo1;
    TBitBtn* Ok;
    TBitBtn* Cancel;
    TEdit* SourceDiskPath;
    bool TreeChangeSeen;

    void CvFolderTreeChange(TObject* Sender, TTreeNode* Node);
    void CvFolderTreeClick(TObject* Sender);
    void CvFolderTreeDblClick(TObject* Sender);
    void OkClick(TObject* Sender);
    void CancelClick(TObject* Sender);
};

extern TForm4* Form4;
