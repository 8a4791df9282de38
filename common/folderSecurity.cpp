#include "common/folderSecurity.h"

namespace {

// FILE_GENERIC_READ | FILE_GENERIC_EXECUTE: list, read, traverse and run.
const char READ_AND_EXECUTE[] = "0x1200a9";

// "OICI": the entry applies to the folder and is inherited by its files and
// subfolders.
std::string allowEntry(const std::string &rights, const std::string &trustee) {
  return "(A;OICI;" + rights + ";;;" + trustee + ")";
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string adminOnlyFolderDescriptor(const std::string &userSid) {
  // "P": protected, so ProgramData's "users may create" entries stay out.
  std::string descriptor = "O:BAD:P" + allowEntry("FA", "BA") + allowEntry("FA", "SY");
  if (isSidText(userSid)) descriptor += allowEntry(READ_AND_EXECUTE, userSid);
  return descriptor;
}

bool isSidText(const std::string &text) {
  if (text.size() < 2 || text[0] != 'S' || text[1] != '-') return false;
  int parts = 0;
  size_t digits = 0;
  for (size_t i = 2; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '-') {
      if (digits == 0) return false;
      ++parts;
      digits = 0;
    } else if (isDigit(text[i])) {
      ++digits;
    } else {
      return false;
    }
  }
  return parts >= 2;  // a revision and an authority at least
}

std::string randomFolderName(const std::string &prefix, const uint8_t *bytes, size_t count) {
  static const char HEX_DIGITS[] = "0123456789abcdef";
  std::string name = prefix;
  for (size_t i = 0; i < count; ++i) {
    name += HEX_DIGITS[bytes[i] >> 4];
    name += HEX_DIGITS[bytes[i] & 0x0F];
  }
  return name;
}
