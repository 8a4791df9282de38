#include "common/dialogs/systemErrorText.h"

#include "common/unicodeText.h"

#include <windows.h>

std::string systemErrorText(int32_t code) {
  if (code <= 0) return std::string();
  char *buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<char *>(&buffer), 0, nullptr);
  std::string text(buffer != nullptr ? buffer : "", length);
  LocalFree(buffer);
  // The system ends its texts with a line break that the messages do not want.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  // Into a UTF-8 message.
  return utf8FromAnsi(text);
}
