; The stockquery installer for 64-bit Windows, in Simplified Chinese or English: the staged
; folder into Program Files, a Start-menu entry, an entry in Programs and Features, and an
; uninstaller that removes exactly what was installed (UNINSTALL lists the staged files and
; folders as Delete and RMDir lines), so that a folder chosen by the user keeps whatever else
; it holds. The stored connection (it holds the password) and the demo database stay unless
; the user ticks them on the uninstaller's components page, or gives /REMOVEDATA silently.
;   makensis -DSTAGE=FOLDER -DUNINSTALL=FILE -DOUTFILE=FILE -DVERSION=X.Y -DSIZE_KB=N
;            -DICON=FILE -DLICENCES=FOLDER [-DSIGN=sign.sh] installer.nsi
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery"
; Where the program keeps its connection, and beside it the export dialog's last folder and
; file type: the 32-bit view of the machine's settings.
!define CONNECTION_KEY "SOFTWARE\QARVO\TOLMA\DBLinkInfo"
!define EXPORT_KEY "SOFTWARE\QARVO\TOLMA\Export"
!define LAYOUT_KEY "SOFTWARE\QARVO\TOLMA\Layout"

Name "stockquery ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\stockquery"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!ifdef SIGN
!uninstfinalize '"${SIGN}" "%1"' = 0
!endif

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "stockquery"
VIAddVersionKey /LANG=0 "CompanyName" "stockquery"
VIAddVersionKey /LANG=0 "FileDescription" "stockquery 安装程序"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "stockquery developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_FINISHPAGE_RUN "$INSTDIR\stockquery.exe"

; The program's own licence first, then the libraries'.
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_LICENSE "${LICENCES}\README.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString MenuEntry ${LANG_SIMPCHINESE} "现存量查询"
LangString MenuEntry ${LANG_ENGLISH} "Stock query"
LangString UninstallEntry ${LANG_SIMPCHINESE} "卸载 stockquery"
LangString UninstallEntry ${LANG_ENGLISH} "Uninstall stockquery"
LangString ProgramSection ${LANG_SIMPCHINESE} "程序文件"
LangString ProgramSection ${LANG_ENGLISH} "Program files"
LangString ConnectionSection ${LANG_SIMPCHINESE} "保存的数据库连接（含密码）"
LangString ConnectionSection ${LANG_ENGLISH} "The stored database connection (holds the password)"
LangString DemoSection ${LANG_SIMPCHINESE} "演示数据库"
LangString DemoSection ${LANG_ENGLISH} "The demo database"
LangString ProgramDescription ${LANG_SIMPCHINESE} "删除安装的程序文件和开始菜单项。"
LangString ProgramDescription ${LANG_ENGLISH} "Removes the installed program files and Start-menu entries."
LangString ConnectionDescription ${LANG_SIMPCHINESE} "同时删除保存的服务器、数据库、用户名和密码。不勾选则保留，重新安装后仍可使用。"
LangString ConnectionDescription ${LANG_ENGLISH} "Also removes the stored server, database, user and password. Left unticked, they stay for a later installation."
LangString DemoDescription ${LANG_SIMPCHINESE} "同时删除当前用户的演示数据库（本地应用数据中的 stockquery 文件夹）。"
LangString DemoDescription ${LANG_ENGLISH} "Also removes the current user's demo database (stockquery in the local application data)."

Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "stockquery"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\stockquery"
    CreateShortcut "$SMPROGRAMS\stockquery\$(MenuEntry).lnk" "$INSTDIR\stockquery.exe"
    CreateShortcut "$SMPROGRAMS\stockquery\$(UninstallEntry).lnk" "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "stockquery 现存量查询"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "stockquery"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\stockquery.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "un.$(ProgramSection)" ProgramFiles
    SectionIn RO
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\stockquery\*.lnk"
    RMDir "$SMPROGRAMS\stockquery"
    !include "${UNINSTALL}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(ConnectionSection)" StoredConnection
    SetRegView 32
    DeleteRegKey HKLM "${CONNECTION_KEY}"
    DeleteRegKey HKLM "${EXPORT_KEY}"
    DeleteRegKey HKLM "${LAYOUT_KEY}"
SectionEnd

Section /o "un.$(DemoSection)" DemoDatabase
    SetShellVarContext current
    Delete "$LOCALAPPDATA\stockquery\demo-erp.sqlite"
    RMDir "$LOCALAPPDATA\stockquery"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${ProgramFiles} $(ProgramDescription)
    !insertmacro MUI_DESCRIPTION_TEXT ${StoredConnection} $(ConnectionDescription)
    !insertmacro MUI_DESCRIPTION_TEXT ${DemoDatabase} $(DemoDescription)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
    !insertmacro MUI_UNGETLANGUAGE
    ; /REMOVEDATA: a silent uninstall that also removes the stored connection and the demo
    ; database.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${StoredConnection} ${SF_SELECTED}
        SectionSetFlags ${DemoDatabase} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
