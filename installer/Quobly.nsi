; Quobly's Windows installer. Built by tools/package.sh, which passes:
;   ARCH     x64 or x86: the architecture of the programs and the installer
;   VERSION  the product version (the build's project version)
;   BIN      the folder of the built programs
;   ICON     the soundboard's icon
;   DEMO     an .nsh file listing the demo library's sounds (InstallRecorded lines)
;   OUTFILE  the installer to write
;
; Silent use: Quobly-Setup-<version>-<arch>.exe /S [/DEMO] [/D=<folder>]
; (/DEMO adds the demo library; /D= comes last and takes the rest of the line).
;
; The 64-bit installer installs under $PROGRAMFILES64 and writes its
; uninstall key into the registry's 64-bit view, the 32-bit one under
; $PROGRAMFILES and into the 32-bit view. Either refuses while the other's
; install is there: both would share the start-menu folder and the desktop
; shortcut.
;
; Besides the files it writes the install record pvUninstall.dat beside the
; uninstaller, in per-item mode: one file entry for each file this install
; laid down, with the folder chosen here; then what it made for the user to
; fill, each to go only as the user leaves it: the category folders when
; empty, the binding file while it holds no binding, and last the program
; folder when empty (the uninstaller's self-deletion batch removes it once
; the uninstaller itself is gone). Sounds and bindings a user added stay,
; with the folders that hold them.

!macro Require NAME
  !ifndef ${NAME}
    !error "pass /D${NAME}= (tools/package.sh does)"
  !endif
!macroend
!insertmacro Require ARCH

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define BITS 64
  !define OTHER_BITS 32
!else if "${ARCH}" == "x86"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define BITS 32
  !define OTHER_BITS 64
!else
  !error "ARCH is x64 or x86"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh

!insertmacro Require VERSION
!insertmacro Require BIN
!insertmacro Require ICON
!insertmacro Require DEMO
!insertmacro Require OUTFILE

!define PRODUCT_NAME "Quobly 音效板"
!define PUBLISHER "Quobly"
!define REG_KEY "Quobly"
!define MENU_FOLDER "Quobly"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${REG_KEY}"
!define BINDING_FILE "音效配置.ini"
!define CATEGORY_1 "主持音效"
!define CATEGORY_2 "喊麦音效"
!define CATEGORY_3 "搞笑音效"
!define RECORD_FILE "pvUninstall.dat"
; A record entry holds a path of at most 259 characters: the folder leaves
; room for the longest name below it (category folder and demo sound).
!define MAX_INSTDIR_LENGTH 200
; Offset of the item count in the record: right after its 760-byte header.
!define RECORD_COUNT_OFFSET 760
; Kinds of record entries: a file; a folder this install made, removed only
; when empty; the binding file, removed only while it holds no binding.
!define KIND_FILE 1
!define KIND_FOLDER_IF_EMPTY 2
!define KIND_SETTINGS_IF_EMPTY 3

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Quobly"
BrandingText "${PRODUCT_NAME} ${VERSION}"
ShowInstDetails show

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Quobly"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Quobly installer"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "Copyright (C) Quobly"

Var Record              ; handle of the install record while the sections run
Var RecordCount         ; entries written to it so far
Var MadeProgramFolder   ; 1 when an install of ours made the program folder

; Writes a text field of the record: UTF-16LE, cut to leave room for the
; terminator, zero-padded to its fixed size.
; Stack in: text, then its field size in UTF-16 units (pushed last).
Function WriteRecordText
  Exch $R2
  Exch
  Exch $R1
  Push $R3
  IntOp $R3 $R2 - 1
  StrCpy $R1 $R1 $R3
  FileWriteUTF16LE $Record $R1
  StrLen $R3 $R1
  ${While} $R3 < $R2
    FileWriteWord $Record 0
    IntOp $R3 $R3 + 1
  ${EndWhile}
  Pop $R3
  Pop $R1
  Pop $R2
FunctionEnd

!macro RecordText TEXT UNITS
  Push "${TEXT}"
  Push ${UNITS}
  Call WriteRecordText
!macroend

; One entry of the record. Stack in: full path, then its kind (pushed last).
Function RecordEntry
  Exch $R2
  Exch
  Exch $R1
  FileWriteWord $Record $R2
  FileWriteWord $Record 0
  !insertmacro RecordText $R1 260
  IntOp $RecordCount $RecordCount + 1
  Pop $R1
  Pop $R2
FunctionEnd

!macro Record KIND PATH
  Push "${PATH}"
  Push ${KIND}
  Call RecordEntry
!macroend

; Installs SOURCE as NAME in the current output folder and records it.
!macro InstallRecorded SOURCE NAME
  File "/oname=${NAME}" "${SOURCE}"
  !insertmacro Record ${KIND_FILE} "$OUTDIR\${NAME}"
!macroend

; Refuses a folder whose files' paths would not fit the record.
Function .onVerifyInstDir
  StrLen $0 $INSTDIR
  ${If} $0 > ${MAX_INSTDIR_LENGTH}
    Abort
  ${EndIf}
FunctionEnd

Section "Quobly 音效板" SecProgram
  SectionIn RO
  ; A silent install never sees the folder page and its check.
  StrLen $0 $INSTDIR
  ${If} $0 > ${MAX_INSTDIR_LENGTH}
    MessageBox MB_ICONSTOP|MB_OK "安装路径过长 (最多 ${MAX_INSTDIR_LENGTH} 个字符): $INSTDIR" /SD IDOK
    Abort
  ${EndIf}

  ; A folder the user had before stays on uninstall; one an install of ours
  ; made (it holds our record) goes once empty.
  StrCpy $MadeProgramFolder 1
  ${If} ${FileExists} "$INSTDIR\*.*"
  ${AndIfNot} ${FileExists} "$INSTDIR\${RECORD_FILE}"
    StrCpy $MadeProgramFolder 0
  ${EndIf}

  SetOutPath "$INSTDIR"
  ClearErrors
  FileOpen $Record "$INSTDIR\${RECORD_FILE}" w
  ${If} ${Errors}
    MessageBox MB_ICONSTOP|MB_OK "无法写入 $INSTDIR\${RECORD_FILE}" /SD IDOK
    Abort
  ${EndIf}
  ; Header: uninstall key, product name, start-menu folder, and an empty
  ; install folder (per-item mode); then the item count, written last.
  !insertmacro RecordText "${REG_KEY}" 100
  !insertmacro RecordText "${PRODUCT_NAME}" 50
  !insertmacro RecordText "${MENU_FOLDER}" 30
  !insertmacro RecordText "" 200
  FileWriteWord $Record 0
  FileWriteWord $Record 0
  StrCpy $RecordCount 0

  !insertmacro InstallRecorded "${BIN}\Quobly.exe" "Quobly.exe"
  !insertmacro InstallRecorded "${BIN}\bass.dll" "bass.dll"
  !insertmacro InstallRecorded "${BIN}\pvUninstall.exe" "pvUninstall.exe"
  !insertmacro Record ${KIND_FILE} "$INSTDIR\${RECORD_FILE}"

  ; The category folders hold the user's library: recorded at the end, to go
  ; only when empty.
  CreateDirectory "$INSTDIR\${CATEGORY_1}"
  CreateDirectory "$INSTDIR\${CATEGORY_2}"
  CreateDirectory "$INSTDIR\${CATEGORY_3}"

  ; The one file a standard user must be able to change under Program
  ; Files: created empty when missing (an update keeps the user's bindings)
  ; and opened to BUILTIN\Users for reading and writing, no more.
  IfFileExists "$INSTDIR\${BINDING_FILE}" +3
    FileOpen $0 "$INSTDIR\${BINDING_FILE}" w
    FileClose $0
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\${BINDING_FILE}" /grant *S-1-5-32-545:(R,W)'
  Pop $0

  ; Where the uninstaller looks for them: the start-menu folder under the
  ; current user's Programs folder, the shortcut on the common desktop.
  SetOutPath "$INSTDIR"
  SetShellVarContext current
  CreateDirectory "$SMPROGRAMS\${MENU_FOLDER}"
  CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\${PRODUCT_NAME}.lnk" "$INSTDIR\Quobly.exe"
  CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\卸载 ${PRODUCT_NAME}.lnk" "$INSTDIR\pvUninstall.exe"
  SetShellVarContext all
  CreateShortCut "$DESKTOP\${PRODUCT_NAME}.lnk" "$INSTDIR\Quobly.exe"
SectionEnd

Section /o "示例音效库" SecDemo
  !include /CHARSET=UTF8 "${DEMO}"
SectionEnd

Section "-Finish"
  ; What this install made for the user to fill, after the demo sounds in
  ; it: the uninstall removes the folders after what they hold, the program
  ; folder last.
  !insertmacro Record ${KIND_FOLDER_IF_EMPTY} "$INSTDIR\${CATEGORY_1}\"
  !insertmacro Record ${KIND_FOLDER_IF_EMPTY} "$INSTDIR\${CATEGORY_2}\"
  !insertmacro Record ${KIND_FOLDER_IF_EMPTY} "$INSTDIR\${CATEGORY_3}\"
  !insertmacro Record ${KIND_SETTINGS_IF_EMPTY} "$INSTDIR\${BINDING_FILE}"
  ${If} $MadeProgramFolder == 1
    !insertmacro Record ${KIND_FOLDER_IF_EMPTY} "$INSTDIR\"
  ${EndIf}
  FileSeek $Record ${RECORD_COUNT_OFFSET} SET
  FileWriteWord $Record $RecordCount
  FileWriteWord $Record 0
  FileClose $Record

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quobly.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\pvUninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Ends the installer, saying why (silently only with exit code 2), when the
; other architecture's install is there: found by its uninstall key in the
; other registry view.
Function RefuseOtherArchitecture
  !if ${BITS} == 32
    ${IfNot} ${RunningX64}
      Return  ; 32-bit Windows has one view only
    ${EndIf}
  !endif
  SetRegView ${OTHER_BITS}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  SetRegView ${BITS}
  ${If} $0 != ""
    MessageBox MB_ICONSTOP|MB_OK "本机已安装 ${OTHER_BITS} 位的 ${PRODUCT_NAME} ($1)。两者会共用开始菜单文件夹和桌面快捷方式，请先卸载它，再安装 ${BITS} 位版本。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; After the sections: it selects one by its index.
Function .onInit
  SetRegView ${BITS}
  Call RefuseOtherArchitecture

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DEMO" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecDemo}
  ${EndIf}
FunctionEnd
