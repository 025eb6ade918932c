// The logic's copies of the Win32 numbers must equal the SDK's; a mismatch fails the build.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "platform/constants.h"

namespace platform {

// Registry
static_assert(errorSuccess == ERROR_SUCCESS, "ERROR_SUCCESS");
static_assert(errorFileNotFound == ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND");
static_assert(errorAccessDenied == ERROR_ACCESS_DENIED, "ERROR_ACCESS_DENIED");
static_assert(errorMoreData == ERROR_MORE_DATA, "ERROR_MORE_DATA");
static_assert(regSz == REG_SZ, "REG_SZ");
static_assert(regExpandSz == REG_EXPAND_SZ, "REG_EXPAND_SZ");
static_assert(regBinary == REG_BINARY, "REG_BINARY");
static_assert(regDword == REG_DWORD, "REG_DWORD");
static_assert(keyAllAccess == KEY_ALL_ACCESS, "KEY_ALL_ACCESS");
static_assert(regOptionNonVolatile == REG_OPTION_NON_VOLATILE, "REG_OPTION_NON_VOLATILE");

// Drives
static_assert(driveUnknown == DRIVE_UNKNOWN, "DRIVE_UNKNOWN");
static_assert(driveNoRootDir == DRIVE_NO_ROOT_DIR, "DRIVE_NO_ROOT_DIR");
static_assert(driveRemovable == DRIVE_REMOVABLE, "DRIVE_REMOVABLE");
static_assert(driveFixed == DRIVE_FIXED, "DRIVE_FIXED");
static_assert(driveRemote == DRIVE_REMOTE, "DRIVE_REMOTE");
static_assert(driveCdrom == DRIVE_CDROM, "DRIVE_CDROM");
static_assert(driveRamdisk == DRIVE_RAMDISK, "DRIVE_RAMDISK");

// Files
static_assert(genericRead == GENERIC_READ, "GENERIC_READ");
static_assert(genericWrite == GENERIC_WRITE, "GENERIC_WRITE");
static_assert(fileShareNone == 0, "no sharing");
static_assert(fileShareRead == FILE_SHARE_READ, "FILE_SHARE_READ");
static_assert(fileShareWrite == FILE_SHARE_WRITE, "FILE_SHARE_WRITE");
static_assert(openExisting == OPEN_EXISTING, "OPEN_EXISTING");
static_assert(fileAttributeReadonly == FILE_ATTRIBUTE_READONLY, "FILE_ATTRIBUTE_READONLY");
static_assert(fileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY, "FILE_ATTRIBUTE_DIRECTORY");
static_assert(fileAttributeNormal == FILE_ATTRIBUTE_NORMAL, "FILE_ATTRIBUTE_NORMAL");

// Messages
static_assert(wmDestroy == WM_DESTROY, "WM_DESTROY");
static_assert(wmSetText == WM_SETTEXT, "WM_SETTEXT");
static_assert(wmSetRedraw == WM_SETREDRAW, "WM_SETREDRAW");
static_assert(wmSetFont == WM_SETFONT, "WM_SETFONT");
static_assert(wmGetText == WM_GETTEXT, "WM_GETTEXT");
static_assert(wmClose == WM_CLOSE, "WM_CLOSE");
static_assert(wmQuit == WM_QUIT, "WM_QUIT");
static_assert(wmInitDialog == WM_INITDIALOG, "WM_INITDIALOG");
static_assert(wmCommand == WM_COMMAND, "WM_COMMAND");
static_assert(wmCtlColorStatic == WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC");
static_assert(wmUser == WM_USER, "WM_USER");
static_assert(bmGetCheck == BM_GETCHECK, "BM_GETCHECK");
static_assert(bmSetCheck == BM_SETCHECK, "BM_SETCHECK");
static_assert(bmClick == BM_CLICK, "BM_CLICK");
static_assert(pbmSetRange == PBM_SETRANGE, "PBM_SETRANGE");
static_assert(pbmSetPos == PBM_SETPOS, "PBM_SETPOS");
static_assert(pbmSetStep == PBM_SETSTEP, "PBM_SETSTEP");
static_assert(pbmStepIt == PBM_STEPIT, "PBM_STEPIT");

// Dialog and control IDs, message box flags and answers
static_assert(idOk == IDOK, "IDOK");
static_assert(idCancel == IDCANCEL, "IDCANCEL");
static_assert(idYes == IDYES, "IDYES");
static_assert(idNo == IDNO, "IDNO");
static_assert(mbOk == MB_OK, "MB_OK");
static_assert(mbYesNo == MB_YESNO, "MB_YESNO");
static_assert(mbIconQuestion == MB_ICONQUESTION, "MB_ICONQUESTION");
static_assert(mbIconWarning == MB_ICONWARNING, "MB_ICONWARNING");

// Window styles and class styles
static_assert(wsPopup == WS_POPUP, "WS_POPUP");
static_assert(csVRedraw == CS_VREDRAW, "CS_VREDRAW");
static_assert(csHRedraw == CS_HREDRAW, "CS_HREDRAW");
static_assert(cwUseDefault == CW_USEDEFAULT, "CW_USEDEFAULT");
static_assert(swShow == SW_SHOW, "SW_SHOW");
static_assert(swShowNormal == SW_SHOWNORMAL, "SW_SHOWNORMAL");

// GDI
static_assert(fwBold == FW_BOLD, "FW_BOLD");
static_assert(shiftJisCharset == SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET");
static_assert(antialiasedQuality == ANTIALIASED_QUALITY, "ANTIALIASED_QUALITY");
static_assert(fixedPitch == FIXED_PITCH, "FIXED_PITCH");
static_assert(transparentMode == TRANSPARENT, "TRANSPARENT");

// Shell
static_assert(csidlCommonStartMenu == CSIDL_COMMON_STARTMENU, "CSIDL_COMMON_STARTMENU");
static_assert(csidlCommonPrograms == CSIDL_COMMON_PROGRAMS, "CSIDL_COMMON_PROGRAMS");
static_assert(bifValidate == BIF_VALIDATE, "BIF_VALIDATE");
static_assert(bifEditBox == BIF_EDITBOX, "BIF_EDITBOX");
static_assert(bifStatusText == BIF_STATUSTEXT, "BIF_STATUSTEXT");
static_assert(bffmInitialized == BFFM_INITIALIZED, "BFFM_INITIALIZED");
static_assert(bffmSelChanged == BFFM_SELCHANGED, "BFFM_SELCHANGED");
static_assert(bffmValidateFailedA == BFFM_VALIDATEFAILEDA, "BFFM_VALIDATEFAILEDA");
static_assert(bffmSetSelectionA == BFFM_SETSELECTIONA, "BFFM_SETSELECTIONA");

// COM results
static_assert(sOk == S_OK, "S_OK");
static_assert(sFalse == S_FALSE, "S_FALSE");
static_assert(eUnexpected == E_UNEXPECTED, "E_UNEXPECTED");
static_assert(eOutOfMemory == E_OUTOFMEMORY, "E_OUTOFMEMORY");
static_assert(eInvalidArg == E_INVALIDARG, "E_INVALIDARG");
static_assert(eFail == E_FAIL, "E_FAIL");

}  // namespace platform
