#include "package/packageVersion.h"

namespace {

const uint32_t LARGEST_PART = 65535;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool parseVersion(const std::string &text, PackageVersion &version) {
  PackageVersion parsed;
  size_t part = 0;
  size_t at = 0;
  while (true) {
    // Six digits or more cannot be a part, whatever they say.
    uint32_t value = 0;
    size_t digits = 0;
    for (; at < text.size() && isDigit(text[at]) && digits < 6; ++at, ++digits)
      value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    if (digits == 0 || digits == 6 || value > LARGEST_PART) return false;
    parsed.parts[part++] = static_cast<uint16_t>(value);
    if (at == text.size()) break;
    if (text[at] != '.' || part == parsed.parts.size()) return false;
    ++at;
  }
  if (part < 2) return false;
  version = parsed;
  return true;
}

int compareVersions(const PackageVersion &a, const PackageVersion &b) {
  for (size_t i = 0; i < a.parts.size(); ++i)
    if (a.parts[i] != b.parts[i]) return a.parts[i] < b.parts[i] ? -1 : 1;
  return 0;
}
