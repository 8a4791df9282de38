#include "tools/saverpack/extract.h"
#include "tools/saverpack/fileAccess.h"

#include "tools/saverpack/extractPlan.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/packageReport.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool folderUsable(const fs::path &folder, std::string &error) {
  std::error_code fault;
  if (!fs::exists(folder, fault)) return true;
  if (fs::is_directory(folder, fault) && fs::is_empty(folder, fault)) return true;
  error = "\"" + folder.string() + "\" exists and is not an empty folder";
  return false;
}

// Every name was checked against the safe-name rules; this holds the line
// should one slip through.
bool inside(const std::string &relative) {
  const fs::path path = pathOfUtf8(relative).lexically_normal();
  return !path.empty() && path.is_relative() && *path.begin() != "..";
}

std::string firstDifference(const std::vector<uint8_t> &original, const std::vector<uint8_t> &rebuilt) {
  if (original.size() != rebuilt.size())
    return "it would be " + std::to_string(rebuilt.size()) + " bytes instead of " +
           std::to_string(original.size());
  const auto at = std::mismatch(original.begin(), original.end(), rebuilt.begin()).first;
  return "it would differ from byte " + std::to_string(at - original.begin()) + " on";
}

void checkRebuild(const std::vector<uint8_t> &file, const fs::path &manifest, const ExtractPlan &plan,
                  Progress *progress, ExtractOutcome &outcome) {
  BuildPlan build;
  std::vector<uint8_t> rebuilt;
  std::string error;
  if (!loadBuildPlan(manifest.string(), build, error) ||
      !buildInstallerFile(build, rebuilt, error, progress)) {
    outcome.rebuildDifference = "manifest.json does not build: " + error;
  } else if (rebuilt != file) {
    outcome.rebuildDifference = firstDifference(file, rebuilt);
  } else {
    outcome.rebuildsIdentically = true;
    return;
  }
  for (const std::string &caveat : plan.caveats) outcome.rebuildDifference += "; " + caveat;
}

}  // namespace

bool extractFile(const std::vector<uint8_t> &file, const std::string &folderText, Progress *progress,
                 ExtractOutcome &outcome, std::string &error) {
  const fs::path folder = pathOfUtf8(folderText);
  ExtractPlan plan;
  nlohmann::ordered_json report;
  if (!folderUsable(folder, error) || !planExtraction(file, plan, error) || !reportFile(file, report))
    return false;
  for (const ExtractedFile &extracted : plan.files)
    if (!inside(extracted.path)) {
      error = "\"" + extracted.path + "\" would lie outside the folder; nothing was written";
      return false;
    }
  plan.files.push_back({"header.json", {}});
  const std::string reportText = jsonText(report);
  plan.files.back().bytes.assign(reportText.begin(), reportText.end());
  for (const ExtractedFile &extracted : plan.files) {
    if (!writeNewFile(folder / pathOfUtf8(extracted.path), extracted.bytes, error)) return false;
    ++outcome.filesWritten;
  }
  std::error_code fault;
  if (plan.manifest.contains("dataFile")) fs::create_directories(folder / "members", fault);
  const fs::path manifest = folder / "manifest.json";
  const std::string manifestText =
      plan.manifest.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  if (fault || !writeNewFile(manifest, manifestText, error)) {
    if (fault) error = "cannot create \"" + (folder / "members").string() + "\": " + fault.message();
    return false;
  }
  ++outcome.filesWritten;
  outcome.notes = plan.notes;
  checkRebuild(file, manifest, plan, progress, outcome);
  return true;
}
