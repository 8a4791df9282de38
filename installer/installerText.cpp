#include "installer/installerText.h"

#include <windows.h>

std::string installerText(unsigned id) {
  char text[1024];
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}
