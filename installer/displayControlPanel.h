// Closing an open display control panel before screen saver files are placed,
// so that it lets go of them.
#ifndef SAVER_INSTALLER_DISPLAY_CONTROL_PANEL_H
#define SAVER_INSTALLER_DISPLAY_CONTROL_PANEL_H

// Looks for a top-level window titled "Display Properties" or "Screen Saver
// Settings" (the string table's titles first, then the English ones) and
// clicks its control 2, the dialog's Cancel button.
void closeDisplayControlPanel();

#endif
