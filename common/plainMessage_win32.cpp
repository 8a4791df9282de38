#include <windows.h>

#include "common/boxControls.h"
#include "common/pathRules.h"
#include "common/plainMessage.h"

// Captioned with the program's file name without folder and extension.
void showPlainMessage(const std::string &text) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string caption = fileNamePart(path);
  caption = caption.substr(0, caption.find_last_of('.'));
  BoxControlsScope controls;
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}
