#include "common/programTexts.h"

#include <windows.h>

// LoadStringA cuts a text to the buffer without telling: one that fills it
// is read again into a larger one, so that no translation is cut short.
std::string programText(unsigned id) {
  std::string text(256, '\0');
  for (;;) {
    const int size = static_cast<int>(text.size());
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, text.data(), size);
    if (length + 1 < size) {
      text.resize(length > 0 ? length : 0);
      return text;
    }
    text.resize(text.size() * 2);
  }
}
