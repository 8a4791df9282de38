// Fuzz target: an installer file of any bytes. The header is read behind a
// program of the first byte's length, then every entry's stored bytes and
// the package's properties.
#include "package/packageFormat.h"
#include "package/packageProperties.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  MemorySource source(data, size);
  InstallerHeader header;
  if (readInstallerHeader(source, data[0], header) != 0) return 0;
  for (const PackageEntry &entry : header.entries) {
    std::vector<uint8_t> bytes;
    readEntryBytes(source, entry, bytes);
  }
  PackageProperties properties;
  readPackageProperties(source, data[0], header, properties);
  return 0;
}
