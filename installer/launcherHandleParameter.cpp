#include "installer/launcherHandleParameter.h"

#include <cctype>
#include <cstring>

#include "common/launcherProtocol.h"

static bool startsWithHandleParameter(const std::string &text, size_t at) {
  const std::string prefix = LAUNCHER_HANDLE_PARAMETER;
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i]) return false;
  }
  return true;
}

static std::string withoutHandleParameters(const std::string &text) {
  std::string rest;
  for (size_t at = 0; at < text.size();) {
    if (startsWithHandleParameter(text, at)) {
      at += std::strlen(LAUNCHER_HANDLE_PARAMETER);
    } else {
      rest += text[at++];
    }
  }
  return rest;
}

static uint32_t decimalHandle(const std::string &digits) {
  if (digits.empty() || digits.size() > 10) return 0;
  uint64_t value = 0;
  for (char digit : digits) {
    if (digit < '0' || digit > '9') return 0;
    value = value * 10 + static_cast<unsigned>(digit - '0');
  }
  return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

uint32_t launcherHandleFromParameters(const std::vector<std::string> &parameters) {
  for (const std::string &parameter : parameters) {
    if (parameter.compare(0, std::strlen(LAUNCHER_HANDLE_PARAMETER), LAUNCHER_HANDLE_PARAMETER) == 0) {
      return decimalHandle(withoutHandleParameters(parameter));
    }
  }
  return 0;
}
