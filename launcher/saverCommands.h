// The operations the launcher carries out for the installer, and the
// control-panel titles in the system's language.
#ifndef SAVER_LAUNCHER_SAVER_COMMANDS_H
#define SAVER_LAUNCHER_SAVER_COMMANDS_H

#include <cstdint>
#include <string>

struct ControlPanelTitles {
  std::string first;
  std::string second;
};

// From the system default language, not the user's own setting.
uint8_t detectLanguageIndex();

// The English titles are program constants; the others come from the string
// table, converted to the system code page.
ControlPanelTitles loadControlPanelTitles(uint8_t languageIndex);

// Makes the screen saver named in the command ("makeActiveSaver-<file name
// in the system folder>") the active one: system.ini [boot], the current
// user's desktop settings, then screen saving switched on. 0, an error code,
// STATUS_DESKTOP_KEY_FAILED, or STATUS_UNSAFE_NAME for a name that would
// lead out of the system folder. forUser: the user's own saver
// ("makeActiveUserSaver-<file name in the user's saver folder>"), named by
// its full path in the user's desktop settings alone.
int32_t makeActiveSaver(const std::string &commandText, bool forUser);

// Starts the display control panel on its screen saver page and looks for
// its window by the two titles, 1000 times.
void openScreenSaverControlPanel(const ControlPanelTitles &titles);

#endif
