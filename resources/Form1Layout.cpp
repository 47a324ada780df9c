#include "resources/Layouts.h"

namespace {

// The four title lines share one look: pale yellow bold italic Georgia on the blue of the window.
ControlLayout TitleLabel(std::string_view name, std::string_view left, std::string_view top,
                         std::string_view width, std::string_view caption) {
    return ControlLayout{"TLabel",
                         name,
                         {{"Left", left},
                          {"Top", top},
                          {"Width", width},
                          {"Height", "34"},
                          {"Caption", caption},
                          {"Color", "clBlue"},
                          {"Font.Charset", "ANSI_CHARSET"},
                          {"Font.Color", "clInfoBk"},
                          {"Font.Height", "-29"},
                          {"Font.Name", "Georgia"},
                          {"Font.Style", "[fsBold, fsItalic]"}}};
}

}  // namespace

const FormLayout Form1Layout{"Form1",
                             {{"Left", "206"},
                              {"Top", "115"},
                              {"Width", "544"},
                              {"Height", "375"},
                              {"Align", "alClient"},
                              {"BorderIcons", "[biSystemMenu, biMaximize]"},
                              {"Caption", "Corvane Electronics Corp. FIR driver Installation"},
                              {"Color", "clBlue"},
                              {"Font.Charset", "DEFAULT_CHARSET"},
                              {"Font.Color", "clWindowText"},
                              {"Font.Height", "-11"},
                              {"Font.Name", "MS Sans Serif"},
                              {"Font.Style", "[]"},
                              {"Icon", "MAINICON"},
                              {"OnActivate", "FormActivate"},
                              {"OnClose", "FormClose"},
                              {"OnResize", "FormResize"},
                              {"OnShow", "FormShow"}},
                             {
                                 TitleLabel("Label1", "48", "37", "407", "Corvane Electronics Corp."),
                                 TitleLabel("Label2", "118", "74", "386", "FIR driver setup program"),
                                 TitleLabel("Label3", "48", "112", "168", "Version 1.0"),
                                 TitleLabel("Label4", "48", "149", "355", "For Microsoft Windows"),
                             }};
