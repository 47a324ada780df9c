// The window layouts of cvfir: what each window looks like and which of its form's methods each event
// calls. Positions and sizes are pixels at 96 pixels per inch.
#pragma once

#include "framework/Layout.h"

extern const FormLayout Form1Layout;  // the blue background
extern const FormLayout Form2Layout;  // the setup wizard
extern const FormLayout Form3Layout;  // the restart prompt
extern const FormLayout Form4Layout;  // the Windows 98 source location dialog
