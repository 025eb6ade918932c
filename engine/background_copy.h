// The copy worker of copySelectedFiles.
#pragma once
#include "platform/types.h"

// Copies the selected installFiles entries of the SetupEngine given as argument,
// one after the other, sets busy to 0 as its last act and ends its thread.
unsigned long PLATFORM_CALLBACK copyWorker(void* engine);
