// The install procedures: through the Plug and Play driver update on Windows Me, 2000 and XP, by
// copying the driver's files on Windows 98.
#pragma once

class TForm2;

void InstallForWindowsMe(TForm2* wizard);
void InstallForWindows2000(TForm2* wizard);
void InstallForWindowsXp(TForm2* wizard);
void InstallForWindows98(TForm2* wizard);
// On Windows Me: the driver cabinet that the update parks, put back in its place when it is parked.
void PutBackParkedDriverCabinet();
