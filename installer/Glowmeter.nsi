; Glowmeter's Windows installer: puts vis_glowmeter.dll into the Plugins folder of the
; Winamp it finds, adds the sample settings when there are none yet, makes the settings
; file writable for the machine's users and registers an uninstaller.
;
; Built by CMake (installer/CMakeLists.txt), which passes what comes from the build:
;   makensis -WX -DTARGET=x86-unicode -DVERSION=1.0.3 -DVERSION_TEXT=1.03 -DPLUGIN_DLL=<dll>
;            -DSAMPLE_SETTINGS=<ini> -DOUTFILE=<exe> Glowmeter.nsi
; VERSION is the version as numbers (the file's version record), VERSION_TEXT the version
; as every text a user reads spells it, as the plug-in's own name does ("Glowmeter v1.03").
; TARGET is x86-unicode for the installer that ships (Winamp is 32-bit) and amd64-unicode
; for the one the tests run (the test machines run no 32-bit code): one script, same logic.
;
; Exit codes, for silent installs (/S, /D=<Winamp folder>):
;   0  installed (or uninstalled)
;   1  cancelled by the user
;   2  the folder holds no winamp.exe (none found, or /D named another folder), or a file
;      could not be written
;   3  Winamp is running
;   4  installed, but the settings file could not be made writable for the users
;   5  uninstall: the plug-in could not be removed (a program still holds it)

!ifndef TARGET | VERSION | VERSION_TEXT | PLUGIN_DLL | SAMPLE_SETTINGS | OUTFILE
  !error "TARGET, VERSION, VERSION_TEXT, PLUGIN_DLL, SAMPLE_SETTINGS and OUTFILE are given by the build"
!endif

Target ${TARGET}
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define PUBLISHER "Glowmeter contributors"
!define PLUGIN_FILE "vis_glowmeter.dll"
!define SETTINGS_FILE "vis_glowmeter.ini"
!define UNINSTALLER_FILE "Uninstall Glowmeter.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glowmeter"
!define WINAMP_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
; The class of Winamp's main window, which exists for as long as Winamp runs.
!define WINAMP_WINDOW_CLASS "Winamp v1.x"
; The built-in group of the machine's users (BUILTIN\Users), named by its SID so that the
; grant works in every language of Windows.
!define USERS_SID "*S-1-5-32-545"

!define EXIT_NOT_WINAMP 2
!define EXIT_WINAMP_RUNNING 3
!define EXIT_SETTINGS_NOT_WRITABLE 4
!define EXIT_PLUGIN_IN_USE 5

Name "Glowmeter ${VERSION_TEXT}"
OutFile "${OUTFILE}"
BrandingText "Glowmeter ${VERSION_TEXT}"
; The Plugins folder of a per-machine Winamp and the uninstall entry need an administrator.
RequestExecutionLevel admin
; A plug-in file that cannot be written (held open) stops the install instead of being
; skipped: a skipped file would leave the old plug-in behind an install reported as done.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Glowmeter"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileDescription" "Glowmeter ${VERSION_TEXT} setup (Winamp visualization plug-in)"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup installs the Glowmeter visualization plug-in into the Plugins folder of the Winamp in the folder below, the folder that holds winamp.exe. To install into another Winamp, choose its folder."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Winamp folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseFolderWithoutWinamp
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Winamp holds the plug-in open while it runs: ask the user to close it (Retry) or give up
; (Cancel, and the answer of a silent run) before anything is changed.
!macro RefuseWhileWinampRuns
  ${Do}
    FindWindow $0 "${WINAMP_WINDOW_CLASS}"
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Winamp is running. Close Winamp, then press Retry." /SD IDCANCEL IDCANCEL`
      SetErrorLevel ${EXIT_WINAMP_RUNNING}
      Quit
    ${EndIf}
  ${Loop}
!macroend

; $0: a folder name as the registry holds it. Out: $0 without a trailing backslash.
Function TrimFolder
  StrCpy $1 $0 "" -1
  ${If} $1 == "\"
    StrCpy $0 $0 -1
  ${EndIf}
FunctionEnd

; $0: a command line. Out: $0, its program: the text inside the leading double quotes, or
; the whole line when it does not start with one.
Function ProgramOfCommandLine
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
FunctionEnd

; Out: $INSTDIR, the first of these folders that holds winamp.exe: the one Winamp records
; for its user, the folder of Winamp's uninstaller (Winamp is a 32-bit program, so its
; entry is in the 32-bit view), Winamp's default folder. When none holds it, the default
; folder, for the user to correct on the directory page.
Function FindWinamp
  ReadRegStr $0 HKCU "Software\Winamp" ""
  Call TrimFolder
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\winamp.exe"
    StrCpy $INSTDIR $0
    Return
  ${EndIf}

  SetRegView 32
  ReadRegStr $0 HKLM "${WINAMP_UNINSTALL_KEY}" "UninstallString"
  SetRegView default
  Call ProgramOfCommandLine
  ${If} $0 != ""
    ${GetParent} $0 $0
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\winamp.exe"
      StrCpy $INSTDIR $0
      Return
    ${EndIf}
  ${EndIf}

  ; Winamp's default folder: Program Files (x86) on 64-bit Windows, else Program Files.
  ReadEnvStr $0 "ProgramFiles(x86)"
  ${IfThen} $0 == "" ${|} StrCpy $0 $PROGRAMFILES ${|}
  StrCpy $INSTDIR "$0\Winamp"
FunctionEnd

Function .onInit
  !insertmacro RefuseWhileWinampRuns
  ; /D=<folder> sets $INSTDIR before this runs; otherwise it is empty.
  ${If} $INSTDIR == ""
    Call FindWinamp
  ${EndIf}
  ; A silent install shows no directory page, so the folder is checked here, before
  ; anything is written.
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\winamp.exe"
    SetErrorLevel ${EXIT_NOT_WINAMP}
    Quit
  ${EndIf}
FunctionEnd

Function RefuseFolderWithoutWinamp
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_OK|MB_ICONEXCLAMATION "This folder does not hold winamp.exe:$\r$\n$INSTDIR$\r$\n$\r$\nChoose the folder Winamp is installed in."
    Abort
  ${EndIf}
FunctionEnd

Section "Glowmeter"
  ; Winamp may have been started while the pages were shown.
  !insertmacro RefuseWhileWinampRuns

  SetOutPath "$INSTDIR\Plugins"
  File "/oname=${PLUGIN_FILE}" "${PLUGIN_DLL}"
  ; The user's settings (which lights, which channel) are never overwritten.
  ${IfNot} ${FileExists} "$INSTDIR\Plugins\${SETTINGS_FILE}"
    File "/oname=${SETTINGS_FILE}" "${SAMPLE_SETTINGS}"
  ${EndIf}

  ; Winamp runs without elevation and the plug-in saves its settings beside its DLL, which
  ; in Program Files only administrators may change: the users get Modify on that one
  ; file, added to what it already grants.
  nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\Plugins\${SETTINGS_FILE}" /grant ${USERS_SID}:(M)'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The settings file could not be made writable for the users (icacls: $0)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Glowmeter is installed, but its settings file could not be made writable for the users of this computer:$\r$\n$INSTDIR\Plugins\${SETTINGS_FILE}$\r$\n$\r$\nSaving the settings may fail with $\"Save config error.$\" until a user may change that file." /SD IDOK
    SetErrorLevel ${EXIT_SETTINGS_NOT_WRITABLE}
  ${EndIf}

  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER_FILE}"
  SectionGetSize 0 $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Glowmeter (Winamp visualization plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Plugins\${UNINSTALLER_FILE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER_FILE}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER_FILE}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The uninstaller sits in the Plugins folder: $INSTDIR is that folder.
Function un.onInit
  !insertmacro RefuseWhileWinampRuns
FunctionEnd

Section "Uninstall"
  !insertmacro RefuseWhileWinampRuns

  ; A plug-in that cannot be removed stops here, with the uninstall entry kept, so that
  ; the uninstall can be run again once the program holding it has ended.
  ${If} ${FileExists} "$INSTDIR\${PLUGIN_FILE}"
    ClearErrors
    Delete "$INSTDIR\${PLUGIN_FILE}"
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "The plug-in could not be removed, a program still uses it:$\r$\n$INSTDIR\${PLUGIN_FILE}$\r$\n$\r$\nClose it and run the uninstall again." /SD IDOK
      SetErrorLevel ${EXIT_PLUGIN_IN_USE}
      Quit
    ${EndIf}
  ${EndIf}

  ; The settings hold the user's lights: kept unless the user asks (a silent run keeps them).
  ${If} ${FileExists} "$INSTDIR\${SETTINGS_FILE}"
  ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove Glowmeter's settings too (the lights and channels you chose)?$\r$\n$INSTDIR\${SETTINGS_FILE}" /SD IDNO IDYES`
    Delete "$INSTDIR\${SETTINGS_FILE}"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Last, so that a waiting caller sees the uninstall done once this file is gone.
  Delete "$INSTDIR\${UNINSTALLER_FILE}"
SectionEnd
