; The stockquery installer for 64-bit Windows: the staged folder into Program Files, a
; Start-menu entry and an uninstaller.
;   makensis -DSTAGE=FOLDER -DOUTFILE=FILE -DVERSION=X.Y installer.nsi
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
    RMDir /r "$SMPROGRAMS\stockquery"
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery"
SectionEnd
