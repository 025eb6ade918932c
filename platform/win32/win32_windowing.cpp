// Windows, dialogs, controls, message boxes, the message queue and GDI.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/windowing.h"

namespace platform {

// The seam's procedures are called by USER32 directly, so their arguments and results
// must have the SDK's widths.
static_assert(sizeof(WParam) == sizeof(WPARAM), "WParam is a WPARAM");
static_assert(sizeof(LParam) == sizeof(LPARAM), "LParam is an LPARAM");
static_assert(sizeof(Result) == sizeof(LRESULT), "Result is an LRESULT");
static_assert(sizeof(Result) == sizeof(INT_PTR), "Result is a dialog's INT_PTR");
static_assert(sizeof(unsigned) == sizeof(UINT), "messages are UINTs");
static_assert(sizeof(ColorRef) == sizeof(COLORREF), "ColorRef is a COLORREF");

namespace {

HWND toHwnd(Window window) { return reinterpret_cast<HWND>(window); }
Window toWindow(HWND window) { return reinterpret_cast<Window>(window); }
HINSTANCE toHinstance(Instance instance) { return reinterpret_cast<HINSTANCE>(instance); }
HDC toHdc(DeviceContext dc) { return reinterpret_cast<HDC>(dc); }
HGDIOBJ toGdi(GdiHandle object) { return reinterpret_cast<HGDIOBJ>(object); }
GdiHandle fromGdi(HGDIOBJ object) { return reinterpret_cast<GdiHandle>(object); }

Rect fromRect(const RECT& r) {
    Rect out;
    out.left = r.left;
    out.top = r.top;
    out.right = r.right;
    out.bottom = r.bottom;
    return out;
}

MSG toMsg(const Message& message) {
    MSG msg{};  // time and point are not carried by the seam
    msg.hwnd = toHwnd(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    return msg;
}

}  // namespace

bool registerWindowClass(const WindowClass& windowClass) {
    WNDCLASSA wc{};
    wc.style = windowClass.style;
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(windowClass.proc);
    wc.hInstance = toHinstance(windowClass.instance);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(windowClass.iconResource));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = windowClass.className;
    return RegisterClassA(&wc) != 0;
}

Window createWindow(std::uint32_t exStyle, const char* className, const char* title,
                    std::uint32_t style, int x, int y, int width, int height, Window parent,
                    Instance instance) {
    return toWindow(CreateWindowExA(exStyle, className, title, style, x, y, width, height,
                                    toHwnd(parent), nullptr, toHinstance(instance), nullptr));
}

Window findWindow(const char* className, const char* title) {
    return toWindow(FindWindowA(className, title));
}

bool showWindow(Window window, int showCommand) {
    return ShowWindow(toHwnd(window), showCommand) != FALSE;
}

Result defWindowProc(Window window, unsigned message, WParam wParam, LParam lParam) {
    return DefWindowProcA(toHwnd(window), message, wParam, lParam);
}

Result dialogBox(Instance instance, int templateId, Window owner, DialogProc proc, LParam param) {
    return DialogBoxParamA(toHinstance(instance), MAKEINTRESOURCEA(templateId), toHwnd(owner),
                           reinterpret_cast<DLGPROC>(proc), param);
}

bool endDialog(Window dialog, Result result) { return EndDialog(toHwnd(dialog), result) != FALSE; }

Window getDlgItem(Window dialog, int id) { return toWindow(GetDlgItem(toHwnd(dialog), id)); }

bool enableWindow(Window window, bool enable) {
    return EnableWindow(toHwnd(window), enable) != FALSE;
}

bool setWindowText(Window window, const char* text) {
    return SetWindowTextA(toHwnd(window), text) != FALSE;
}

Result sendMessage(Window window, unsigned message, WParam wParam, LParam lParam) {
    return SendMessageA(toHwnd(window), message, wParam, lParam);
}

bool invalidateWindow(Window window) {
    return InvalidateRect(toHwnd(window), nullptr, TRUE) != FALSE;
}

int messageBox(Window owner, const char* text, const char* caption, unsigned flags) {
    return MessageBoxA(toHwnd(owner), text, caption, flags);
}

bool getWorkArea(Rect* area) {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    *area = fromRect(r);
    return true;
}

bool getWindowRect(Window window, Rect* rect) {
    RECT r{};
    if (!GetWindowRect(toHwnd(window), &r)) return false;
    *rect = fromRect(r);
    return true;
}

bool moveWindow(Window window, int x, int y, int width, int height, bool repaint) {
    return MoveWindow(toHwnd(window), x, y, width, height, repaint) != FALSE;
}

bool peekMessage(Message* message) {
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    message->window = toWindow(msg.hwnd);
    message->message = msg.message;
    message->wParam = msg.wParam;
    message->lParam = msg.lParam;
    return true;
}

bool translateMessage(const Message* message) {
    MSG msg = toMsg(*message);
    return TranslateMessage(&msg) != FALSE;
}

Result dispatchMessage(const Message* message) {
    MSG msg = toMsg(*message);
    return DispatchMessageA(&msg);
}

void postQuitMessage(int exitCode) { PostQuitMessage(exitCode); }

GdiHandle createFont(int height, int width, int escapement, int orientation, int weight,
                     bool italic, bool underline, bool strikeOut, unsigned charSet,
                     unsigned outputPrecision, unsigned clipPrecision, unsigned quality,
                     unsigned pitchAndFamily, const char* faceName) {
    return fromGdi(CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                               strikeOut, charSet, outputPrecision, clipPrecision, quality,
                               pitchAndFamily, faceName));
}

GdiHandle selectObject(DeviceContext dc, GdiHandle object) {
    return fromGdi(SelectObject(toHdc(dc), toGdi(object)));
}

ColorRef setTextColor(DeviceContext dc, ColorRef color) { return SetTextColor(toHdc(dc), color); }
ColorRef setBkColor(DeviceContext dc, ColorRef color) { return SetBkColor(toHdc(dc), color); }
int setBkMode(DeviceContext dc, int mode) { return SetBkMode(toHdc(dc), mode); }
bool deleteObject(GdiHandle object) { return DeleteObject(toGdi(object)) != FALSE; }
GdiHandle getNullBrush() { return fromGdi(GetStockObject(NULL_BRUSH)); }

}  // namespace platform
