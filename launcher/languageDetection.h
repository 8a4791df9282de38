// The system's default language and the control-panel window titles that go
// with it.
#ifndef SAVER_LAUNCHER_LANGUAGE_DETECTION_H
#define SAVER_LAUNCHER_LANGUAGE_DETECTION_H

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

#endif
