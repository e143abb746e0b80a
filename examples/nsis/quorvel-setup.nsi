; Quorvel Evaluation Edition: an example installer that ships the registration step and runs it.
;
;   makensis -DREGISTER_EXE=path\to\register.exe -DLICENSE_TXT=path\to\license.txt quorvel-setup.nsi
;
; Optional: -DTARGET=amd64-unicode for a 64-bit installer (default x86-unicode), -DOUTFILE=name.exe.
; The installer must be elevated: the step stores its record under HKEY_LOCAL_MACHINE.
; Silent install: quorvel-setup.exe /S /D=C:\Some\Dir (the registration dialog still shows;
; it is the user's step). The result of the step is written to registration-result.txt in the
; installation directory: "registered" or "not registered".

Unicode true
!ifndef TARGET
    !define TARGET x86-unicode
!endif
Target ${TARGET}

!ifndef REGISTER_EXE
    !define REGISTER_EXE register.exe
!endif
!ifndef LICENSE_TXT
    !define LICENSE_TXT license.txt
!endif
!ifndef OUTFILE
    !define OUTFILE quorvel-setup.exe
!endif

!include LogicLib.nsh

Name "Quorvel Evaluation Edition"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if "${TARGET}" == "amd64-unicode"
    InstallDir "$PROGRAMFILES64\Tessarin\Quorvel"
!else
    InstallDir "$PROGRAMFILES\Tessarin\Quorvel"
!endif
ShowInstDetails show

Page directory
Page instfiles

Section "Quorvel"
    SetOutPath "$INSTDIR"
    File "/oname=register.exe" "${REGISTER_EXE}"
    ; The step reads license.txt from its working directory, which SetOutPath has made $INSTDIR.
    File "/oname=license.txt" "${LICENSE_TXT}"

    DetailPrint "Registering Quorvel Evaluation Edition..."
    ClearErrors
    ExecWait '"$INSTDIR\register.exe"' $0
    ${If} ${Errors}
        DetailPrint "The registration step could not be started."
        StrCpy $1 "not registered"
    ${ElseIf} $0 == 0
        ; The user pressed Register and the record is stored.
        DetailPrint "Registered."
        StrCpy $1 "registered"
    ${Else}
        ; 1: cancelled, closed, or the record could not be stored. Not fatal: the product
        ; runs unregistered and the user can register later.
        DetailPrint "Not registered (exit status $0)."
        StrCpy $1 "not registered"
        MessageBox MB_OK|MB_ICONINFORMATION "Quorvel is installed but not registered." /SD IDOK
    ${EndIf}

    FileOpen $2 "$INSTDIR\registration-result.txt" w
    FileWrite $2 "$1$\r$\n"
    FileClose $2
SectionEnd
