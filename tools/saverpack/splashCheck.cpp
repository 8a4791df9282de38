#include "tools/saverpack/splashCheck.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "common/pictureCheck.h"
#include "flash/SwfReader.h"
#include "tools/saverpack/fileAccess.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, removed with
// everything in it when this ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    do path_ = fs::temp_directory_path() / ("saverpack-splash-" + std::to_string(seed()));
    while (!fs::create_directory(path_));
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;
  // With the separator the movie reader puts names behind.
  std::string withSeparator() const { return utf8Of(path_ / ""); }

 private:
  fs::path path_;
};

// The folder is made before the reader is called; it never asks again.
int32_t noSecondFolder(std::string &) { return SWF_UNREADABLE; }

std::string refusalOf(int32_t status, const SwfMovieInfo &info) {
  const std::string versions =
      std::to_string(SWF_OLDEST_VERSION) + " to " + std::to_string(SWF_NEWEST_VERSION);
  switch (status) {
    case SWF_BAD_SIGNATURE:
      return "it is no SWF movie (it does not start with \"FWS\" or \"CWS\")";
    case SWF_VERSION_TOO_NEW:
    case SWF_VERSION_TOO_OLD:
      return "its SWF version is " + std::to_string(info.swfVersion) +
             ", and the installer plays versions " + versions;
    case SWF_INFLATES_TOO_FAR:
      return "it expands past the length it states";
    default:
      return "it is cut short or damaged";
  }
}

const EntryPlan *splashEntry(const BuildPlan &plan) {
  for (const EntryPlan &entry : plan.entries)
    if (entry.index == ENTRY_SPLASH) return &entry;
  return nullptr;
}

// The splash as installed, expanded when the manifest gives an implode stream.
bool splashBytes(const EntryPlan &entry, std::vector<uint8_t> &bytes, std::string &error) {
  if (entry.implodedPath.empty()) return readWholeFile(entry.sourcePath, bytes, error);
  std::vector<uint8_t> stream;
  if (!readWholeFile(entry.implodedPath, stream, error)) return false;
  if (dcl::explodeBuffer(stream.data(), stream.size(), bytes) == dcl::CMP_NO_ERROR) return true;
  error = "\"" + entry.implodedPath + "\" is no complete implode stream";
  return false;
}

// What the movie reader says of the movie: "" when it takes it, else the
// reason in words. The reader works on files: the movie and its inflated
// copy are written to a scratch folder.
std::string movieRefusal(const std::vector<uint8_t> &bytes) {
  ScratchFolder folder;
  std::string scratch = folder.withSeparator();
  const std::string path = scratch + "splash.swf";
  std::string error;
  if (!writeNewFile(pathOfUtf8(path), bytes, error)) return error;
  SwfMovieInfo info;
  int32_t status = readSWFFileFormatType(path, info);
  if (status == 0 && info.formatSignature == "CWS") {
    status = inflateSWFFileToTempFile(path, scratch, noSecondFolder);
    if (status == 0) status = readSWFFile_FWS_Format(scratch + UNCOMPRESSED_SWF_NAME, info);
  } else if (status == 0) {
    status = readSWFFile_FWS_Format(path, info);
  }
  if (status != 0) return refusalOf(status, info);
  if (!info.backgroundFound) return "it has no SetBackgroundColor tag before its end";
  return "";
}

}  // namespace

bool checkSplash(const BuildPlan &plan, bool hasPoster, std::vector<std::string> &warnings,
                 std::string &error) {
  const uint8_t type = plan.flags.installerType;
  const bool picture = type == BITMAP_TYPE || type == JPEG_TYPE;
  const EntryPlan *entry = splashEntry(plan);
  if (entry == nullptr || (!picture && !isMovieType(type))) return true;
  const std::string key = entry->key + (entry->implodedPath.empty() ? ".file" : ".imploded");
  std::vector<uint8_t> bytes;
  if (!splashBytes(*entry, bytes, error)) {
    error = key + ": " + error;
    return false;
  }
  std::string fault;
  if (picture) {
    const PictureFormat format = type == JPEG_TYPE ? PictureFormat::jpeg : PictureFormat::bitmap;
    if (pictureDecodes(bytes, format, fault)) return true;
    error =
        key + ": the splash picture cannot be shown (installerType " + std::to_string(type) + "): " + fault;
    return false;
  }
  fault = movieRefusal(bytes);
  if (fault.empty()) return true;
  const std::string message = key + ": the installer's movie reader refuses the splash movie: " + fault;
  if (!hasPoster) {
    error = message + "; give the package a poster to show instead, or another movie";
    return false;
  }
  warnings.push_back(message + "; the installer shows the poster instead");
  return true;
}
