; The installer that a vendor would make instead of cvfir.exe, for `make bench` to time cvfir.exe
; against: an NSIS Modern UI wizard of three pages (welcome, install files, finish) that installs the
; Windows XP driver files of the sample disk. scripts/bench.sh builds it:
;   makensis -DOUTFILE=FILE -DDISK=DIR tests/bench/wizard.nsi
; and waits, as for cvfir.exe, until its welcome page shows: the window titled "Corvane FIR driver Setup"
; with its button "&Install" (the next page installs the files).
!include "MUI2.nsh"

Name "Corvane FIR driver"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Corvane\FIR driver"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

Section "Driver"
    SetOutPath "$INSTDIR"
    File "${DISK}/setup.dat"
    File "${DISK}/winxp/cvfirdma.inf"
SectionEnd
