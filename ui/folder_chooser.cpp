#include "ui/folder_chooser.h"

FolderChooser folderChooser;
