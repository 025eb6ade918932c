#include "ui/install_commands.h"

#include "ui/setup_dialog.h"

// The install form's commands arrive with the installer; the updater's template
// carries none of their controls.
platform::Result installOrAbortCommand(platform::Window) { return 1; }
void startGameCommand(platform::Window) {}
void chooseFolderCommand() {}
void readmeCommand() {}
void uninstallCommand() {}
void manualCommand() {}

void exitCommand(platform::Window dialog) { endSetupDialog(dialog); }
