#include "resources/Layouts.h"

const FormLayout Form4Layout{"Form4",
                             {{"Left", "274"},
                              {"Top", "198"},
                              {"BorderIcons", "[]"},
                              {"BorderStyle", "bsSingle"},
                              {"Caption", "Corvane Electronics Corp. FIR driver Installation"},
                              {"ClientHeight", "343"},
                              {"ClientWidth", "384"},
                              {"Color", "clBtnFace"},
                              {"Font.Charset", "DEFAULT_CHARSET"},
                              {"Font.Color", "clWindowText"},
                              {"Font.Height", "-11"},
                              {"Font.Name", "MS Sans Serif"},
                              {"Font.Style", "[]"},
                              {"FormStyle", "fsStayOnTop"}},
                             {}};
