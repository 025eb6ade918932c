// Shell special folders and shell link files.
#pragma once
#include <cstddef>

// The path of special folder csidl into buffer (size bytes, zeroed first; the
// empty text when the folder is not available); the shell's result.
bool getSpecialFolderPath(int csidl, char* buffer, std::size_t size);
// Saves linkFolder\linkName.lnk pointing at targetDir\targetFile, started in
// targetDir. True exactly when the file was saved; false without any shell work
// when one of the two paths would not fit a path buffer.
bool createShortcut(const char* linkFolder, const char* targetDir, const char* targetFile,
                    const char* linkName);
