// Stands in for the game when Setup.exe starts it: leaves the folder it was
// started in where the driver looks, then ends with 0.
#include <windows.h>

int main() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    HANDLE file = CreateFileA("C:\\velmora-e2e-setup\\game-cwd.txt", GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, folder, length, &written, nullptr);
    CloseHandle(file);
    return 0;
}
