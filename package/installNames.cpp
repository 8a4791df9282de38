#include "package/installNames.h"

#include "package/dataStructures_shared.h"

#include <cctype>

static const size_t CODED_NAME_LIMIT = 8;
static const size_t CODED_PREFIX_LENGTH = 4;
static const size_t CODED_DIGIT_COUNT = 4;

std::string codedShortNameFor(const std::string &name, const std::string &lowerName, uint32_t crc) {
  if (name.size() <= CODED_NAME_LIMIT || name == lowerName) return name;
  const std::string digits = std::to_string(crc);
  const size_t keep = digits.size() < CODED_DIGIT_COUNT ? digits.size() : CODED_DIGIT_COUNT;
  return name.substr(0, CODED_PREFIX_LENGTH) + digits.substr(digits.size() - keep);
}

static bool isCarriedFlashInstaller(const std::string &name) {
  return name == "install_flash_player_10_active_x.exe" ||
         name == "install_flash_player_active_x.exe";
}

std::string entryDestination(int32_t destKind, const std::string &name,
                             const InstallFolders &folders) {
  switch (destKind) {
    case DEST_SAVER_FOLDER:
    case 5:
    case 6:
    case 10:
      return folders.saver + name;
    case DEST_SYSTEM_FOLDER:
      return folders.system + name;
    case DEST_SHARED_LIBRARY:
      if (isCarriedFlashInstaller(name)) return folders.work + name;
      return folders.shared + replaceExtension(name, ".dll");
    case DEST_WORK_FOLDER_LIBRARY:
      return folders.work + (name == "impborl.dat" ? std::string("impborl.dll") : name);
    case DEST_WORK_FOLDER:
      return folders.work + name;
    default:
      return std::string();
  }
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

// Windows drops trailing dots and spaces from a path part, so "..", "..." and
// ". ." all climb to the parent folder; a lone "." stays where it is.
static bool climbsUp(const std::string &part) {
  return part.size() > 1 && part.find_first_not_of(". ") == std::string::npos &&
         part.find('.') != std::string::npos;
}

// "CON", "nul.txt", "COM1" and the like open a device instead of a file.
static bool namesDevice(const std::string &part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char &c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool isSafeEntryName(const std::string &name) {
  return !name.empty() && name != "." && !climbsUp(name) && !namesDevice(name) &&
         name.find_first_of("\\/:") == std::string::npos;
}

bool isSafeMemberPath(const std::string &path) {
  if (path.empty() || path[0] == '\\' || path[0] == '/' || path.find(':') != std::string::npos)
    return false;
  size_t partStart = 0;
  while (partStart <= path.size()) {
    size_t partEnd = path.find_first_of("\\/", partStart);
    if (partEnd == std::string::npos) partEnd = path.size();
    const std::string part = path.substr(partStart, partEnd - partStart);
    if (climbsUp(part) || namesDevice(part)) return false;
    partStart = partEnd + 1;
  }
  return true;
}
