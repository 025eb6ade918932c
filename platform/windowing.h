// Windows, dialogs, controls, message boxes, the message queue and GDI.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

struct WindowClass {
    unsigned style = 0;
    WindowProc proc = nullptr;
    Instance instance = nullptr;
    int iconResource = 0;  // LoadIconA(instance, id); the arrow cursor and white brush go with it
    const char* className = nullptr;
};
bool registerWindowClass(const WindowClass& windowClass);  // RegisterClassA != 0
Window createWindow(std::uint32_t exStyle, const char* className, const char* title,
                    std::uint32_t style, int x, int y, int width, int height, Window parent,
                    Instance instance);
Window findWindow(const char* className, const char* title);
bool showWindow(Window window, int showCommand);
Result defWindowProc(Window window, unsigned message, WParam wParam, LParam lParam);

// DialogBoxParamA(instance, template id, owner, proc, param); -1 when it failed.
Result dialogBox(Instance instance, int templateId, Window owner, DialogProc proc, LParam param);
bool endDialog(Window dialog, Result result);

Window getDlgItem(Window dialog, int id);
bool enableWindow(Window window, bool enable);
bool setWindowText(Window window, const char* text);
Result sendMessage(Window window, unsigned message, WParam wParam, LParam lParam);
// InvalidateRect(window, whole client area, erase): repainted when its thread is idle.
bool invalidateWindow(Window window);
int messageBox(Window owner, const char* text, const char* caption, unsigned flags);

// SystemParametersInfoA(SPI_GETWORKAREA).
bool getWorkArea(Rect* area);
bool getWindowRect(Window window, Rect* rect);
bool moveWindow(Window window, int x, int y, int width, int height, bool repaint);

// The message queue of the calling thread.
bool peekMessage(Message* message);  // any window, any message, PM_REMOVE
bool translateMessage(const Message* message);
Result dispatchMessage(const Message* message);
void postQuitMessage(int exitCode);

// GDI for the coloured static controls.
GdiHandle createFont(int height, int width, int escapement, int orientation, int weight,
                     bool italic, bool underline, bool strikeOut, unsigned charSet,
                     unsigned outputPrecision, unsigned clipPrecision, unsigned quality,
                     unsigned pitchAndFamily, const char* faceName);
GdiHandle selectObject(DeviceContext dc, GdiHandle object);
ColorRef setTextColor(DeviceContext dc, ColorRef color);
ColorRef setBkColor(DeviceContext dc, ColorRef color);
int setBkMode(DeviceContext dc, int mode);
bool deleteObject(GdiHandle object);
GdiHandle getNullBrush();  // GetStockObject(NULL_BRUSH)

}  // namespace platform
