#include "package/libraryRelease.h"

#include <algorithm>
#include <cctype>

namespace {

bool samePath(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

bool trustsUninstallEntry(bool machineWide, bool elevated,
                          const std::vector<std::string> &listedLibraries) {
  return machineWide || !elevated || listedLibraries.empty();
}

std::vector<std::string> distinctLibraries(const std::vector<std::string> &listed) {
  std::vector<std::string> distinct;
  for (const std::string &library : listed) {
    const bool seen = std::ranges::any_of(
        distinct, [&library](const std::string &earlier) { return samePath(earlier, library); });
    if (!seen) distinct.push_back(library);
  }
  return distinct;
}

LibraryRelease planLibraryRelease(const std::vector<LibraryCount> &counts) {
  LibraryRelease release;
  for (const LibraryCount &entry : counts) {
    if (!entry.counted) continue;
    if (entry.count > 1)
      release.lowered.push_back({entry.library, true, entry.count - 1});
    else
      release.removed.push_back(entry.library);
  }
  return release;
}
