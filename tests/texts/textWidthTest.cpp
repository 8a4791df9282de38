// Every language's texts of the installer window fit their controls, at 96
// and at 192 DPI, measured with the installer's own font in the built
// program's tables.
#include "common/displayScale.h"
#include "common/textLanguage.h"
#include "common/unicodeText.h"
#include "installer/installerFont.h"
#include "installer/installerLayout.h"
#include "installer/stringTableIds.h"
#include "testDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// A button's frame and the focus rectangle take this much of its width.
const int BUTTON_MARGIN = 8;

struct Fit {
  unsigned id;
  int width;  // of the control, at 96 DPI
  int margin;
};

const Fit FITS[] = {
    {IDS_INSTALL_BUTTON, INSTALL_BUTTON.width, BUTTON_MARGIN},
    {IDS_INSTALL, INSTALL_BUTTON.width, BUTTON_MARGIN},
    {IDS_CANCEL, CANCEL_BUTTON.width, BUTTON_MARGIN},
    {IDS_CLOSE, DONE_BUTTON.width, BUTTON_MARGIN},
    {IDS_ACCEPT_AND_INSTALL, ACCEPT_AND_INSTALL_WIDTH, BUTTON_MARGIN},
    {IDS_INSTALLING, STATUS_LINE.width, 0},
    {IDS_EXPANDING_FILES, STATUS_LINE.width, 0},
    {IDS_WRITING_SAVER_DATA_FILE, STATUS_LINE.width, 0},
    {IDS_WRITING_FILES, STATUS_LINE.width, 0},
    {IDS_INSTALLATION_COMPLETE, STATUS_LINE.width, 0},
    {IDS_INSTALLATION_SUCCESSFUL, STATUS_LINE.width, 0},
    {IDS_INSUFFICIENT_PRIVILEGES, STATUS_LINE.width, 0},
    {IDS_SAVER_NOT_REPLACEABLE, STATUS_LINE.width, 0},
    {IDS_ABORTED_CLEANING_UP, STATUS_LINE.width, 0},
    {IDS_OPENING_CONTROL_PANEL, STATUS_LINE.width, 0},
};

int textWidth(HDC dc, const std::wstring &text) {
  RECT bounds = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_SINGLELINE);
  return bounds.right - bounds.left;
}

TEST(TextWidth, EveryInstallerTextFitsItsControl) {
  HMODULE installer =
      LoadLibraryExA(driver::windowsPathOf(SAVERSETUP_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(installer, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  int measured = 0;
  for (int dpi : {96, 192}) {
    HFONT font = createInstallerFont(dpi);
    HGDIOBJ previous = SelectObject(dc, font);
    for (const TextLanguage &language : textLanguages())
      for (const Fit &fit : FITS) {
        const std::wstring text = wideFromUtf8(stringTableText(installer, fit.id, language.languageId));
        ASSERT_FALSE(text.empty()) << language.code << " " << fit.id;
        const int room = scaledToDpi(fit.width - fit.margin, dpi);
        EXPECT_LE(textWidth(dc, text), room)
            << language.code << " text " << fit.id << " at " << dpi << " DPI";
        ++measured;
      }
    SelectObject(dc, previous);
    DeleteObject(font);
  }
  EXPECT_EQ(measured, 2 * 12 * static_cast<int>(sizeof FITS / sizeof FITS[0]));
  DeleteDC(dc);
  FreeLibrary(installer);
}

}  // namespace
