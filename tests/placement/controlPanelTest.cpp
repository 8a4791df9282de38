// closeDisplayControlPanel against stand-in windows with the panel's titles.
#include "installer/displayControlPanel.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

int clickedId = 0;

LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) clickedId = LOWORD(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window with an OK (1) and a Cancel (2) button.
class StandInPanel {
 public:
  explicit StandInPanel(const char *title) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = panelProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlacementStandInPanel";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("PlacementStandInPanel", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                            200, nullptr, nullptr, windowClass.hInstance, nullptr);
    for (int id : {IDOK, IDCANCEL})
      CreateWindowA("BUTTON", id == IDOK ? "OK" : "Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                    10 + 100 * id, 100, 80, 25, window_, HMENU(INT_PTR(id)), windowClass.hInstance,
                    nullptr);
  }
  ~StandInPanel() { DestroyWindow(window_); }
  HWND window() const { return window_; }

 private:
  HWND window_;
};

class ControlPanel : public ::testing::TestWithParam<const char *> {};

TEST_P(ControlPanel, CancelButtonGetsTheClick) {
  StandInPanel panel(GetParam());
  ASSERT_NE(panel.window(), nullptr);
  clickedId = 0;
  closeDisplayControlPanel();
  EXPECT_EQ(clickedId, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Titles, ControlPanel,
                         ::testing::Values("Display Properties", "Screen Saver Settings"));

TEST(ControlPanelAbsent, OtherWindowsAreLeftAlone) {
  StandInPanel panel("Display Properties (not the panel)");
  clickedId = 0;
  closeDisplayControlPanel();
  EXPECT_EQ(clickedId, 0);
}

}  // namespace
