#include "installer/displayControlPanel.h"

#include "common/unicodeText.h"
#include "common/controlPanelTitles.h"
#include "common/logFile.h"
#include "installer/stringTable.h"

#include <windows.h>

// The dialog's Cancel button.
static const int PANEL_CANCEL_ID = IDCANCEL;

static HWND findPanel(const std::string &title) {
  return title.empty() ? nullptr : FindWindowW(nullptr, wideFromUtf8(title).c_str());
}

void closeDisplayControlPanel() {
  TraceScope trace("closeDisplayControlPanel");
  // A translated system shows translated titles; the English ones cover a
  // string table that does not match the system's language.
  const std::string titles[] = {programText(IDS_DISPLAY_PROPERTIES), programText(IDS_SCREEN_SAVER_SETTINGS),
                                ENGLISH_FIRST_TITLE, ENGLISH_SECOND_TITLE};
  for (const std::string &title : titles) {
    const HWND panel = findPanel(title);
    if (panel == nullptr) continue;
    logLine("control panel found: " + title);
    SendDlgItemMessageA(panel, PANEL_CANCEL_ID, BM_CLICK, 0, 0);
    break;
  }
}
