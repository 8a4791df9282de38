#include "tools/saverpack/packageBuilder.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/packageFormat.h"

#include <algorithm>
#include <cstring>

bool implodeBytes(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded) {
  imploded.clear();
  return dcl::implodeBuffer(bytes.data(), bytes.size(), dcl::CMP_BINARY, 4096, imploded) ==
         dcl::CMP_NO_ERROR;
}

bool buildPackage(const PackageFlags &flags, const std::vector<CarriedFile> &files,
                  uint32_t programSize, std::vector<uint8_t> &package, std::string &error) {
  InstallerHeader header;
  std::memset(&header, 0, sizeof(header));
  header.installerType = flags.installerType;
  header.showLicense = flags.showLicense;
  header.carriesReadMe = flags.carriesReadMe;
  header.carriesFlashInstaller = flags.carriesFlashInstaller;
  header.flashInstallerVersionIndex = flags.flashInstallerVersionIndex;
  header.offerControlPanel = flags.offerControlPanel;
  std::memcpy(header.saverName, flags.saverName.data(),
              std::min(flags.saverName.size(), sizeof(header.saverName)));

  package.assign(sizeof(header), 0);
  for (const CarriedFile &file : files) {
    std::vector<uint8_t> imploded;
    if (file.compressed && !implodeBytes(file.bytes, imploded)) {
      error = "cannot compress entry " + std::to_string(file.index) + " (" + file.name + ")";
      return false;
    }
    const std::vector<uint8_t> &stored = file.compressed ? imploded : file.bytes;
    const int64_t start = static_cast<int64_t>(programSize) + static_cast<int64_t>(package.size());
    if (start + static_cast<int64_t>(stored.size()) > INT32_MAX) {
      error = "the package outgrows 2 GB at entry " + std::to_string(file.index);
      return false;
    }
    PackageEntry &entry = header.entries[file.index];
    setEntryName(entry, file.name);
    entry.start = static_cast<int32_t>(start);
    entry.end = static_cast<int32_t>(start + static_cast<int64_t>(stored.size()) - 1);
    entry.destKind = file.destKind;
    entry.compressed = file.compressed ? 1 : 0;
    entry.expandedSize = static_cast<int32_t>(file.bytes.size());
    package.insert(package.end(), stored.begin(), stored.end());
  }
  std::memcpy(package.data(), &header, sizeof(header));
  return true;
}
