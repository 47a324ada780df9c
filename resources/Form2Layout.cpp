#include "resources/Layouts.h"

namespace {

// "ＭＳ 明朝" in Shift-JIS: the window's font, used by the buttons and two of the memos.
constexpr std::string_view kMinchoFace = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
// "標楷體" in Big5: the page title's font.
constexpr std::string_view kKaiFace = "\xBC\xD0\xB7\xA2\xC5\xE9";

ControlLayout Button(std::string_view name, std::string_view left, std::string_view width,
                     std::string_view caption, std::string_view tabOrder, std::string_view onClick) {
    return ControlLayout{"TBitBtn",
                         name,
                         {{"Left", left},
                          {"Top", "378"},
                          {"Width", width},
                          {"Height", "32"},
                          {"Caption", caption},
                          {"TabOrder", tabOrder},
                          {"OnClick", onClick}}};
}

ControlLayout TextMemo(std::string_view name, std::string_view top, std::string_view height,
                       std::string_view tabOrder) {
    return ControlLayout{"TMemo",
                         name,
                         {{"Left", "185"},
                          {"Top", top},
                          {"Width", "449"},
                          {"Height", height},
                          {"BorderStyle", "bsNone"},
                          {"Color", "clInactiveBorder"},
                          {"TabOrder", tabOrder},
                          {"TabStop", "False"}}};
}

}  // namespace

const FormLayout Form2Layout{"Form2",
                             {{"Left", "204"},
                              {"Top", "115"},
                              {"Width", "652"},
                              {"Height", "437"},
                              {"AutoSize", "True"},
                              {"BorderIcons", "[biSystemMenu, biMinimize]"},
                              {"Caption", "Corvane Electronics Corp. FIR driver Installation"},
                              {"Color", "clInactiveCaptionText"},
                              {"Font.Charset", "SHIFTJIS_CHARSET"},
                              {"Font.Color", "clWindowText"},
                              {"Font.Height", "-11"},
                              {"Font.Name", kMinchoFace},
                              {"Font.Style", "[]"},
                              {"Icon", "MAINICON"},
                              {"Position", "poDesktopCenter"},
                              {"ActiveControl", "Next"},
                              {"OnCreate", "FormCreate"},
                              {"OnShow", "FormShow"},
                              {"OnCloseQuery", "FormCloseQuery"}},
                             {
                                 {"TImage",
                                  "Image1",
                                  {{"Left", "0"},
                                   {"Top", "0"},
                                   {"Width", "154"},
                                   {"Height", "327"},
                                   {"Picture", "WIZARD"},
                                   {"Stretch", "True"}}},
                                 {"TBevel",
                                  "Bevel1",
                                  {{"Left", "3"},
                                   {"Top", "361"},
                                   {"Width", "631"},
                                   {"Height", "3"},
                                   {"Shape", "bsBox"},
                                   {"Style", "bsLowered"}}},
                                 Button("Back", "266", "95", "< Back", "0", "BackClick"),
                                 Button("Next", "360", "96", "Next >", "1", "NextClick"),
                                 {"TBitBtn",
                                  "Cancel",
                                  {{"Left", "537"},
                                   {"Top", "378"},
                                   {"Width", "96"},
                                   {"Height", "32"},
                                   {"Caption", "Cancel"},
                                   {"ModalResult", "2"},
                                   {"TabOrder", "2"},
                                   {"OnClick", "CancelClick"}}},
                                 TextMemo("Memo2", "79", "62", "3"),
                                 {"TMemo",
                                  "Memo1",
                                  {{"Left", "185"},
                                   {"Top", "8"},
                                   {"Width", "459"},
                                   {"Height", "52"},
                                   {"BorderStyle", "bsNone"},
                                   {"Color", "clMenu"},
                                   {"Font.Charset", "ANSI_CHARSET"},
                                   {"Font.Color", "clWindowText"},
                                   {"Font.Height", "-33"},
                                   {"Font.Name", kKaiFace},
                                   {"Font.Style", "[fsBold, fsItalic]"},
                                   {"Lines", "Welcome!"},
                                   {"TabOrder", "4"},
                                   {"TabStop", "False"}}},
                                 TextMemo("Memo3", "150", "73", "5"),
                             }};
