#include "resources/Layouts.h"

namespace {

// "ＭＳ Ｐゴシック" in Shift-JIS.
constexpr std::string_view kGothicFace = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

}  // namespace

const FormLayout Form3Layout{"Form3",
                             {{"Left", "299"},
                              {"Top", "214"},
                              {"Width", "349"},
                              {"Height", "155"},
                              {"AutoSize", "True"},
                              {"BorderIcons", "[biSystemMenu]"},
                              {"Caption", "Install"},
                              {"Color", "clBtnFace"},
                              {"Font.Charset", "SHIFTJIS_CHARSET"},
                              {"Font.Color", "clWindowText"},
                              {"Font.Height", "-12"},
                              {"Font.Name", kGothicFace},
                              {"Font.Style", "[]"},
                              {"FormStyle", "fsStayOnTop"},
                              {"Icon", "MAINICON"},
                              {"Position", "poDesktopCenter"},
                              {"OnClose", "FormClose"}},
                             {
                                 {"TMemo",
                                  "Memo1",
                                  {{"Left", "0"},
                                   {"Top", "0"},
                                   {"Width", "341"},
                                   {"Height", "71"},
                                   {"BorderStyle", "bsNone"},
                                   {"Color", "clMenu"},
                                   {"TabOrder", "0"}}},
                                 {"TBitBtn",
                                  "OK",
                                  {{"Left", "30"},
                                   {"Top", "95"},
                                   {"Width", "94"},
                                   {"Height", "33"},
                                   {"Caption", "Restart"},
                                   {"TabOrder", "1"},
                                   {"OnClick", "OKClick"}}},
                                 {"TBitBtn",
                                  "Cancel",
                                  {{"Left", "230"},
                                   {"Top", "95"},
                                   {"Width", "94"},
                                   {"Height", "33"},
                                   {"Caption", "Cancel"},
                                   {"TabOrder", "2"},
                                   {"OnClick", "CancelClick"}}},
                             }};
