// The program's start and end, without the Windows entry signature.
#pragma once
#include "platform/types.h"

// Exit code when the setup dialog could not be shown at all.
constexpr int dialogFailedExitCode = 1;

// Runs the program with the given setup dialog template; returns the exit code.
int runSetupProgram(platform::Instance instance, platform::Instance previousInstance,
                    int showCommand, int dialogTemplate);
