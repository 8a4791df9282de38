#include "package/posterRange.h"

#include "common/statusCodes.h"

#include <climits>

namespace {

// A decimal number of at most ten digits at text[at], no sign; at moves past it.
bool readNumber(const std::string &text, size_t &at, uint64_t &number) {
  const size_t first = at;
  number = 0;
  while (at < text.size() && at - first < 10 && text[at] >= '0' && text[at] <= '9')
    number = number * 10 + static_cast<uint64_t>(text[at++] - '0');
  return at > first;
}

bool parseRange(const std::string &text, uint64_t &start, uint64_t &length) {
  size_t at = 0;
  if (!readNumber(text, at, start) || at >= text.size() || text[at++] != ' ') return false;
  return readNumber(text, at, length) && at == text.size();
}

}  // namespace

PosterFormat posterFormatOf(const std::vector<uint8_t> &poster) {
  if (poster.size() >= 2 && poster[0] == 'B' && poster[1] == 'M') return PosterFormat::bitmap;
  if (poster.size() >= 3 && poster[0] == 0xFF && poster[1] == 0xD8 && poster[2] == 0xFF)
    return PosterFormat::jpeg;
  return PosterFormat::unknown;
}

int32_t readPoster(ByteSource &package, uint32_t programSize, const PackageProperties &properties,
                   std::vector<uint8_t> &poster) {
  poster.clear();
  if (properties.posterRange.empty()) return STATUS_OK;
  uint64_t start = 0, length = 0;
  const uint64_t headerEnd = uint64_t(programSize) + sizeof(InstallerHeader);
  if (!parseRange(properties.posterRange, start, length) || start < headerEnd || length == 0 ||
      length > POSTER_MAX || start + length > static_cast<uint64_t>(package.size()))
    return STATUS_PACKAGE_DAMAGED;
  int32_t status = allocateBuffer(poster, static_cast<uint32_t>(length));
  if (status == STATUS_OK)
    status =
        readExactly(package, static_cast<int64_t>(start), poster.data(), static_cast<uint32_t>(length));
  if (status != STATUS_OK) poster.clear();
  return status;
}

bool appendPoster(std::vector<uint8_t> &package, uint32_t programSize, const std::vector<uint8_t> &poster,
                  PackageProperties &properties) {
  properties.posterRange.clear();
  if (poster.empty()) return true;
  const uint64_t start = uint64_t(programSize) + package.size();
  if (poster.size() > POSTER_MAX || start + poster.size() > INT32_MAX) return false;
  properties.posterRange = std::to_string(start) + " " + std::to_string(poster.size());
  package.insert(package.end(), poster.begin(), poster.end());
  return true;
}
