; Installer of ORLA-K200V for Windows, built by scripts/package with makensis.
; Built twice: without X64 a 32-bit installer of the 32-bit program, for
; Windows XP SP3 and later; with -DX64 a 64-bit installer of the 64-bit
; program, for Windows 7 SP1 and later.
; A 32-bit installer could carry both programs, but it would then need 32-bit
; Wine to be tested at all, and a 64-bit one cannot start on 32-bit Windows.
; Saved as UTF-8 with a byte-order mark: Unicode NSIS then reads the Russian
; texts as they are written here.
Unicode true
SetCompressor /SOLID lzma

; VERSION, VERSION_NUMBERS, PRODUCT, DESCRIPTION, PUBLISHER, BIN64, BIN32,
; TEMPLATE and ICON, written by scripts/package from the sources; OUTFILE
; and X64 are given on its command line.
; PUBLISHER holds quotation marks, so it is used between backquotes.
!include "${DEFINES}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"

!define FOLDER "ORLA-K200V"
!define EXE "ORLA-K200V.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ORLA-K200V"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

!ifdef X64
  Target amd64-unicode
  !define BIN "${BIN64}"
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define BIN "${BIN32}"
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${FOLDER}"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы ${PRODUCT}"
VIAddVersionKey /LANG=1049 "CompanyName" `${PUBLISHER}`
VIAddVersionKey /LANG=1049 "LegalCopyright" `${PUBLISHER}`

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Программа ${PRODUCT} ${VERSION} будет установлена на этот компьютер.$\r$\n$\r$\n\
${DESCRIPTION}.$\r$\n$\r$\nНажмите $\"Далее$\", чтобы продолжить."
!define MUI_FINISHPAGE_TITLE "Программа ${PRODUCT} установлена"
!define MUI_FINISHPAGE_TEXT "Ярлыки $\"${PRODUCT}$\" созданы в меню $\"Пуск$\" и на рабочем столе.$\r$\n$\r$\n\
Драйвер D2XX (ftd2xx.dll), через который программа связывается с прибором по USB, \
эта программа установки не устанавливает: его устанавливает программа установки драйвера \
от его изготовителя. Установите драйвер до подключения прибора.$\r$\n$\r$\n\
Архив результатов, настройки и шаблон протокола хранятся в папке %APPDATA%\${FOLDER} \
и сохраняются при удалении программы."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; The 64-bit installer registers itself where 64-bit programs are listed.
!macro REGISTRY_VIEW
  !ifdef X64
    SetRegView 64
  !else
    SetRegView default
  !endif
!macroend

; An earlier installation of the other build (or in another folder) is
; removed first. Left in place it would be a second entry in Programs and
; Features, and its uninstaller would later delete the shortcuts this
; installer makes. It goes silently under /S, else when the user agrees;
; without that the installer stops. On Windows the 32-bit build's entry sits
; in the 32-bit registry view; Wine writes it where 64-bit programs are
; listed, so both views are looked at.
Function RemoveListedInstallation
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $R0 "" done
  StrCmp $R0 $INSTDIR done
  IfSilent remove
  MessageBox MB_YESNO|MB_ICONQUESTION "Программа ${PRODUCT} уже установлена в папке $R0.$\r$\n$\r$\n\
Удалить её и установить эту версию вместо неё? Архив результатов и настройки сохранятся.$\r$\n$\r$\n\
Если нажать $\"Нет$\", установка будет отменена." IDYES remove
  Abort
  remove:
  ; _? runs the uninstaller in place, so ExecWait waits for it to finish.
  ExecWait '"$R0\${UNINSTALLER}" /S _?=$R0'
  Delete "$R0\${UNINSTALLER}"
  RMDir "$R0"
  ; An entry whose uninstaller was already gone would stay listed.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  done:
FunctionEnd

Function RemoveOtherInstallations
  ; A 32-bit Windows ignores the view and reads its one key twice.
  SetRegView 32
  Call RemoveListedInstallation
  SetRegView 64
  Call RemoveListedInstallation
  !insertmacro REGISTRY_VIEW
FunctionEnd

; The oldest Windows of each build: tests/imports checks that the program
; imports nothing newer. On an older one it would not even start ("entry
; point not found"), so the installer says so and stops before it changes
; anything; under /S it shows no box and ends with NSIS's code for an
; installation the script aborted.
!ifdef X64
  !define OLDEST_WINDOWS 7
  !define OLDEST_SERVICE_PACK 1
  !define OLDER_WINDOWS_TEXT "Для 64-разрядной программы нужна Windows 7 с пакетом обновления 1 или новее."
!else
  !define OLDEST_WINDOWS XP
  !define OLDEST_SERVICE_PACK 3
  !define OLDER_WINDOWS_TEXT "Для программы нужна Windows XP с пакетом обновления 3 или новее."
!endif
!define EXIT_ABORTED 2

Function RefuseOlderWindows
  ${If} ${AtLeastWin${OLDEST_WINDOWS}}
    ; A later Windows reports its own service packs, if any.
    ${IfNot} ${IsWin${OLDEST_WINDOWS}}
      Return
    ${EndIf}
    ${If} ${AtLeastServicePack} ${OLDEST_SERVICE_PACK}
      Return
    ${EndIf}
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "${OLDER_WINDOWS_TEXT}" /SD IDOK
  SetErrorLevel ${EXIT_ABORTED}
  Quit
FunctionEnd

Function .onInit
  Call RefuseOlderWindows
  !insertmacro REGISTRY_VIEW
  Call RemoveOtherInstallations
FunctionEnd

Function un.onInit
  !insertmacro REGISTRY_VIEW
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${BIN}\${EXE}"
  ; Copied into each user's data folder at the program's first start; that
  ; copy is the one the user edits.
  File "/oname=template.rtf" "${TEMPLATE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext all
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\${EXE}"
  CreateShortcut "${MENU_FOLDER}\Удалить ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" `${PUBLISHER}`
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, file by file. The data folder
; (archive log.dat, settings, service logs, the user's template) belongs to
; the user and is never touched; nor is anything else in the program folder,
; which is why the folder goes only when it is empty.
Section "Uninstall"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\template.rtf"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\Удалить ${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"
  Delete "$DESKTOP\${PRODUCT}.lnk"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
