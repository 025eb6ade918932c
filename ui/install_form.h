// The command states and the installation folder of the install form. With a
// template that lacks these controls every step finds no window and does nothing.
#pragma once

// Enables and disables the commands for the dialog's start, by `installed`.
void applyInstalledState();
// Shows installBase with the studio and product folders in control 1004.
void showInstallDestination();

// One moment of the enabling table: the controls in order, each enabled or not.
struct ControlState {
    int id;
    bool enabled;
};
void applyControlStates(const ControlState* states, int count);
