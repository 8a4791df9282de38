#include "tools/saverpack/manifest.h"
#include "tools/saverpack/fileAccess.h"

#include "common/pictureCheck.h"
#include "common/carriedFlashInstallers.h"
#include "common/crcUtils.h"
#include "common/pathRules.h"
#include "package/dataStructures_shared.h"
#include "package/installNames.h"
#include "package/installedSaver.h"
#include "package/posterRange.h"
#include "package/uninstallMark.h"
#include "tools/saverpack/manifestFields.h"
#include "tools/saverpack/propertyKeys.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Lower case as Windows has it in the Western code page (1252), for the
// coded short name that the installer computes in the user's locale.
char lowerCase(char c) {
  const uint8_t byte = static_cast<uint8_t>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
    return static_cast<char>(byte + 0x20);
  if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<char>(byte + 0x10);
  return byte == 0x9F ? static_cast<char>(0xFF) : c;
}

std::string lowerCased(std::string text) {
  for (char &c : text) c = lowerCase(c);
  return text;
}

std::string plainName(const Fields &fields, const char *key, const std::string &name) {
  require(name.size() <= PACKAGE_ENTRY_NAME_MAX, fields.key(key) + ": longer than 255 bytes: " + name);
  require(isSafeEntryName(name), fields.key(key) + ": must be a plain file name: " + name);
  return name;
}

EntryPlan readEntry(const json &object, const std::string &where, const BuildPlan &plan,
                    const fs::path &base) {
  const Fields fields(object, where, {"index", "file", "imploded", "name", "destKind", "compressed"});
  EntryPlan entry;
  entry.key = where;
  entry.index = static_cast<int>(fields.integer("index", 0, ENTRY_LAST));
  require(entry.index != ENTRY_CODEC_LIBRARY, fields.key("index") + ": entry 1 is the codecLibrary");
  require(fields.has("file") != fields.has("imploded"),
          where + ": give either file or imploded (an implode stream carried as it is)");
  if (fields.has("file")) {
    entry.sourcePath = fields.file("file", base);
    entry.compressed = fields.flag("compressed") != 0;
  } else {
    require(!fields.has("compressed"), fields.key("compressed") + ": an imploded entry is compressed");
    entry.implodedPath = fields.file("imploded", base);
    entry.compressed = true;
  }
  if (entry.index == ENTRY_SAVER_PROGRAM) {
    const std::string expected = saverProgramNameFor(plan.flags.saverName);
    entry.name = fields.has("name") ? fields.text("name") : expected;
    require(entry.name == expected, fields.key("name") + ": entry 6 is installed as \"" + expected +
                                        "\" (the coded short name of saverName, and \".scr\"), not \"" +
                                        entry.name + "\"; leave name out to get it");
  } else if (fields.has("name")) {
    entry.name = plainName(fields, "name", fields.text("name"));
  } else {
    require(!entry.sourcePath.empty(), fields.key("name") + " is missing (needed with imploded)");
    entry.name = plainName(fields, "file", utf8Of(pathOfUtf8(entry.sourcePath).filename()));
  }
  // Entry 0 is never extracted, so any destKind goes there.
  const int64_t destKind = fields.integer("destKind", INT32_MIN, INT32_MAX);
  entry.destKind = static_cast<int32_t>(destKind);
  require(entry.index == 0 || destinationOf(entry.destKind) != Destination::None,
          fields.key("destKind") + ": " + std::to_string(destKind) + " has no destination");
  return entry;
}

void addMember(DataFilePlan &dataFile, const std::string &where, const MemberPlan &member) {
  require(member.path.size() < MEMBER_PATH_FIELD,
          where + ": member path longer than 255 bytes: " + member.path);
  require(isSafeMemberPath(member.path), where + ": member path leaves the saver folder: " + member.path);
  dataFile.members.push_back(member);
  require(dataFile.members.size() <= static_cast<size_t>(MAX_DATA_MEMBERS),
          where + ": more than 1010 members");
}

DataFilePlan readDataFile(const json &object, const fs::path &base) {
  const Fields fields(object, "dataFile",
                      {"name", "compressed", "settings", "members", "compressMembers", "movieCopies"});
  DataFilePlan dataFile;
  dataFile.name = plainName(fields, "name", fields.text("name"));
  dataFile.compressed = fields.flag("compressed") != 0;
  if (fields.has("settings")) dataFile.settingsPath = fields.file("settings", base);
  if (fields.has("movieCopies")) {
    const json &copies = fields.at("movieCopies");
    require(copies.is_array(), fields.key("movieCopies") + " must be a list of paths");
    for (size_t i = 0; i < copies.size(); ++i) {
      const std::string where = fields.key("movieCopies") + "[" + std::to_string(i) + "]";
      require(copies[i].is_string(), where + " must be a path");
      addMember(dataFile, where, {copies[i].get<std::string>(), "", MEMBER_TYPE_MOVIE_COPY, false});
    }
  }
  const fs::path folder = fields.folder("members", base);
  const bool compress = fields.flag("compressMembers") != 0;
  for (const fs::path &file : memberFilesIn(folder)) {
    std::string path = genericUtf8Of(fs::relative(file, folder));
    std::replace(path.begin(), path.end(), '/', '\\');
    addMember(dataFile, fields.key("members"), {path, file.string(), 0, compress});
  }
  return dataFile;
}

std::map<uint32_t, std::vector<uint8_t>> readHeaderBytes(const json &object) {
  require(object.is_object(), "headerBytes must be an object of offsets and hex bytes");
  std::map<uint32_t, std::vector<uint8_t>> bytes;
  for (auto item = object.begin(); item != object.end(); ++item) {
    const std::string where = "headerBytes[\"" + item.key() + "\"]";
    require(!item.key().empty() && item.key().size() <= 4 &&
                item.key().find_first_not_of("0123456789") == std::string::npos,
            where + ": the key must be a byte offset in the header");
    const std::string hex = item.value().is_string() ? item.value().get<std::string>() : "";
    require(!hex.empty() && hex.size() % 2 == 0 &&
                hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos,
            where + " must be a text of hex digit pairs");
    std::vector<uint8_t> &run = bytes[static_cast<uint32_t>(std::stoul(item.key()))];
    for (size_t i = 0; i < hex.size(); i += 2)
      run.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

void requireEntry(const std::set<int> &present, int index, const std::string &reason) {
  require(present.contains(index),
          "entries: the package has no entry " + std::to_string(index) + " (" + reason + ")");
}

void checkRoles(const BuildPlan &plan) {
  std::set<int> present = {ENTRY_CODEC_LIBRARY};
  for (const EntryPlan &entry : plan.entries)
    require(present.insert(entry.index).second,
            entry.key + ".index: entry " + std::to_string(entry.index) + " is given twice");
  if (plan.hasDataFile) require(present.insert(ENTRY_DATA_FILE).second, "dataFile: entry 8 is given twice");
  for (int index = ENTRY_SAVER_PROGRAM; index <= ENTRY_LAST; ++index)
    requireEntry(present, index, "entries 6 to 10 are installed");
  const PackageFlags &flags = plan.flags;
  if (flags.showLicense) requireEntry(present, ENTRY_LICENSE, "showLicense");
  if (flags.carriesReadMe) requireEntry(present, ENTRY_README, "carriesReadMe");
  if (flags.carriesFlashInstaller) requireEntry(present, ENTRY_FLASH_INSTALLER, "carriesFlashInstaller");
  const uint8_t type = flags.installerType;
  if (type == BITMAP_TYPE || isMovieType(type) || type == JPEG_TYPE)
    requireEntry(present, ENTRY_SPLASH, "installerType");
}

std::string uninstallKey() { return propertyKeyOf(&PackageProperties::uninstallMark); }

// The uninstaller: the key, else saverremove.exe beside the installer.
void addUninstaller(const Fields &fields, const fs::path &base, BuildPlan &plan) {
  if (fields.has("uninstaller")) {
    plan.uninstallerPath = fields.file("uninstaller", base);
  } else {
    const fs::path beside = pathOfUtf8(plan.installerPath).parent_path() / UNINSTALLER_FILE_NAME;
    require(fs::is_regular_file(beside), fields.key("uninstaller") + " is missing, and there is no " +
                                             UNINSTALLER_FILE_NAME + " beside the installer (" +
                                             utf8Of(beside) + "); or set " + uninstallKey() + " to \"" +
                                             propertyWordOf(&PackageProperties::uninstallMark, 0) + "\"");
    plan.uninstallerPath = beside.string();
  }
  for (const MemberPlan &member : plan.dataFile.members)
    require(lowerCased(member.path) != UNINSTALLER_FILE_NAME,
            "dataFile.members: the member " + member.path + " would take the uninstaller's place");
  addMember(plan.dataFile, fields.key("uninstaller"),
            {UNINSTALLER_FILE_NAME, plan.uninstallerPath, 0, true});
}

// The keys that set the package's header fields.
void readFlags(const Fields &fields, PackageFlags &flags) {
  flags.saverName = fields.text("saverName");
  require(!flags.saverName.empty(), "saverName is empty");
  require(flags.saverName.size() <= SAVER_NAME_FIELD, "saverName longer than 64 bytes: " + flags.saverName);
  require(isSafeEntryName(saverProgramNameFor(flags.saverName)), "saverName: its coded short name \"" +
                                                                     saverProgramNameFor(flags.saverName) +
                                                                     "\" is no plain file name");
  flags.installerType = static_cast<uint8_t>(fields.integer("installerType", 0, 255));
  flags.showLicense = fields.flag("showLicense");
  flags.carriesReadMe = fields.flag("carriesReadMe");
  flags.carriesFlashInstaller = fields.flag("carriesFlashInstaller");
  if (flags.carriesFlashInstaller)
    flags.flashInstallerVersionIndex = static_cast<uint8_t>(
        fields.integer("flashInstallerVersionIndex", 0, CARRIED_FLASH_INSTALLER_COUNT - 1));
  else if (fields.has("flashInstallerVersionIndex"))
    flags.flashInstallerVersionIndex =
        static_cast<uint8_t>(fields.integer("flashInstallerVersionIndex", 0, 255));
  flags.offerControlPanel = fields.flag("offerControlPanel");
  if (fields.has("headerBytes")) flags.headerBytes = readHeaderBytes(fields.at("headerBytes"));
}

// The uninstall mark: "carried" puts the uninstaller into the data file;
// a whole number is the mark alone, as extract writes it for a data file it
// carries whole.
void addUninstallerAsMarked(const Fields &fields, const fs::path &base, BuildPlan &plan) {
  const std::string key = uninstallKey();
  const std::string carried = propertyWordOf(&PackageProperties::uninstallMark, UNINSTALLER_CARRIED);
  const bool marked = plan.flags.properties.uninstallMark == UNINSTALLER_CARRIED;
  require(!marked || plan.hasDataFile || fields.at(key.c_str()).is_number_integer(),
          fields.key(key) + ": \"" + carried +
              "\" puts the uninstaller into the data file, which needs dataFile");
  if (marked && plan.hasDataFile)
    addUninstaller(fields, base, plan);
  else
    require(!fields.has("uninstaller"), fields.key("uninstaller") + ": only a package whose " + key +
                                            " is \"" + carried + "\" carries the uninstaller");
}

// The poster, read and decoded as the installer will; only a movie splash
// may need one.
void readPoster(const Fields &fields, const fs::path &base, PackageFlags &flags) {
  const std::string path = fields.file("poster", base);
  std::string error;
  require(readWholeFile(path, flags.poster, error), fields.key("poster") + ": " + error);
  require(flags.poster.size() <= POSTER_MAX, fields.key("poster") + ": longer than 16 MiB");
  const PosterFormat format = posterFormatOf(flags.poster);
  std::string fault = "it is neither a bitmap nor a JPEG";
  const bool shown =
      format != PosterFormat::unknown &&
      pictureDecodes(flags.poster,
                     format == PosterFormat::jpeg ? PictureFormat::jpeg : PictureFormat::bitmap, fault);
  require(shown, fields.key("poster") + ": the installer cannot show " + path + ": " + fault);
  require(isMovieType(flags.installerType),
          fields.key("poster") + ": only a movie splash (installerType 2 or 3) is shown as a poster");
}

void readPlan(const json &manifest, const fs::path &base, BuildPlan &plan) {
  std::set<std::string> keys = {"saverName",
                                "installerType",
                                "showLicense",
                                "carriesReadMe",
                                "carriesFlashInstaller",
                                "flashInstallerVersionIndex",
                                "offerControlPanel",
                                "launcher",
                                "installer",
                                "uninstaller",
                                "codecLibrary",
                                "entries",
                                "dataFile",
                                "headerBytes",
                                "poster"};
  for (const std::string &key : propertyKeyNames()) keys.insert(key);
  const Fields fields(manifest, "", keys);
  readFlags(fields, plan.flags);
  if (fields.has("poster")) readPoster(fields, base, plan.flags);
  if (fields.has("launcher")) plan.launcherPath = fields.file("launcher", base);
  plan.installerPath = fields.file("installer", base);
  plan.codecLibraryPath = fields.file("codecLibrary", base);
  require(fields.has("entries") && fields.at("entries").is_array(), "entries must be a list");
  const json &entries = fields.at("entries");
  for (size_t i = 0; i < entries.size(); ++i)
    plan.entries.push_back(readEntry(entries[i], "entries[" + std::to_string(i) + "]", plan, base));
  if (fields.has("dataFile")) {
    plan.hasDataFile = true;
    plan.dataFile = readDataFile(fields.at("dataFile"), base);
  }
  readPropertyKeys(fields, {plan.flags, plan.hasDataFile}, plan.flags.properties);
  addUninstallerAsMarked(fields, base, plan);
  checkRoles(plan);
}

}  // namespace

std::vector<fs::path> memberFilesIn(const fs::path &folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry &item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file()) files.push_back(item.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string saverProgramNameFor(const std::string &saverName) {
  const std::string lowerName = lowerCased(saverName);
  uint32_t crc = 0;
  Crc32OfString(saverName, crc);
  return saverProgramName(codedShortNameFor(saverName, lowerName, crc));
}

bool loadBuildPlan(const std::string &manifestPath, BuildPlan &plan, std::string &error) {
  std::ifstream in(manifestPath, std::ios::binary);
  if (!in) {
    error = "cannot open the manifest \"" + manifestPath + "\"";
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
