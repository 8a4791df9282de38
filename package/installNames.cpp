#include "package/installNames.h"

#include "common/launcherProtocol.h"

#include "common/carriedFlashInstallers.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/packageFormat.h"

const char CODEC_LIBRARY_FILE[] = "impborl.dll";
const char CODEC_LIBRARY_ENTRY[] = "impborl.dat";

static const size_t CODED_NAME_LIMIT = 8;
static const size_t CODED_PREFIX_LENGTH = 4;
static const size_t CODED_DIGIT_COUNT = 4;

std::string codedShortNameFor(const std::string &name, const std::string &lowerName, uint32_t crc) {
  if (name.size() <= CODED_NAME_LIMIT || name == lowerName) return name;
  const std::string digits = std::to_string(crc);
  const size_t keep = digits.size() < CODED_DIGIT_COUNT ? digits.size() : CODED_DIGIT_COUNT;
  return name.substr(0, CODED_PREFIX_LENGTH) + digits.substr(digits.size() - keep);
}

Destination destinationOf(int32_t destKind) {
  switch (destKind) {
    case DEST_SAVER_FOLDER:
    case 5:
    case 6:
    case 10:
      return Destination::SaverFolder;
    case DEST_SYSTEM_FOLDER:
      return Destination::SystemFolder;
    case DEST_SHARED_LIBRARY:
      return Destination::SharedLibrary;
    case DEST_WORK_FOLDER_LIBRARY:
      return Destination::WorkFolderLibrary;
    case DEST_WORK_FOLDER:
      return Destination::WorkFolder;
    default:
      return Destination::None;
  }
}

std::string entryDestination(int32_t destKind, const std::string &name, const InstallFolders &folders) {
  switch (destinationOf(destKind)) {
    case Destination::SaverFolder:
      return folders.saver + name;
    case Destination::SystemFolder:
      return folders.system + name;
    case Destination::SharedLibrary:
      if (isKnownFlashInstallerName(name)) return folders.work + name;
      return folders.shared + replaceExtension(name, ".dll");
    case Destination::WorkFolderLibrary:
      return folders.work + (name == CODEC_LIBRARY_ENTRY ? std::string(CODEC_LIBRARY_FILE) : name);
    case Destination::WorkFolder:
      return folders.work + name;
    case Destination::None:
      break;
  }
  return std::string();
}

int32_t entryTarget(const PackageEntry &entry, const InstallFolders &folders, std::string &destination) {
  const std::string name = entryNameOf(entry);
  if (!isSafeEntryName(name)) {
    destination = name;
    return STATUS_UNSAFE_NAME;
  }
  destination = entryDestination(entry.destKind, name, folders);
  return destination.empty() ? SYSTEM_ERROR_PATH_NOT_FOUND : STATUS_OK;
}

static size_t extensionStart(const std::string &path) {
  const size_t dot = path.find_last_of(".\\/:");
  return dot != std::string::npos && path[dot] == '.' ? dot : path.size();
}

bool hasDllExtension(const std::string &path) { return path.substr(extensionStart(path)) == ".dll"; }

std::string replaceExtension(const std::string &name, const std::string &extension) {
  return name.substr(0, extensionStart(name)) + extension;
}

std::string splashNameFor(const std::string &name, uint8_t installerType) {
  if (installerType == BITMAP_TYPE) return replaceExtension(name, ".BMP");
  if (installerType == JPEG_TYPE) return replaceExtension(name, ".jpg");
  return name;
}

std::string packageCopyPath(const std::string &workFolder) { return workFolder + PACKAGE_COPY_NAME; }
