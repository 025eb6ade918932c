// The simulated Windows that host tests set up and inspect.
//
// Paths are Windows paths ("c:\Program Files\Quillane\x"); the files behind them live
// in a temporary host folder, one subfolder per drive letter. Backslashes are found
// DBCS-aware (code page 932), and '/' separates as well, as it does on Windows.
// Names compare case-insensitively for ASCII letters, as on Windows.
// Every seam function counts its calls, records its arguments, and can be made to fail.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

// Every operation of the seam, for fault injection and the call record.
enum class Op {
    regCreateKey, regOpenKey, regSetValue, regQueryValue, regDeleteKey, regCloseKey,
    getDriveType, getVolumeInformation, getDiskFreeSpace,
    openStream, readStream, writeStream, closeStream,
    createFile, getFileSize, getFileTime, setFileTime, closeFile,
    setFileAttributes, getFileAttributes, copyFile, deleteFile, findFirstFile, findClose,
    changeDirectory, makeDirectory, createDirectory, removeDirectory,
    getModuleFileName, createThread, waitForThread, closeThread, exitThread, sleep, timeGetTime,
    registerWindowClass, createWindow, findWindow, showWindow, defWindowProc, dialogBox,
    endDialog, getDlgItem, enableWindow, setWindowText, sendMessage, invalidateWindow, messageBox, getWorkArea,
    getWindowRect, moveWindow, peekMessage, translateMessage, dispatchMessage, postQuitMessage,
    createFont, selectObject, setTextColor, setBkColor, setBkMode, deleteObject, getNullBrush,
    getSpecialFolderPath, coInitialize, coUninitialize, createShellLink,
    shellLinkQueryPersistFile, shellLinkSetPath, shellLinkSetWorkingDirectory,
    shellLinkSetIconLocation, shellLinkSetHotkey, shellLinkSetDescription, shellLinkSetShowCmd,
    shellLinkRelease, persistFileSave, persistFileRelease, multiByteToWide, browseForFolder,
    getShellAllocator, getPathFromItemList, allocatorFree, allocatorRelease, getLongPathName,
    shellExecute,
    allocateZeroed, releaseMemory,
    count_  // number of operations
};
const char* opName(Op op);

// One recorded call: the operation, its texts and numbers in argument order.
struct Call {
    Op op;
    std::vector<std::string> texts;
    std::vector<std::uint64_t> numbers;
};

// A fresh simulated machine: empty registry, empty temporary folder, drive c: fixed with
// label "SYSTEM" and 100 GiB free, no other drive, the program at c:\Setup\Update.exe,
// a work area of 0,0,1024,768, clock at 0, no faults, no records. Call it first in a test.
void reset();
std::string hostRoot();                         // the temporary host folder
std::string hostPath(const std::string& path);  // the host file behind a Windows path

// ---- fault injection ---------------------------------------------------------------
// Make `op` fail from its `fromCall`-th call on (1 = the next call), `count` times
// (-1: for ever). Failing means the result Windows gives for a failure of that call.
void fail(Op op, int fromCall = 1, int count = 1);
// Make the k-th seam call of any kind (1-based, counted from reset) fail.
void failGlobalCall(long k);
long globalCallCount();
int callCount(Op op);
void clearFaults();

// ---- the call record ---------------------------------------------------------------
const std::vector<Call>& calls();
std::vector<Call> callsOf(Op op);
void clearCalls();

// ---- files ---------------------------------------------------------------------------
void writeFile(const std::string& path, const std::string& contents);  // makes parents
void writeFileOfSize(const std::string& path, std::uint64_t size, char fill = 'x');
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);
bool dirExists(const std::string& path);
std::uint64_t fileSize(const std::string& path);
void makeDirs(const std::string& path);
struct Times { platform::FileTime creation, lastAccess, lastWrite; };
Times fileTimes(const std::string& path);
void setFileTimes(const std::string& path, const Times& times);
std::uint32_t attributes(const std::string& path);  // 0xFFFFFFFF when missing
void setAttributes(const std::string& path, std::uint32_t attributes);
// Another process holds the file open with the given access and sharing
// (platform::genericRead etc., platform::fileShare*). Returns a token for release().
int holdOpen(const std::string& path, std::uint32_t access, std::uint32_t share);
void release(int token);
// Disk full: every stream write beyond this many more bytes (summed over all streams)
// writes nothing. Reads of `path` end after `bytes` bytes.
void limitWrites(std::uint64_t bytes);
void limitReads(const std::string& path, std::uint64_t bytes);
// A file whose reported size is this (for files of 4 GiB and more); its contents stay.
void fakeSize(const std::string& path, std::uint64_t size);
// The time new and written files get (the clock of the file system).
void setFileClock(platform::FileTime now);
std::string currentDirectory();

// ---- drives ------------------------------------------------------------------------
// A drive letter with its GetDriveTypeA kind; label nullopt: GetVolumeInformationA fails.
void setDrive(char letter, unsigned driveType, std::optional<std::string> label);
void removeDrive(char letter);
void setFreeBytes(char letter, std::uint64_t bytes);
// Roots whose kind or label the program asked for, in order ("c:\", ...).
std::vector<std::string> probedRoots();

// ---- the program -------------------------------------------------------------------
void setModulePath(const std::string& path);

// ---- registry (HKEY_LOCAL_MACHINE) -------------------------------------------------
struct Value { std::uint32_t type; std::string data; };
void setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
              const std::string& data);
void setStringValue(const std::string& keyPath, const std::string& name, const std::string& text);  // REG_SZ, with NUL
void setDwordValue(const std::string& keyPath, const std::string& name, std::uint32_t value);
std::optional<Value> value(const std::string& keyPath, const std::string& name);
bool keyExists(const std::string& keyPath);
void createKey(const std::string& keyPath);
int openKeyCount();  // keys open now

// ---- clock -------------------------------------------------------------------------
void setClock(std::uint32_t milliseconds);
void advanceClock(std::uint32_t milliseconds);
// Called on every timeGetTime(); a test can drive time from it (step the clock, request
// an abort at a given moment). Cleared by reset().
void onTimeGetTime(std::function<void()> hook);
// Called on every sleep() and on every peekMessage() that finds the queue empty.
void onIdle(std::function<void()> hook);

// ---- message boxes -----------------------------------------------------------------
struct Box {
    platform::Window owner;
    std::string text, caption;
    unsigned flags;
};
// Answers for the next boxes, in order; when they run out, a box answers IDOK
// (IDYES for MB_YESNO).
void answerBoxes(std::vector<int> answers);
std::vector<Box> boxes();  // every box shown since reset, in order

// ---- windows and dialogs -----------------------------------------------------------
// A control of a dialog template known to the sim.
struct Control {
    int id;
    std::string className;  // "button", "static", "msctls_progress32", ...
    std::string text;
};
// What dialogBox(…, templateId, …) builds: a dialog with these controls and this
// screen rectangle (before the procedure moves it).
void defineDialogTemplate(int templateId, std::vector<Control> controls, platform::Rect rect);
// Run after WM_INITDIALOG of a dialog made from templateId; it acts as the user (send
// commands with command()) and must end the dialog, or dialogBox returns -1.
void onDialog(int templateId, std::function<void(platform::Window dialog)> script);
// A dialog made directly, for calling a dialog procedure by hand.
platform::Window makeDialog(std::vector<Control> controls, platform::Rect rect);
void destroyWindow(platform::Window window);
// Send WM_COMMAND(id) to the window's procedure, as the dialog manager would.
platform::Result command(platform::Window dialog, int id, unsigned notification = 0);
void setWorkArea(platform::Rect area);
platform::Rect windowRect(platform::Window window);
std::string windowText(platform::Window window);
std::string controlText(platform::Window dialog, int id);
bool controlEnabled(platform::Window dialog, int id);
int checkState(platform::Window dialog, int id);
void setCheckState(platform::Window dialog, int id, int state);
// Messages sent with sendMessage() to a window, in order (control messages, WM_SETTEXT).
struct Sent { unsigned message; platform::WParam wParam; platform::LParam lParam; };
std::vector<Sent> sentTo(platform::Window window);
bool dialogEnded(platform::Window dialog);
platform::Result dialogResult(platform::Window dialog);
// Top-level windows that exist (class, title) and posting.
platform::Window addTopLevelWindow(const std::string& className, const std::string& title);
std::vector<platform::Window> topLevelWindows();
void postMessage(const platform::Message& message);  // to the calling thread's queue
std::optional<int> quitCode();  // the exit code of postQuitMessage, if posted

// ---- GDI ---------------------------------------------------------------------------
int liveGdiObjects();  // fonts created and not yet deleted
platform::DeviceContext makeDeviceContext();
struct DcState { platform::ColorRef textColor, bkColor; int bkMode; platform::GdiHandle font; };
DcState deviceContextState(platform::DeviceContext dc);

// ---- shell -------------------------------------------------------------------------
void setSpecialFolder(int csidl, std::optional<std::string> path);  // nullopt: unavailable
void setCoInitializeResult(platform::Status result);
struct Link {
    std::string target, workingDirectory, iconPath, description;
    int iconIndex; std::uint16_t hotkey; int showCommand;
};
std::optional<Link> link(const std::string& linkPath);  // a link file saved there
void answerBrowse(std::optional<std::string> chosenPath);  // nullopt: the user cancels
struct Executed { std::string verb, file, parameters, directory, currentDirectory; };
std::vector<Executed> executed();

// ---- threads -----------------------------------------------------------------------
// Waits until every thread made with createThread has ended.
void joinThreads();

// ---- additions for tests ---------------------------------------------------------
// The state of a progress bar (msctls_progress32): range, step and position.
struct ProgressBar { int low, high, step, position; };
ProgressBar progressBar(platform::Window bar);
int progressPosition(platform::Window bar);
// How often a window was drawn: each change of a progress bar while its redraw is
// on, and each invalidateWindow then.
int paints(platform::Window window);
// A dialog's control by ID without a seam call; nullptr when the dialog lacks it.
platform::Window control(platform::Window dialog, int id);
// The procedure of a dialog made with makeDialog, so that command(), BM_CLICK and
// dispatchMessage reach it.
void setDialogProc(platform::Window dialog, platform::DialogProc proc);
// The dialog most recently built by dialogBox from templateId; nullptr when none.
platform::Window lastDialog(int templateId);
// False once a window is destroyed (dialogBox destroys its dialog when it returns).
bool windowExists(platform::Window window);
// Whether a font made by createFont has not been deleted yet.
bool gdiObjectAlive(platform::GdiHandle object);
// Shell link objects, their IPersistFile interfaces, shell allocators and item lists
// not yet released or freed.
int liveShellObjects();
// Every folder browser shown: its window (the callback's), owner, title, flags, and the
// path the callback selected with BFFM_SETSELECTIONA (empty when none).
struct Browsed {
    platform::Window window, owner;
    std::string title;
    unsigned flags;
    std::string selection;
};
std::vector<Browsed> browses();
// The user picks an item without a file-system path (the computer, a network root):
// browseForFolder returns an item, getPathFromItemList fails for it.
void answerBrowseWithoutPath(std::string displayName);
// Before the next browser is answered, the user types this name that is no folder; the
// callback gets BFFM_VALIDATEFAILEDA when the browser has an edit box (BIF_EDITBOX).
// A callback answer of 0 closes the browser as cancelled.
void typeInvalidFolder(std::string typed);
// exitThread() ends a thread made with createThread. On any other thread it throws
// ThreadExit; runAsThread runs a thread procedure on the calling thread, as its own
// thread would, and returns its exit code (the result or exitThread's code).
struct ThreadExit { std::uint32_t code; };
std::uint32_t runAsThread(platform::ThreadProc proc, void* argument);
// Threads made with createThread that have not ended.
int runningThreads();
// Called with every seam call as it is recorded, before the call does its work and
// before its fault is decided, on the calling thread, with the sim unlocked (seam calls
// the hook makes itself do not reach it again). The call is already counted; to make
// it fail, call failGlobalCall(globalCallCount()) first thing. Cleared by reset().
void onCall(std::function<void(const Call&)> hook);
// Blocks from allocateZeroed not yet given back with releaseMemory.
int liveAllocations();

}  // namespace sim
