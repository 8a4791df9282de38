#include "common/programTexts.h"

#include <windows.h>

// LoadStringA cuts a text to the buffer without telling: one that fills it
// is read again into a larger one, so that no translation is cut short.
std::string programText(unsigned id) {
  std::string text(256, '\0');
  int length = 0;
  while ((length = LoadStringA(GetModuleHandleA(nullptr), id, text.data(), static_cast<int>(text.size()))) +
             1 >=
         static_cast<int>(text.size()))
    text.resize(text.size() * 2);
  text.resize(length > 0 ? length : 0);
  return text;
}
