; The stockquery installer for 64-bit Windows: the staged folder into Program Files, a
; Start-menu entry and an uninstaller that removes exactly what was installed (UNINSTALL lists
; the staged files and folders as Delete and RMDir lines), so that a folder chosen by the user
; keeps whatever else it holds.
;   makensis -DSTAGE=FOLDER -DUNINSTALL=FILE -DOUTFILE=FILE -DVERSION=X.Y installer.nsi
Unicode true
Target amd64-unicode
!include "x64.nsh"

Name "stockquery ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\stockquery"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "stockquery"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\stockquery"
    CreateShortcut "$SMPROGRAMS\stockquery\现存量查询.lnk" "$INSTDIR\stockquery.exe"
    CreateShortcut "$SMPROGRAMS\stockquery\卸载 stockquery.lnk" "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery" \
        "DisplayName" "stockquery"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery" \
        "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
SectionEnd

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\stockquery\现存量查询.lnk"
    Delete "$SMPROGRAMS\stockquery\卸载 stockquery.lnk"
    RMDir "$SMPROGRAMS\stockquery"
    !include "${UNINSTALL}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery"
SectionEnd
