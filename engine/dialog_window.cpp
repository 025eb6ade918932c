#include "engine/dialog_window.h"

platform::Window setupDialogWindow = nullptr;
