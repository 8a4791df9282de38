#include "tools/saverpack/init.h"

#include "common/pathRules.h"
#include "package/dataStructures_shared.h"
#include "package/installNames.h"
#include "package/installedSaver.h"
#include "package/integrityRecord.h"
#include "package/packageProperties.h"
#include "package/uninstallMark.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/propertyKeys.h"
#include "tools/saverpack/sampleFiles.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using nlohmann::ordered_json;

namespace {

const int PROGRAM_COUNT = 4;
const char *const PROGRAM_NAMES[PROGRAM_COUNT] = {"saverstart.exe", "saversetup.exe", CODEC_LIBRARY_FILE,
                                                  UNINSTALLER_FILE_NAME};
// The folder of each program in the Windows build tree.
const char *const BUILD_TREE_FOLDERS[PROGRAM_COUNT] = {"launcher", "installer", "codec", "uninstaller"};
const char *const NO_FOLDERS[PROGRAM_COUNT] = {"", "", "", ""};

std::string programList() {
  return std::string(PROGRAM_NAMES[0]) + ", " + PROGRAM_NAMES[1] + ", " + PROGRAM_NAMES[2] + " and " +
         PROGRAM_NAMES[3];
}

bool isFile(const fs::path &path) {
  std::error_code fault;
  return fs::is_regular_file(path, fault);
}

bool allIn(const fs::path &folder, const char *const (&subFolders)[PROGRAM_COUNT],
           fs::path (&found)[PROGRAM_COUNT]) {
  for (int i = 0; i < PROGRAM_COUNT; ++i)
    found[i] = fs::absolute(folder / subFolders[i] / PROGRAM_NAMES[i]);
  return std::all_of(std::begin(found), std::end(found), isFile);
}

// The launcher, the installer, the codec library and the uninstaller: from
// --programs, else beside saverpack, else in the Windows build tree of this
// source tree.
bool findPrograms(const InitOptions &options, fs::path (&found)[PROGRAM_COUNT], std::string &error) {
  if (!options.programsFolder.empty()) {
    if (allIn(pathOfUtf8(options.programsFolder), NO_FOLDERS, found)) return true;
    error = "--programs " + options.programsFolder + ": the folder must hold " + programList();
    return false;
  }
  if (!options.toolPath.empty() && allIn(pathOfUtf8(options.toolPath).parent_path(), NO_FOLDERS, found))
    return true;
  if (allIn(fs::path(SAVERPACK_WIN32_BUILD), BUILD_TREE_FOLDERS, found)) return true;
  error = "cannot find " + programList() + " beside saverpack or in " + std::string(SAVERPACK_WIN32_BUILD) +
          " (build the win32 preset): give --programs FOLDER";
  return false;
}

// The sample screen saver of the Windows build, when there is one.
fs::path findSampleSaver() {
  const fs::path examples = fs::path(SAVERPACK_WIN32_BUILD) / "examples";
  std::error_code fault;
  std::vector<fs::path> savers;
  if (fs::is_directory(examples, fault))
    for (const fs::directory_entry &item : fs::recursive_directory_iterator(examples, fault))
      if (item.is_regular_file() && item.path().extension() == ".scr") savers.push_back(item.path());
  std::sort(savers.begin(), savers.end());
  return savers.empty() ? fs::path() : savers.front();
}

std::string defaultSaverName(const fs::path &folder) {
  const std::string name = utf8Of(fs::absolute(folder).lexically_normal().filename());
  const bool fits = !name.empty() && name.size() <= static_cast<size_t>(SAVER_NAME_FIELD) &&
                    isSafeEntryName(saverProgramNameFor(name));
  return fits ? name : "My Screen Saver";
}

class SourceWriter {
 public:
  SourceWriter(const fs::path &folder, std::ostream &out) : folder_(folder), out_(out) {}
  // Writes path unless it is there already (a maker's own file stays).
  bool write(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error) {
    const fs::path target = folder_ / pathOfUtf8(path);
    if (fs::exists(target)) {
      out_ << "  kept     " << path << "\n";
      return true;
    }
    if (!writeNewFile(target, bytes, error)) return false;
    out_ << "  wrote    " << path << "\n";
    return true;
  }
  bool write(const std::string &path, const std::string &text, std::string &error) {
    return write(path, std::vector<uint8_t>(text.begin(), text.end()), error);
  }

 private:
  fs::path folder_;
  std::ostream &out_;
};

ordered_json entry(int index, const std::string &file, int destKind, bool compressed) {
  ordered_json item = {{"index", index}, {"file", file}, {"destKind", destKind}};
  if (compressed) item["compressed"] = true;
  return item;
}

// The sample files the manifest names, and the saver program as saverFile.
bool writeSampleFiles(SourceWriter &writer, const std::string &saverName, const std::string &saverFile,
                      const std::vector<uint8_t> &saverBytes, std::string &error) {
  return writer.write("splash.bmp", sampleBitmap(240, 160, 90), error) &&
         writer.write("licence.rtf", sampleLicence(saverName), error) &&
         writer.write("readme.txt", sampleReadMe(saverName), error) &&
         writer.write(saverFile, saverBytes, error) &&
         writer.write("about.txt", sampleNote("about", saverName), error) &&
         writer.write("credits.txt", sampleNote("credits", saverName), error) &&
         writer.write("history.txt", sampleNote("history", saverName), error) &&
         writer.write("members/pictures/sample.bmp", sampleBitmap(320, 200, 200), error);
}

ordered_json sourceManifest(const std::string &saverName, const fs::path (&programs)[PROGRAM_COUNT],
                            const std::string &saverFile) {
  ordered_json manifest = {{"saverName", saverName},
                           {"installerType", BITMAP_TYPE},
                           {"showLicense", true},
                           {"carriesReadMe", true},
                           {"offerControlPanel", true}};
  PackageProperties properties;
  // A picture splash: the saver needs no movie player.
  properties.moviePlayer = static_cast<uint8_t>(MoviePlayerNeed::none);
  // The package carries its own uninstaller.
  properties.uninstallMark = UNINSTALLER_CARRIED;
  describePropertyKeys(properties, manifest);
  manifest["launcher"] = utf8Of(programs[0]);
  manifest["installer"] = utf8Of(programs[1]);
  manifest["uninstaller"] = utf8Of(programs[3]);
  manifest["codecLibrary"] = utf8Of(programs[2]);
  manifest["entries"] = {entry(ENTRY_SPLASH, "splash.bmp", DEST_WORK_FOLDER, true),
                         entry(ENTRY_LICENSE, "licence.rtf", DEST_WORK_FOLDER, true),
                         entry(ENTRY_README, "readme.txt", DEST_WORK_FOLDER, true),
                         entry(ENTRY_SAVER_PROGRAM, saverFile, DEST_SYSTEM_FOLDER, true),
                         entry(7, "about.txt", DEST_SAVER_FOLDER, true),
                         entry(9, "credits.txt", DEST_SAVER_FOLDER, true),
                         entry(ENTRY_LAST, "history.txt", DEST_SAVER_FOLDER, true)};
  manifest["dataFile"] = {{"name", "saverdata.dat"}, {"members", "members"}, {"compressMembers", true}};
  return manifest;
}

}  // namespace

bool initPackageSource(const InitOptions &options, std::ostream &out, std::string &error) {
  const fs::path folder = pathOfUtf8(options.folder);
  const fs::path manifestPath = folder / "manifest.json";
  if (fs::exists(manifestPath)) {
    error = "\"" + manifestPath.string() + "\" exists already; init writes a new package source only";
    return false;
  }
  const std::string saverName = options.saverName.empty() ? defaultSaverName(folder) : options.saverName;
  if (saverName.size() > static_cast<size_t>(SAVER_NAME_FIELD) ||
      !isSafeEntryName(saverProgramNameFor(saverName))) {
    error =
        "--name: \"" + saverName + "\" cannot name a screen saver (at most 64 bytes, a plain file name)";
    return false;
  }
  fs::path programs[PROGRAM_COUNT];
  if (!findPrograms(options, programs, error)) return false;
  fs::path saver = options.saverProgram.empty() ? findSampleSaver() : pathOfUtf8(options.saverProgram);
  std::vector<uint8_t> saverBytes;
  if (!saver.empty() && !readWholeFile(saver.string(), saverBytes, error)) {
    error = "--saver: " + error;
    return false;
  }
  if (saver.empty()) {
    const std::string placeholder = placeholderSaverProgram(saverName);
    saverBytes.assign(placeholder.begin(), placeholder.end());
  }
  const std::string saverFile = saver.empty() ? "placeholder.scr" : utf8Of(saver.filename());

  out << "saverpack init: a package source for \"" << saverName << "\" in " << folder.string() << "\n";
  SourceWriter writer(folder, out);
  if (!writeSampleFiles(writer, saverName, saverFile, saverBytes, error)) return false;
  const ordered_json manifest = sourceManifest(saverName, programs, saverFile);
  if (!writer.write("manifest.json", manifest.dump(2) + "\n", error)) return false;
  if (saver.empty())
    out << "placeholder.scr only stands in for your screen saver program: replace it before you ship.\n";
  out << "next: saverpack build " << manifestPath.string() << " -o Setup.exe\n";
  return true;
}
