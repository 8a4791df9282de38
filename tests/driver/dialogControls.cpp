// Reading a dialog's controls and clicking its buttons.
#include "testDriver.h"

namespace driver {
namespace {

BOOL CALLBACK collectControl(HWND window, LPARAM listAddress) {
  auto *controls = reinterpret_cast<std::vector<DialogControl> *>(listAddress);
  controls->push_back({window, GetDlgCtrlID(window), windowClassName(window), windowText(window)});
  return TRUE;
}

LONG styleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

bool isTextStatic(const DialogControl &control) {
  if (lstrcmpiA(control.className.c_str(), "Static") != 0) return false;
  switch (styleOf(control.window) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
    case SS_OWNERDRAW:
      return true;
    default:
      return false;
  }
}

bool isButton(const DialogControl &control) {
  return lstrcmpiA(control.className.c_str(), "Button") == 0 &&
         (styleOf(control.window) & BS_TYPEMASK) != BS_GROUPBOX;
}

// "&&" stands for a literal "&"; a single "&" only marks the access key.
std::string withoutAccessMarks(const std::string &caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    plain += caption[i];
  }
  return plain;
}

// A user can click a button only when it and every window it sits in are
// enabled; a modal dialog disables its owner.
bool isClickable(HWND button) {
  for (HWND window = button; window; window = GetAncestor(window, GA_PARENT))
    if (!IsWindowEnabled(window)) return false;
  return true;
}

// The parent handles BN_CLICKED exactly as for a mouse click; posting it
// does not wait for a modal loop the click may open.
bool click(const DialogControl &button) {
  if (!isClickable(button.window)) return false;
  return PostMessageA(GetParent(button.window), WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button.window)) != 0;
}

}  // namespace

std::vector<DialogControl> dialogControls(HWND dialog) {
  std::vector<DialogControl> controls;
  EnumChildWindows(dialog, collectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::vector<std::string> staticTexts(HWND dialog) {
  std::vector<std::string> texts;
  for (const DialogControl &control : dialogControls(dialog))
    if (isTextStatic(control)) texts.push_back(control.text);
  return texts;
}

std::vector<std::string> buttonCaptions(HWND dialog) {
  std::vector<std::string> captions;
  for (const DialogControl &control : dialogControls(dialog))
    if (isButton(control)) captions.push_back(control.text);
  return captions;
}

bool clickButton(HWND dialog, const std::string &caption) {
  const std::string wanted = withoutAccessMarks(caption);
  for (const DialogControl &control : dialogControls(dialog))
    if (isButton(control) && withoutAccessMarks(control.text) == wanted) return click(control);
  return false;
}

bool clickButtonById(HWND dialog, int controlId) {
  for (const DialogControl &control : dialogControls(dialog))
    if (isButton(control) && control.id == controlId) return click(control);
  return false;
}

}  // namespace driver
