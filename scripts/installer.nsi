; The installer of the exam program (makensis -INPUTCHARSET UTF8, defines from scripts/package.sh:
; VERSION, APP_DIR with exam.exe, exam.db and server.udl, QBANK, README, ICON, OUT_FILE).
; Programs go under Program Files; the database and server.udl into a data folder under
; ProgramData that every user may change, which is also the working folder of the shortcuts,
; because the program reads server.udl from its working folder. A reinstall keeps the database;
; the uninstaller removes it only when asked (its component page, or /DELETEDATA when silent).
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "焊工考试系统"
!define SHORTCUT "焊工考试"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QorvaneExam"

Name "${PRODUCT}（练习版）"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}（练习版）"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT}安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 Qorvane"
VIAddVersionKey /LANG=2052 "CompanyName" "Qorvane"

Var DataDir

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_COMPONENTSPAGE_TEXT_TOP "默认保留题库和答题记录。勾选“考试数据库”会把它们一并删除。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetShellVarContext all
  StrCpy $DataDir "$APPDATA\${PRODUCT}"
FunctionEnd

Section "程序" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${APP_DIR}/exam.exe"
  File "${QBANK}"
  File "/oname=readme.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; An existing database (answers, a centre's own bank) survives a reinstall.
  SetOutPath "$DataDir"
  SetOverwrite off
  File "${APP_DIR}/exam.db"
  File "${APP_DIR}/server.udl"
  SetOverwrite on
  ; Users (S-1-5-32-545) may change the database, whoever installed it.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$DataDir" /grant *S-1-5-32-545:(OI)(CI)M /T /Q'
  Pop $0
  DetailPrint "icacls: $0"

  ; The shortcuts' working folder is the output path at the time they are made: the data folder.
  SetOutPath "$DataDir"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${SHORTCUT}.lnk" "$INSTDIR\exam.exe" "" "$INSTDIR\exam.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\题库和数据文件夹.lnk" "$DataDir"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\卸载${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  CreateShortCut "$DESKTOP\${SHORTCUT}.lnk" "$INSTDIR\exam.exe" "" "$INSTDIR\exam.exe" 0

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}（练习版）"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Qorvane"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\exam.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "un.程序" SecUnProgram
  SectionIn RO
  Delete "$DESKTOP\${SHORTCUT}.lnk"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\exam.exe"
  Delete "$INSTDIR\qbank.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd

Section /o "un.考试数据库（题库和答题记录）" SecData
  Delete "$DataDir\exam.db"
  Delete "$DataDir\exam.db-journal"
  Delete "$DataDir\server.udl"
  RMDir "$DataDir"
SectionEnd

; After the sections: it selects one by its index.
Function un.onInit
  SetShellVarContext all
  StrCpy $DataDir "$APPDATA\${PRODUCT}"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DELETEDATA" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecData} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
