// The coded short name in a file of its own: the sample saver checks its own
// name with it without taking in the installer's package operations.
#include "package/codedShortName.h"

#include "common/crcUtils.h"
#include "package/installNames.h"

#include <windows.h>

std::string getCodedShortFilenameForScreensaver(const std::string &name) {
  std::string lowerName = name;
  if (!lowerName.empty()) CharLowerBuffA(lowerName.data(), static_cast<DWORD>(lowerName.size()));
  uint32_t crc = 0;
  Crc32OfString(name, crc);
  return codedShortNameFor(name, lowerName, crc);
}
