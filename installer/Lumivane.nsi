; The per-user installer of Lumivane, built on Linux with makensis.
;
; NSIS rather than an MSI from wixl: the installer has to ask two things of the
; user (whether Lumivane becomes the current screensaver, and at uninstall time
; whether "Lumivane.ini" goes too), run silently with switches, and carry its own
; uninstaller. NSIS does all of that in one script with its stock pages, while
; wixl builds no dialogs and no custom actions, so an MSI could not ask either
; question.
;
; Everything goes under the user's own profile and HKCU, so no administrator
; rights are needed: the program folder must stay writable for the user because
; the settings file is written beside the program.
;
; Defines (makensis -D...):
;   SCR      the built Lumivane.scr (required)
;   OUTFILE  the installer to write (required)
;   VERSION  the product version, three numbers (default 1.6.0)
;
; Switches of the installer: /S silent, /D=<folder> another folder (last on the
; line), /NOSCREENSAVER leave the current screensaver as it is.
; Switches of the uninstaller: /S silent (keeps "Lumivane.ini"), /REMOVESETTINGS
; deletes "Lumivane.ini" too without asking.

; Lumivane.scr is a 64-bit program, so the installer is one too: it then runs
; where the program runs, Wine without its 32-bit part included.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef SCR
    !error "makensis -DSCR=<path of Lumivane.scr> is required"
!endif
!ifndef OUTFILE
    !error "makensis -DOUTFILE=<installer path> is required"
!endif
!ifndef VERSION
    !define VERSION "1.6.0"
!endif

!define PRODUCT "Lumivane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS "Lumivane.ini"
; The saver's memory of the no-repeat round; it goes with the settings.
!define ROUND "LumivaneRound.ini"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; A folder chosen at the last install is offered again, so an update lands beside
; the user's settings.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT} Standard"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Lumivane developers"

!define MUI_ICON "${__FILEDIR__}\..\res\Lumivane.ico"
!define MUI_UNICON "${__FILEDIR__}\..\res\Lumivane.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Lumivane screensaver" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=Lumivane.scr" "${SCR}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The ${PRODUCT} developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumivane.scr"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/M=Lumivane.scr /S=0K /G=0" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; What Windows' own Install verb of a screensaver does: the short form of the path
; into SCRNSAVE.EXE, and the screensaver switched on.
Section "Use Lumivane as the screensaver" SecActivate
    GetFullPathName /SHORT $0 "$INSTDIR\Lumivane.scr"
    ${If} $0 == ""
        StrCpy $0 "$INSTDIR\Lumivane.scr"
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
    ; SPI_SETSCREENSAVEACTIVE with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE, so a running
    ; session picks the change up without a new logon.
    System::Call "user32::SystemParametersInfo(i 17, i 1, p 0, i 3)"
SectionEnd

Function .onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/NOSCREENSAVER" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecActivate}
    ${EndIf}
FunctionEnd

; Removes SCRNSAVE.EXE only when it still names this copy, in either form: a
; screensaver the user picked since then stays.
Function un.ForgetScreensaver
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCmp $0 "" done
    GetFullPathName /SHORT $1 "$INSTDIR\Lumivane.scr"
    StrCmp $0 $1 forget
    StrCmp $0 "$INSTDIR\Lumivane.scr" forget done
forget:
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
done:
FunctionEnd

Section "Uninstall"
    Call un.ForgetScreensaver
    Delete "$INSTDIR\Lumivane.scr"
    Delete "$INSTDIR\Uninstall.exe"

    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        Delete "$INSTDIR\${SETTINGS}"
        Delete "$INSTDIR\${ROUND}"
    ${ElseIf} ${FileExists} "$INSTDIR\${SETTINGS}"
        ; Silent uninstalls keep the settings: a reinstall then finds the lists again.
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "Also delete your Lumivane settings (the lists of screensavers and movies in ${SETTINGS})?" \
            /SD IDNO IDNO keep
        Delete "$INSTDIR\${SETTINGS}"
        Delete "$INSTDIR\${ROUND}"
    keep:
    ${EndIf}

    ; Not /r: files the user put here (or the kept settings) stay, and so does the folder.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
