#include "tools/saverpack/wingetNeeds.h"

std::vector<std::string> wingetShortcomings(const PackageProperties &properties) {
  std::vector<std::string> lines;
  if (properties.version.empty())
    lines.emplace_back("no version (manifest key \"version\"), which winget needs");
  if (properties.publisher.empty())
    lines.emplace_back(
        "no publisher (manifest key \"publisher\"), which winget shows in the installed list");
  return lines;
}
