// The installer window on a 192-DPI screen under Wine: the same physical size
// as on a 96-DPI one, so twice as many pixels each way, every part in its place.
#include "installerFixture.h"

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";
const char DPI_VALUE[] = "LogPixels";

// Wine takes the screen's DPI from the user's desktop settings when a
// program starts, so the programs started while this lives see dpi. The
// prefix serves every test after this one: the earlier setting, or its
// absence, comes back however the test ends.
class ScreenDpiSetting {
 public:
  explicit ScreenDpiSetting(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    DWORD type = 0, size = sizeof earlier_;
    hadValue_ = RegQueryValueExA(key, DPI_VALUE, nullptr, &type, reinterpret_cast<BYTE *>(&earlier_),
                                 &size) == ERROR_SUCCESS &&
                type == REG_DWORD;
    set_ = RegSetValueExA(key, DPI_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dpi), sizeof dpi) ==
           ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~ScreenDpiSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (hadValue_)
      RegSetValueExA(key, DPI_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&earlier_),
                     sizeof earlier_);
    else
      RegDeleteValueA(key, DPI_VALUE);
    RegCloseKey(key);
  }
  ScreenDpiSetting(const ScreenDpiSetting &) = delete;
  ScreenDpiSetting &operator=(const ScreenDpiSetting &) = delete;

  bool set() const { return set_; }

 private:
  bool set_ = false;
  bool hadValue_ = false;
  DWORD earlier_ = 0;
};

// A thread that is not DPI-aware is shown the windows of an aware program
// scaled to its own DPI; this one must see their real pixels.
void seeRealPixels() {
  typedef HANDLE(WINAPI * SetAwareness)(HANDLE);
  const auto setAwareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
  if (setAwareness != nullptr) setAwareness(reinterpret_cast<HANDLE>(-3));  // per monitor
}

// The window's size and its parts' places in its client area.
struct FormGeometry {
  SIZE window;
  SIZE client;
  std::vector<RECT> parts;
};

RECT placeInClient(HWND form, HWND part) {
  RECT place = {};
  GetWindowRect(part, &place);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT *>(&place), 2);
  return place;
}

FormGeometry geometryOf(HWND form) {
  FormGeometry geometry;
  RECT frame = {}, client = {};
  GetWindowRect(form, &frame);
  GetClientRect(form, &client);
  geometry.window = {frame.right - frame.left, frame.bottom - frame.top};
  geometry.client = {client.right, client.bottom};
  HWND picture = FindWindowExA(form, nullptr, "TPanel", nullptr);
  for (HWND part : {picture, FindWindowExA(form, nullptr, "RichEdit20W", nullptr),
                    FindWindowExA(form, picture, "TPanel", nullptr), control(form, "Accept and Install"),
                    control(form, "Cancel")}) {
    EXPECT_NE(part, nullptr);
    geometry.parts.push_back(placeInClient(form, part));
  }
  return geometry;
}

}  // namespace

TEST_F(InstallerEndToEnd, At192DpiTheWindowAndItsPartsAreTwiceAsLarge) {
  seeRealPixels();
  const std::string launcher = buildLauncher("license");
  auto showAndClose = [&](const char *screenshot, FormGeometry *geometry) {
    driver::TestProgram launcherProgram, installer;
    HWND form = startInteractive(launcher, launcherProgram, installer);
    ASSERT_NE(form, nullptr);
    *geometry = geometryOf(form);
    driver::saveScreenshot(screenshot);
    ASSERT_TRUE(driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE));
    expectBothEnd(installer, launcherProgram);
  };
  FormGeometry atDesign, atDouble;
  showAndClose("installer-96dpi.png", &atDesign);
  {
    ScreenDpiSetting doubled(192);
    ASSERT_TRUE(doubled.set());
    showAndClose("installer-192dpi.png", &atDouble);
  }
  // Wine keeps its 96-DPI borders and a caption not quite twice as high, so
  // at 192 DPI the client area is 6 pixels wider than twice, and the window
  // is twice as wide but a few pixels less than twice as high.
  EXPECT_EQ(atDesign.client.cy, 445);
  EXPECT_EQ(atDouble.window.cx, 2 * atDesign.window.cx);
  EXPECT_EQ(atDouble.client.cy, 2 * atDesign.client.cy);
  EXPECT_GE(atDouble.client.cx, 2 * atDesign.client.cx);
  EXPECT_GT(atDouble.window.cy, atDouble.client.cy + (atDesign.window.cy - atDesign.client.cy));
  // Each edge twice as far from the client area's left or top, or, for the
  // parts kept at the right, twice as far from its right.
  auto twiceFromLeftOrRight = [&](LONG design, LONG doubled) {
    return doubled == 2 * design || atDouble.client.cx - doubled == 2 * (atDesign.client.cx - design);
  };
  ASSERT_EQ(atDouble.parts.size(), atDesign.parts.size());
  for (size_t i = 0; i < atDesign.parts.size(); ++i) {
    const RECT &design = atDesign.parts[i], &doubled = atDouble.parts[i];
    EXPECT_TRUE(twiceFromLeftOrRight(design.left, doubled.left)) << "part " << i << ": " << doubled.left;
    EXPECT_TRUE(twiceFromLeftOrRight(design.right, doubled.right)) << "part " << i << ": " << doubled.right;
    EXPECT_EQ(doubled.top, 2 * design.top) << "part " << i;
    EXPECT_EQ(doubled.bottom, 2 * design.bottom) << "part " << i;
  }
  expectNothingInstalled();
}
