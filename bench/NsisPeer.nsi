; The peer that people pick instead of a hand-made wizard: an NSIS installer of the same
; module files with the Modern UI 2 pages. It is only measured by the benchmark; nothing of
; it goes into Setup.exe.
;   makensis -DFILES=<folder of the six module files> -DRESOURCES=<resources folder>
;            -DOUT=<installer> [-DWITHOUT_FILES] NsisPeer.nsi
; WITHOUT_FILES builds the same wizard with an empty section: its size is the wizard's own,
; and its silent run is the peer's start and exit without any extraction.

Unicode true
SetCompressor zlib
RequestExecutionLevel highest

Name "Zentrova Latvian Spellchecker"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES\Zentrova"

!include "MUI2.nsh"

; The two logos of our payload: the tall one beside the welcome and finish pages, the
; small one in the header of the others.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${RESOURCES}\Logo.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${RESOURCES}\LogoSmall.bmp"
!define MUI_HEADERIMAGE_BITMAP_NOSTRETCH

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${RESOURCES}\License.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

Section
  SetOutPath "$INSTDIR\Spellcheck"
!ifndef WITHOUT_FILES
  File "${FILES}\Latvian.asc"
  File "${FILES}\hunspell.dll"
  File "${FILES}\lv_LV.dic"
  File "${FILES}\lv_LV.aff"
  File "${FILES}\userdiclv.tlx"
  File "${FILES}\Latvian.hyph"
!endif
SectionEnd
