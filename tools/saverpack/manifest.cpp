#include "tools/saverpack/manifest.h"

#include "common/carriedFlashInstallers.h"
#include "common/pathRules.h"
#include "package/installNames.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct ManifestError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string &message) {
  if (!condition) throw ManifestError(message);
}

void allowOnly(const json &object, const std::string &where, std::set<std::string> keys) {
  require(object.is_object(), where + " must be an object");
  for (auto item = object.begin(); item != object.end(); ++item)
    require(keys.count(item.key()) != 0, where + ": unknown key \"" + item.key() + "\"");
}

bool flag(const json &object, const char *key) {
  if (!object.contains(key)) return false;
  require(object[key].is_boolean(), std::string(key) + " must be true or false");
  return object[key].get<bool>();
}

int integer(const json &object, const char *key, const std::string &where, int low, int high) {
  require(object.contains(key), where + ": " + key + " is missing");
  const json &value = object[key];
  require(value.is_number_integer(), where + ": " + key + " must be a whole number");
  const int64_t number = value.get<int64_t>();
  require(number >= low && number <= high, where + ": " + key + " " + std::to_string(number) +
                                               " is outside " + std::to_string(low) + ".." +
                                               std::to_string(high));
  return static_cast<int>(number);
}

std::string text(const json &object, const char *key, const std::string &where) {
  require(object.contains(key), where + ": " + key + " is missing");
  require(object[key].is_string(), where + ": " + key + " must be a text");
  return object[key].get<std::string>();
}

std::string existingFile(const fs::path &base, const std::string &path, const std::string &what) {
  const fs::path full = base / path;
  require(fs::is_regular_file(full), what + ": file not found: " + full.string());
  return full.string();
}

bool hasDestination(int destKind) { return destinationOf(destKind) != Destination::None; }

EntryPlan readEntry(const json &object, const fs::path &base) {
  allowOnly(object, "entry", {"index", "file", "name", "destKind", "compressed"});
  EntryPlan entry;
  entry.index = integer(object, "index", "entry", 0, ENTRY_LAST);
  const std::string where = "entry " + std::to_string(entry.index);
  require(entry.index != ENTRY_CODEC_LIBRARY, where + ": entry 1 is the codecLibrary");
  entry.sourcePath = existingFile(base, text(object, "file", where), where);
  entry.name = object.contains("name") ? text(object, "name", where)
                                       : fs::path(entry.sourcePath).filename().string();
  require(entry.name.size() <= PACKAGE_ENTRY_NAME_MAX,
          where + ": name longer than 255 bytes: " + entry.name);
  require(isSafeEntryName(entry.name), where + ": name must be a plain file name: " + entry.name);
  entry.destKind = integer(object, "destKind", where, INT32_MIN, INT32_MAX);
  require(hasDestination(entry.destKind),
          where + ": destKind " + std::to_string(entry.destKind) + " has no destination");
  entry.compressed = flag(object, "compressed");
  return entry;
}

std::string memberPathFrom(const fs::path &relative) {
  std::string path = relative.generic_string();
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void addMember(DataFilePlan &dataFile, MemberPlan member) {
  require(member.path.size() < MEMBER_PATH_FIELD, "member path longer than 255 bytes: " + member.path);
  require(isSafeMemberPath(member.path), "member path leaves the saver folder: " + member.path);
  dataFile.members.push_back(member);
  require(dataFile.members.size() <= static_cast<size_t>(MAX_DATA_MEMBERS),
          "dataFile: more than 1010 members");
}

DataFilePlan readDataFile(const json &object, const fs::path &base) {
  const std::string where = "dataFile";
  allowOnly(object, where,
            {"name", "compressed", "settings", "members", "compressMembers", "movieCopies"});
  DataFilePlan dataFile;
  dataFile.name = text(object, "name", where);
  require(dataFile.name.size() <= PACKAGE_ENTRY_NAME_MAX, where + ": name longer than 255 bytes");
  require(isSafeEntryName(dataFile.name), where + ": name must be a plain file name");
  dataFile.compressed = flag(object, "compressed");
  if (object.contains("settings"))
    dataFile.settingsPath = existingFile(base, text(object, "settings", where), where + " settings");
  if (object.contains("movieCopies")) {
    require(object["movieCopies"].is_array(), where + ": movieCopies must be a list of paths");
    for (const json &copy : object["movieCopies"]) {
      require(copy.is_string(), where + ": movieCopies must be a list of paths");
      addMember(dataFile, {copy.get<std::string>(), "", MEMBER_TYPE_MOVIE_COPY, false});
    }
  }
  const fs::path folder = base / text(object, "members", where);
  require(fs::is_directory(folder), where + ": members folder not found: " + folder.string());
  std::vector<fs::path> files;
  for (const fs::directory_entry &item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file()) files.push_back(item.path());
  std::sort(files.begin(), files.end());
  const bool compress = flag(object, "compressMembers");
  for (const fs::path &file : files)
    addMember(dataFile, {memberPathFrom(fs::relative(file, folder)), file.string(), 0, compress});
  return dataFile;
}

void requireEntry(const std::set<int> &present, int index, const std::string &reason) {
  require(present.count(index) != 0, "the package has no entry " + std::to_string(index) + " (" +
                                         reason + ")");
}

void checkRoles(const BuildPlan &plan) {
  std::set<int> present = {ENTRY_CODEC_LIBRARY};
  for (const EntryPlan &entry : plan.entries) {
    require(present.insert(entry.index).second,
            "entry " + std::to_string(entry.index) + " is given twice");
  }
  if (plan.hasDataFile) require(present.insert(ENTRY_DATA_FILE).second, "entry 8 is given twice");
  for (int index = ENTRY_SAVER_PROGRAM; index <= ENTRY_LAST; ++index)
    requireEntry(present, index, "entries 6 to 10 are installed");
  const PackageFlags &flags = plan.flags;
  if (flags.showLicense) requireEntry(present, ENTRY_LICENSE, "showLicense");
  if (flags.carriesReadMe) requireEntry(present, ENTRY_README, "carriesReadMe");
  if (flags.carriesFlashInstaller) requireEntry(present, ENTRY_FLASH_INSTALLER, "carriesFlashInstaller");
  const int type = flags.installerType;
  if (type == 1 || type == 2 || type == 3 || type == 8) requireEntry(present, ENTRY_SPLASH, "installerType");
}

void readPlan(const json &manifest, const fs::path &base, BuildPlan &plan) {
  allowOnly(manifest, "manifest",
            {"saverName", "installerType", "showLicense", "carriesReadMe", "carriesFlashInstaller",
             "flashInstallerVersionIndex", "offerControlPanel", "launcher", "installer",
             "codecLibrary", "entries", "dataFile"});
  PackageFlags &flags = plan.flags;
  flags.saverName = text(manifest, "saverName", "manifest");
  require(!flags.saverName.empty(), "saverName is empty");
  require(flags.saverName.size() <= SAVER_NAME_FIELD,
          "saverName longer than 64 bytes: " + flags.saverName);
  flags.installerType = static_cast<uint8_t>(integer(manifest, "installerType", "manifest", 0, 255));
  flags.showLicense = flag(manifest, "showLicense");
  flags.carriesReadMe = flag(manifest, "carriesReadMe");
  flags.carriesFlashInstaller = flag(manifest, "carriesFlashInstaller");
  if (flags.carriesFlashInstaller)
    flags.flashInstallerVersionIndex = static_cast<uint8_t>(integer(
        manifest, "flashInstallerVersionIndex", "manifest", 0, CARRIED_FLASH_INSTALLER_COUNT - 1));
  flags.offerControlPanel = flag(manifest, "offerControlPanel");

  if (manifest.contains("launcher"))
    plan.launcherPath = existingFile(base, text(manifest, "launcher", "manifest"), "launcher");
  plan.installerPath = existingFile(base, text(manifest, "installer", "manifest"), "installer");
  plan.codecLibraryPath =
      existingFile(base, text(manifest, "codecLibrary", "manifest"), "codecLibrary");
  require(manifest.contains("entries") && manifest["entries"].is_array(),
          "manifest: entries must be a list");
  for (const json &entry : manifest["entries"]) plan.entries.push_back(readEntry(entry, base));
  if (manifest.contains("dataFile")) {
    plan.hasDataFile = true;
    plan.dataFile = readDataFile(manifest["dataFile"], base);
  }
  checkRoles(plan);
}

}  // namespace

bool loadBuildPlan(const std::string &manifestPath, BuildPlan &plan, std::string &error) {
  std::ifstream in(manifestPath, std::ios::binary);
  if (!in) {
    error = "manifest not found: " + manifestPath;
    return false;
  }
  try {
    const json manifest = json::parse(in);
    readPlan(manifest, fs::path(manifestPath).parent_path(), plan);
  } catch (const json::exception &fault) {
    error = manifestPath + ": " + fault.what();
    return false;
  } catch (const ManifestError &fault) {
    error = manifestPath + ": " + fault.what();
    return false;
  } catch (const fs::filesystem_error &fault) {
    error = manifestPath + ": " + fault.what();
    return false;
  }
  return true;
}
