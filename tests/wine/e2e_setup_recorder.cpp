// Registered as the program that opens .txt and .html files while the setup
// test runs: appends the file it was asked to open, one line each, to a log.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HANDLE log = CreateFileA("C:\\velmora-e2e-setup\\opened.log", FILE_APPEND_DATA, 0, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, argv[1], static_cast<DWORD>(std::strlen(argv[1])), &written, nullptr);
    WriteFile(log, "\n", 1, &written, nullptr);
    CloseHandle(log);
    return 0;
}
