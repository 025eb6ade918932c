// The reference of the start-up time: a program that does nothing but show a
// modal dialog (from a template built in memory) and end when it is closed.
#include <windows.h>

#include <cstddef>
#include <cstring>

namespace {

// DLGTEMPLATE, then menu, class and title as WORD arrays; one Cancel button.
// The item must start on a DWORD boundary: the title's length keeps it there.
#pragma pack(push, 2)
struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass;
    WCHAR title[15];
    DLGITEMTEMPLATE button;
    WORD buttonClass[2];
    WCHAR buttonText[7];
    WORD creationData;
};
#pragma pack(pop)
static_assert(offsetof(Template, button) % 4 == 0, "the item template must be DWORD aligned");

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Template t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    t.dialog.cdit = 1;
    t.dialog.cx = 160;
    t.dialog.cy = 60;
    std::memcpy(t.title, L"Minimal dialog", sizeof t.title);
    t.button.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    t.button.x = 55;
    t.button.y = 35;
    t.button.cx = 50;
    t.button.cy = 14;
    t.button.id = IDCANCEL;
    t.buttonClass[0] = 0xFFFF;
    t.buttonClass[1] = 0x0080;  // the predefined button class
    std::memcpy(t.buttonText, L"Cancel", sizeof t.buttonText);
    DialogBoxIndirectParamA(instance, &t.dialog, nullptr, dialogProc, 0);
    return 0;
}
