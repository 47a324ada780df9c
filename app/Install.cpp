// The install procedures for Windows Me, 2000 and XP.
#include "app/Unit2.h"

void InstallForWindowsMe(TForm2* /*wizard*/) {}
void InstallForWindows2000(TForm2* /*wizard*/) {}
void InstallForWindowsXp(TForm2* /*wizard*/) {}
