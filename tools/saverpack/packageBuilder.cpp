#include "tools/saverpack/packageBuilder.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "codec/optimalImplode.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "package/packageLimits.h"
#include "package/posterRange.h"
#include "common/statusCodes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

bool implodeBytes(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded, bool fast) {
  imploded.clear();
  const auto implode = fast ? dcl::implodeBuffer : dcl::implodeOptimal;
  return implode(bytes.data(), bytes.size(), dcl::CMP_BINARY, 4096, imploded) == dcl::CMP_NO_ERROR;
}

// Imploding gives up once its stream is longer than the input read so far
// by this much: random or already compressed data is noticed within its
// first megabyte or two instead of after the whole file.
static const uint64_t GIVE_UP_MARGIN = uint64_t{64} << 10;

bool implodeGivesUp(uint64_t written, uint64_t consumed, uint64_t total) {
  return written >= total || written > consumed + GIVE_UP_MARGIN;
}

namespace {

struct ShrinkWatch {
  const std::vector<uint8_t> &input;
  std::vector<uint8_t> &output;
  size_t consumed;
  bool gaveUp;
};

// Ends the input early, and so the stream, once it cannot come out smaller
// or is not shrinking.
unsigned readWhileShrinking(char *buf, unsigned *size, void *param) {
  ShrinkWatch &watch = *static_cast<ShrinkWatch *>(param);
  if (implodeGivesUp(watch.output.size(), watch.consumed, watch.input.size())) {
    watch.gaveUp = true;
    return 0;
  }
  const size_t count = std::min<size_t>(*size, watch.input.size() - watch.consumed);
  if (count != 0) std::memcpy(buf, watch.input.data() + watch.consumed, count);
  watch.consumed += count;
  return static_cast<unsigned>(count);
}

void writeWatched(char *buf, unsigned *size, void *param) {
  std::vector<uint8_t> &output = static_cast<ShrinkWatch *>(param)->output;
  output.insert(output.end(), buf, buf + *size);
}

}  // namespace

bool implodeWhenSmaller(const std::vector<uint8_t> &bytes, std::vector<uint8_t> &imploded, bool fast) {
  imploded.clear();
  ShrinkWatch watch{bytes, imploded, 0, false};
  std::vector<char> work(dcl::IMPLODE_WORK_SIZE);
  unsigned type = dcl::CMP_BINARY, dictSize = 4096;
  const unsigned result =
      fast ? dcl::implode(readWhileShrinking, writeWatched, work.data(), &watch, &type, &dictSize)
           : dcl::implodeOptimalStream(readWhileShrinking, writeWatched, &watch, type, dictSize);
  if (result == dcl::CMP_NO_ERROR && !watch.gaveUp && imploded.size() < bytes.size()) return true;
  imploded.clear();
  imploded.shrink_to_fit();
  return false;
}

// The header's six flag bytes and their manifest fields, paired once for
// both directions.
struct FlagField {
  uint8_t InstallerHeader::*inHeader;
  uint8_t PackageFlags::*inFlags;
};
static constexpr FlagField FLAG_FIELDS[] = {
    {&InstallerHeader::installerType, &PackageFlags::installerType},
    {&InstallerHeader::showLicense, &PackageFlags::showLicense},
    {&InstallerHeader::carriesReadMe, &PackageFlags::carriesReadMe},
    {&InstallerHeader::carriesFlashInstaller, &PackageFlags::carriesFlashInstaller},
    {&InstallerHeader::flashInstallerVersionIndex, &PackageFlags::flashInstallerVersionIndex},
    {&InstallerHeader::offerControlPanel, &PackageFlags::offerControlPanel},
};

int32_t packageFlagsOf(ByteSource &installer, uint32_t programSize, const InstallerHeader &header,
                       PackageFlags &flags, PropertyRecord &record) {
  flags = PackageFlags();
  for (const FlagField &field : FLAG_FIELDS) flags.*field.inFlags = header.*field.inHeader;
  flags.saverName = saverNameOf(header);
  flags.properties = storedHeaderProperties(header);
  int32_t status = readPropertyRecord(installer, programSize, header, record);
  if (status == STATUS_OK) status = takeRecordProperties(record, PACKAGE_PROPERTIES, flags.properties);
  return status;
}

std::vector<bool> headerFieldBytes(const InstallerHeader &header) {
  std::vector<bool> taken(sizeof(InstallerHeader), false);
  auto take = [&taken](size_t from, size_t count) {
    const auto first = taken.begin() + static_cast<std::ptrdiff_t>(from);
    std::fill(first, first + static_cast<std::ptrdiff_t>(count), true);
  };
  take(0, offsetof(InstallerHeader, saverName));
  const size_t nameEnd = saverNameOf(header).size();
  take(offsetof(InstallerHeader, saverName), std::min<size_t>(nameEnd + 1, SAVER_NAME_FIELD));
  markHeaderPropertyBytes(header, taken);
  const size_t locator = offsetof(InstallerHeader, entries) + offsetof(PackageEntry, start);
  take(locator, offsetof(PackageEntry, destKind) - offsetof(PackageEntry, start));
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index) {
    const size_t at = offsetof(InstallerHeader, entries) + index * sizeof(PackageEntry);
    const PackageEntry &entry = header.entries[index];
    take(at, 1 + entry.nameLength);
    if (!entryPresent(entry)) continue;
    take(at + offsetof(PackageEntry, start),
         offsetof(PackageEntry, reserved) - offsetof(PackageEntry, start));
    take(at + offsetof(PackageEntry, expandedSize), sizeof(entry.expandedSize));
  }
  return taken;
}

static bool layHeaderBytes(const PackageFlags &flags, std::vector<uint8_t> &package, std::string &error) {
  InstallerHeader header;
  std::memcpy(&header, package.data(), sizeof(header));
  const std::vector<bool> taken = headerFieldBytes(header);
  for (const auto &raw : flags.headerBytes) {
    const std::string where = "headerBytes[\"" + std::to_string(raw.first) + "\"]: ";
    if (raw.first + raw.second.size() > sizeof(header)) {
      error = where + "reaches past the header's " + std::to_string(sizeof(header)) + " bytes";
      return false;
    }
    for (size_t i = 0; i < raw.second.size(); ++i)
      if (taken[raw.first + i]) {
        error = where + "byte " + std::to_string(raw.first + i) + " belongs to a field the manifest sets";
        return false;
      }
    std::memcpy(package.data() + raw.first, raw.second.data(), raw.second.size());
  }
  return true;
}

InstallerHeader headerOfFlags(const PackageFlags &flags) {
  InstallerHeader header;
  std::memset(&header, 0, sizeof(header));
  for (const FlagField &field : FLAG_FIELDS) header.*field.inHeader = flags.*field.inFlags;
  std::memcpy(header.saverName, flags.saverName.data(),
              std::min(flags.saverName.size(), sizeof(header.saverName)));
  writeHeaderProperties(flags.properties, header);
  return header;
}

bool placeEntry(const CarriedFile &file, int64_t start, int64_t storedSize, int64_t expandedSize,
                InstallerHeader &header, std::string &error) {
  if (start + storedSize > MAX_PACKAGE_BYTES) {
    error = "entry " + std::to_string(file.index) + " (" + file.name +
            ") takes the package past the largest a package can be (" + std::to_string(MAX_PACKAGE_BYTES) +
            " bytes, the installer program included)";
    return false;
  }
  PackageEntry &entry = header.entries[file.index];
  setEntryName(entry, file.name);
  entry.start = static_cast<int32_t>(start);
  entry.end = static_cast<int32_t>(start + storedSize - 1);
  entry.destKind = file.destKind;
  entry.compressed = file.compressed ? 1 : 0;
  entry.expandedSize = static_cast<int32_t>(expandedSize);
  return true;
}

bool finishPackage(const PackageFlags &flags, const InstallerHeader &header, uint32_t tailBase,
                   std::vector<uint8_t> &package, std::string &error) {
  package.resize(std::max(package.size(), sizeof(header)));
  std::memcpy(package.data(), &header, sizeof(header));
  PackageProperties properties = flags.properties;
  if (!appendPoster(package, tailBase, flags.poster, properties)) {
    error = "poster: longer than 16 MiB, or the package outgrows 2 GB";
    return false;
  }
  if (!appendPropertyRecord(package, tailBase, propertyRecordBytes(recordPropertyItems(properties)))) {
    error = "the property record outgrows its limit or the package 2 GB";
    return false;
  }
  return layHeaderBytes(flags, package, error);
}

// Stores one carried file behind what the package holds and points its
// entry at it.
static bool appendEntry(const CarriedFile &file, uint32_t programSize, InstallerHeader &header,
                        std::vector<uint8_t> &package, std::string &error) {
  std::vector<uint8_t> imploded;
  if (file.compressed && file.imploded.empty() && !implodeBytes(file.bytes, imploded)) {
    error = "cannot compress entry " + std::to_string(file.index) + " (" + file.name + ")";
    return false;
  }
  const std::vector<uint8_t> &stored = !file.compressed        ? file.bytes
                                       : file.imploded.empty() ? imploded
                                                               : file.imploded;
  const int64_t start = static_cast<int64_t>(programSize) + static_cast<int64_t>(package.size());
  if (!placeEntry(file, start, static_cast<int64_t>(stored.size()), static_cast<int64_t>(file.bytes.size()),
                  header, error))
    return false;
  package.insert(package.end(), stored.begin(), stored.end());
  return true;
}

bool buildPackage(const PackageFlags &flags, const std::vector<CarriedFile> &files, uint32_t programSize,
                  std::vector<uint8_t> &package, std::string &error) {
  InstallerHeader header = headerOfFlags(flags);
  package.assign(sizeof(header), 0);
  for (const CarriedFile &file : files)
    if (!appendEntry(file, programSize, header, package, error)) return false;
  return finishPackage(flags, header, programSize, package, error);
}
