// The Win32 numbers the logic uses, defined once. platform/win32 checks each
// against the SDK with static_assert.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

// Registry
constexpr Status errorSuccess = 0;
constexpr Status errorFileNotFound = 2;
constexpr Status errorAccessDenied = 5;
constexpr Status errorMoreData = 234;
constexpr std::uint32_t regSz = 1;
constexpr std::uint32_t regExpandSz = 2;
constexpr std::uint32_t regBinary = 3;
constexpr std::uint32_t regDword = 4;
constexpr std::uint32_t keyAllAccess = 0xF003F;
constexpr std::uint32_t regOptionNonVolatile = 0;

// Drives (GetDriveTypeA)
constexpr unsigned driveUnknown = 0;
constexpr unsigned driveNoRootDir = 1;
constexpr unsigned driveRemovable = 2;
constexpr unsigned driveFixed = 3;
constexpr unsigned driveRemote = 4;
constexpr unsigned driveCdrom = 5;
constexpr unsigned driveRamdisk = 6;

// Files
constexpr std::uint32_t genericRead = 0x80000000u;
constexpr std::uint32_t genericWrite = 0x40000000u;
constexpr std::uint32_t fileShareNone = 0;
constexpr std::uint32_t fileShareRead = 1;
constexpr std::uint32_t fileShareWrite = 2;
constexpr std::uint32_t openExisting = 3;
constexpr std::uint32_t fileAttributeReadonly = 0x1;
constexpr std::uint32_t fileAttributeDirectory = 0x10;
constexpr std::uint32_t fileAttributeNormal = 0x80;

// Messages
constexpr unsigned wmDestroy = 0x0002;
constexpr unsigned wmSetFont = 0x0030;
constexpr unsigned wmSetText = 0x000C;
constexpr unsigned wmSetRedraw = 0x000B;
constexpr unsigned wmGetText = 0x000D;
constexpr unsigned wmClose = 0x0010;
constexpr unsigned wmQuit = 0x0012;
constexpr unsigned wmInitDialog = 0x0110;
constexpr unsigned wmCommand = 0x0111;
constexpr unsigned wmCtlColorStatic = 0x0138;
constexpr unsigned wmUser = 0x0400;
constexpr unsigned bmGetCheck = 0x00F0;
constexpr unsigned bmSetCheck = 0x00F1;
constexpr unsigned bmClick = 0x00F5;
constexpr unsigned pbmSetRange = 0x0401;
constexpr unsigned pbmSetPos = 0x0402;
constexpr unsigned pbmSetStep = 0x0404;
constexpr unsigned pbmStepIt = 0x0405;

// Dialog and control IDs, message box flags and answers
constexpr int idOk = 1;
constexpr int idCancel = 2;
constexpr int idYes = 6;
constexpr int idNo = 7;
constexpr unsigned mbOk = 0x0;
constexpr unsigned mbYesNo = 0x4;
constexpr unsigned mbIconQuestion = 0x20;
constexpr unsigned mbIconWarning = 0x30;

// Window styles and class styles
constexpr std::uint32_t wsPopup = 0x80000000u;
constexpr unsigned csVRedraw = 0x1;
constexpr unsigned csHRedraw = 0x2;
constexpr int cwUseDefault = static_cast<int>(0x80000000u);
constexpr int swShow = 5;
constexpr int swShowNormal = 1;

// GDI
constexpr int fwBold = 700;
constexpr unsigned shiftJisCharset = 128;
constexpr unsigned antialiasedQuality = 4;
constexpr unsigned fixedPitch = 1;
constexpr int transparentMode = 1;

// Shell
constexpr int csidlCommonStartMenu = 22;
constexpr int csidlCommonPrograms = 23;
constexpr unsigned bifValidate = 0x20;
constexpr unsigned bifEditBox = 0x10;
constexpr unsigned bifStatusText = 0x4;
constexpr unsigned bffmInitialized = 1;
constexpr unsigned bffmSelChanged = 2;
constexpr unsigned bffmValidateFailedA = 3;
constexpr unsigned bffmSetSelectionA = wmUser + 102;

// COM results
constexpr Status sOk = 0;
constexpr Status sFalse = 1;
constexpr Status eUnexpected = static_cast<Status>(0x8000FFFFu);
constexpr Status eOutOfMemory = static_cast<Status>(0x8007000Eu);
constexpr Status eInvalidArg = static_cast<Status>(0x80070057u);
constexpr Status eFail = static_cast<Status>(0x80004005u);

}  // namespace platform
