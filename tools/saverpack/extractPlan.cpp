#include "tools/saverpack/extractPlan.h"
#include "tools/saverpack/fileAccess.h"

#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/dataFileFormat.h"
#include "package/installedSaver.h"
#include "package/installNames.h"
#include "package/packageFormat.h"
#include "package/posterRange.h"
#include "package/uninstallMark.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/fileLayers.h"
#include "tools/saverpack/integrityStamp.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/packageReport.h"
#include "tools/saverpack/propertyKeys.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

using nlohmann::ordered_json;

namespace {

const char MEMBERS_FOLDER[] = "members";

struct EntryPart {
  int index = 0;
  PackageEntry entry;
  std::vector<uint8_t> stored, expanded;
  std::string file;         // where the expanded bytes go
  bool reimplodes = false;  // the packer, asked to compress, stores the same bytes
};

struct MemberPart {
  DataMemberRecord record;
  bool compressed = false;
  std::vector<uint8_t> expanded;
};

bool implodesTo(const std::vector<uint8_t> &expanded, const std::vector<uint8_t> &stored) {
  std::vector<uint8_t> imploded;
  return implodeWhenSmaller(expanded, imploded) && imploded == stored;
}

std::string entryText(int index, const std::string &name) {
  return "entry " + std::to_string(index) + " \"" + name + "\"";
}

bool readEntries(const std::vector<uint8_t> &file, const FileLayers &layers, std::vector<EntryPart> &parts,
                 std::string &error) {
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index) {
    EntryPart part;
    part.index = index;
    part.entry = layers.header.entries[index];
    if (!entryPresent(part.entry)) continue;
    const std::string name = entryNameOf(part.entry);
    if (!isSafeEntryName(name)) {
      error = entryText(index, name) + ": no plain file name; nothing was written";
      return false;
    }
    if (!entryStoredBytes(file, layers, index, part.stored, error)) return false;
    if (!expandStored(part.stored, part.entry.compressed != 0, part.entry.expandedSize, part.expanded,
                      error)) {
      error.insert(0, entryText(index, name) + ": ");
      return false;
    }
    part.file = "entries/" + std::to_string(index) + "-" + name;
    part.reimplodes = part.entry.compressed != 0 && implodesTo(part.expanded, part.stored);
    parts.push_back(std::move(part));
  }
  std::stable_sort(parts.begin(), parts.end(),
                   [](const EntryPart &a, const EntryPart &b) { return a.entry.start < b.entry.start; });
  return true;
}

// A member path as a file below the members folder: safe by the installer's
// rule, and every part a name a file can have.
bool memberFileFor(const std::string &path, std::string &file) {
  if (!isSafeMemberPath(path)) return false;
  file = path;
  std::replace(file.begin(), file.end(), '\\', '/');
  for (size_t start = 0; start <= file.size();) {
    const size_t end = std::min(file.find('/', start), file.size());
    const std::string part = file.substr(start, end - start);
    if (part.empty() || part == ".") return false;
    start = end + 1;
  }
  return true;
}

// The members of a data file. False for a member path that would lead out of
// the target folder, or a damaged member; a file that is no data file at all
// has no members.
bool readMembers(const std::vector<uint8_t> &dataFile, std::vector<MemberPart> &members,
                 std::string &error) {
  MemorySource source(dataFile.data(), dataFile.size());
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  if (readMemberTable(source, settings, table.data()) != STATUS_OK) return true;
  std::set<std::string> files;
  for (int i = 1; i <= settings.memberCount; ++i) {
    MemberPart member;
    member.record = table[i];
    const std::string where =
        "data file member " + std::to_string(i) + " \"" + memberPathOf(table[i]) + "\"";
    std::string file;
    if (!memberPathTerminated(table[i]) || !memberFileFor(memberPathOf(table[i]), file)) {
      error = where + ": the path leads out of the saver folder; nothing was written";
      return false;
    }
    if (table[i].memberType != MEMBER_TYPE_MOVIE_COPY) {
      if (!files.insert(file).second) {
        error = where + ": another member has the same path; nothing was written";
        return false;
      }
      DataMemberHeader header;
      std::vector<uint8_t> stored;
      if (readMemberHeader(source, table[i], header) != STATUS_OK ||
          readMemberBytes(source, table[i], header, stored) != STATUS_OK) {
        error = where + ": its bytes lie outside the data file";
        return false;
      }
      member.compressed = header.compressed != 0;
      if (header.expandedSize != 0 &&
          !expandStored(stored, header.compressed != 0, header.expandedSize, member.expanded, error)) {
        error.insert(0, where + ": ");
        return false;
      }
    }
    members.push_back(std::move(member));
  }
  return true;
}

// The uninstaller as build adds it: the last member, imploded when smaller.
bool isCarriedUninstaller(const MemberPart &part) {
  return part.record.memberType == 0 && memberPathOf(part.record) == UNINSTALLER_FILE_NAME;
}

DataMember uninstallerMember(const MemberPart &part) {
  DataMember member;
  member.path = UNINSTALLER_FILE_NAME;
  member.bytes = part.expanded;
  member.compressed = implodeWhenSmaller(member.bytes, member.imploded);
  return member;
}

// The data file's members other than the carried uninstaller as build lists
// them: movie copies first, then the members folder in the packer's order.
// False for a member that build would not make from the members folder.
bool membersAsBuilt(const std::vector<MemberPart> &members, std::vector<DataMember> &ordered,
                    bool &compressMembers) {
  std::vector<DataMember> files;
  for (const MemberPart &part : members) {
    DataMember member;
    member.path = memberPathOf(part.record);
    member.type = part.record.memberType;
    member.bytes = part.expanded;
    std::string file;
    memberFileFor(member.path, file);
    if (member.type == MEMBER_TYPE_MOVIE_COPY) {
      ordered.push_back(member);
      continue;
    }
    compressMembers = compressMembers || part.compressed;
    if (member.type != 0 || genericUtf8Of(pathOfUtf8(file).lexically_normal()) != file) return false;
    files.push_back(member);
  }
  std::sort(files.begin(), files.end(), [](const DataMember &a, const DataMember &b) {
    std::string left = a.path, right = b.path;
    std::replace(left.begin(), left.end(), '\\', '/');
    std::replace(right.begin(), right.end(), '\\', '/');
    return pathOfUtf8(left) < pathOfUtf8(right);
  });
  for (DataMember &member : files)
    if (compressMembers && !member.bytes.empty())
      member.compressed = implodeWhenSmaller(member.bytes, member.imploded);
  ordered.insert(ordered.end(), files.begin(), files.end());
  return true;
}

bool buildsSameDataFile(const std::vector<uint8_t> &settings, const std::vector<DataMember> &members,
                        const std::vector<uint8_t> &dataFile) {
  std::vector<uint8_t> rebuilt;
  std::string ignored;
  return buildDataFile(settings, members, rebuilt, ignored) && stampMemberCrcs(members, rebuilt, ignored) &&
         rebuilt == dataFile;
}

// The dataFile object of the manifest, when one builds these very bytes:
// movie copies first, then the members folder in the packer's order, then
// the uninstaller when the package carries it.
bool describeDataFile(const std::vector<uint8_t> &dataFile, std::vector<MemberPart> members,
                      const std::string &name, bool carriesUninstaller, ordered_json &description) {
  if (carriesUninstaller && (members.empty() || !isCarriedUninstaller(members.back()))) return false;
  std::vector<DataMember> uninstaller;
  if (carriesUninstaller) {
    uninstaller.push_back(uninstallerMember(members.back()));
    members.pop_back();
  }
  std::vector<DataMember> ordered;
  bool compressMembers = false;
  if (!membersAsBuilt(members, ordered, compressMembers)) return false;
  ordered.insert(ordered.end(), uninstaller.begin(), uninstaller.end());
  const std::vector<uint8_t> settings(dataFile.begin(), dataFile.begin() + sizeof(SaverSettings));
  if (!buildsSameDataFile(settings, ordered, dataFile)) return false;

  description = {{"name", name}, {"members", MEMBERS_FOLDER}};
  if (compressMembers) description["compressMembers"] = true;
  std::vector<uint8_t> blank(sizeof(SaverSettings), 0);
  std::memcpy(&blank[offsetof(SaverSettings, memberCount)], &dataFile[offsetof(SaverSettings, memberCount)],
              4);
  if (settings != blank) description["settings"] = "settings.bin";
  for (const MemberPart &part : members)
    if (part.record.memberType == MEMBER_TYPE_MOVIE_COPY)
      description["movieCopies"].push_back(memberPathOf(part.record));
  return true;
}

std::string posterFileName(const std::vector<uint8_t> &poster) {
  const PosterFormat format = posterFormatOf(poster);
  return format == PosterFormat::bitmap ? "poster.bmp"
         : format == PosterFormat::jpeg ? "poster.jpg"
                                        : "poster.bin";
}

ordered_json flagValue(uint8_t value) {
  return value <= 1 ? ordered_json(value == 1) : ordered_json(value);
}

ordered_json describeFlags(const PackageFlags &flags) {
  ordered_json manifest = {{"saverName", flags.saverName},
                           {"installerType", flags.installerType},
                           {"showLicense", flagValue(flags.showLicense)},
                           {"carriesReadMe", flagValue(flags.carriesReadMe)},
                           {"carriesFlashInstaller", flagValue(flags.carriesFlashInstaller)}};
  if (flags.carriesFlashInstaller || flags.flashInstallerVersionIndex)
    manifest["flashInstallerVersionIndex"] = flags.flashInstallerVersionIndex;
  manifest["offerControlPanel"] = flagValue(flags.offerControlPanel);
  describePropertyKeys(flags.properties, manifest);
  if (!flags.poster.empty()) manifest["poster"] = posterFileName(flags.poster);
  return manifest;
}

// The package's flags and properties as stored. A property record that
// build would not write again (of a newer packer) becomes a caveat.
bool readStoredFlags(const std::vector<uint8_t> &file, const FileLayers &layers, PackageFlags &flags,
                     ExtractPlan &plan, std::string &error) {
  MemorySource installer(file.data() + layers.installerOffset, file.size() - layers.installerOffset);
  PropertyRecord record;
  if (packageFlagsOf(installer, layers.installerSize, layers.header, flags, record) != STATUS_OK) {
    error = "the property record (entry 0's bytes) is damaged; nothing was written";
    return false;
  }
  if (readPoster(installer, layers.installerSize, flags.properties, flags.poster) != STATUS_OK) {
    error = "the poster's range lies outside the package; nothing was written";
    return false;
  }
  if (record.present && (record.version != PROPERTY_RECORD_VERSION ||
                         record.items.size() != recordPropertyItems(flags.properties).size()))
    plan.caveats.push_back(
        "the property record holds items this packer does not know; build leaves them out");
  return true;
}

void describePrograms(const std::vector<uint8_t> &file, const FileLayers &layers,
                      const std::vector<uint8_t> &codecLibrary, ExtractPlan &plan) {
  if (layers.launcherSize != 0) {
    plan.manifest["launcher"] = "saverstart.exe";
    const auto launcherEnd = file.begin() + static_cast<std::ptrdiff_t>(layers.launcherSize);
    plan.files.push_back({"saverstart.exe", std::vector<uint8_t>(file.begin(), launcherEnd)});
  }
  const auto installer = file.begin() + static_cast<std::ptrdiff_t>(layers.installerOffset);
  plan.manifest["installer"] = "saversetup.exe";
  plan.files.push_back(
      {"saversetup.exe", std::vector<uint8_t>(installer, installer + layers.installerSize)});
  plan.manifest["codecLibrary"] = std::string(CODEC_LIBRARY_FILE);
  plan.files.push_back({CODEC_LIBRARY_FILE, codecLibrary});
}

ordered_json describeEntry(const EntryPart &part, const std::string &saverName,
                           std::vector<ExtractedFile> &files) {
  const std::string name = entryNameOf(part.entry);
  ordered_json entry = {{"index", part.index}};
  if (part.entry.compressed && !part.reimplodes) {
    entry["imploded"] = part.file + ".imploded";
    files.push_back({part.file + ".imploded", part.stored});
  } else {
    entry["file"] = part.file;
  }
  if (part.index != ENTRY_SAVER_PROGRAM || name != saverProgramNameFor(saverName)) entry["name"] = name;
  entry["destKind"] = part.entry.destKind;
  if (part.reimplodes) entry["compressed"] = true;
  return entry;
}

CarriedFile carriedFrom(const EntryPart &part) {
  CarriedFile file;
  file.index = part.index;
  file.name = entryNameOf(part.entry);
  file.destKind = part.entry.destKind;
  file.compressed = part.entry.compressed != 0;
  file.bytes = part.expanded;
  if (file.compressed) file.imploded = part.stored;
  return file;
}

// headerBytes: what the manifest's keys leave out of the header, other than
// the integrity record that build writes anew. Differences in bytes that keys
// set cannot be kept; they become caveats.
void describeHeaderBytes(const std::vector<uint8_t> &original, const std::vector<uint8_t> &built,
                         ExtractPlan &plan) {
  InstallerHeader header;
  std::memcpy(&header, built.data(), sizeof(header));
  const std::vector<bool> taken = headerFieldBytes(header);
  const std::vector<bool> stamped = stampedHeaderBytes(header);
  for (size_t at = 0; at < sizeof(header);) {
    if (original[at] == built[at] || stamped[at]) {
      ++at;
      continue;
    }
    if (taken[at]) {
      plan.caveats.push_back("header byte " + std::to_string(at) +
                             " differs from what the manifest's keys give");
      ++at;
      continue;
    }
    std::string hex;
    const size_t start = at;
    for (; at < sizeof(header) && !taken[at] && !stamped[at] && original[at] != built[at]; ++at) {
      static const char digits[] = "0123456789abcdef";
      hex += digits[original[at] >> 4];
      hex += digits[original[at] & 15];
    }
    plan.manifest["headerBytes"][std::to_string(start)] = hex;
  }
}

using EntryAt = std::vector<EntryPart>::const_iterator;

EntryAt findEntry(const std::vector<EntryPart> &parts, int index) {
  return std::find_if(parts.begin(), parts.end(),
                      [index](const EntryPart &part) { return part.index == index; });
}

// The data file: its members are written for reading; the manifest builds it
// from them when that gives the same bytes, else carries it whole.
struct DataFilePart {
  std::vector<MemberPart> members;
  ordered_json description;
  bool described = false;
};

bool readDataFile(const std::vector<EntryPart> &parts, EntryAt dataEntry, bool carriesUninstaller,
                  DataFilePart &data, ExtractPlan &plan, std::string &error) {
  if (!readMembers(dataEntry->expanded, data.members, error)) return false;
  data.described = dataEntry + 1 == parts.end() && dataEntry->entry.destKind == DEST_WORK_FOLDER &&
                   (!dataEntry->entry.compressed || dataEntry->reimplodes) &&
                   describeDataFile(dataEntry->expanded, data.members, entryNameOf(dataEntry->entry),
                                    carriesUninstaller, data.description);
  if (data.described && dataEntry->entry.compressed) data.description["compressed"] = true;
  const std::vector<uint8_t> &expanded = dataEntry->expanded;
  if (data.described && data.description.contains("settings"))
    plan.files.push_back(
        {"settings.bin", std::vector<uint8_t>(expanded.begin(), expanded.begin() + sizeof(SaverSettings))});
  return true;
}

// The carried uninstaller: a file of its own, which build adds again, when the
// data file is described; else the mark byte alone, since build is to add no
// uninstaller to a data file it carries whole.
void describeUninstaller(DataFilePart &data, ExtractPlan &plan) {
  if (data.described) {
    plan.manifest["uninstaller"] = std::string(UNINSTALLER_FILE_NAME);
    plan.files.push_back({UNINSTALLER_FILE_NAME, data.members.back().expanded});
    data.members.pop_back();
  } else {
    plan.manifest[propertyKeyOf(&PackageProperties::uninstallMark)] = UNINSTALLER_CARRIED;
  }
}

// The manifest's entries and their files; returns what build is to carry, the
// codec library first, the described data file not yet.
std::vector<CarriedFile> describeEntries(const std::vector<EntryPart> &parts, const EntryPart &codec,
                                         bool dataFileDescribed, const std::string &saverName,
                                         ExtractPlan &plan) {
  std::vector<CarriedFile> carried = {carriedFrom(codec)};
  carried.front().name = CODEC_LIBRARY_ENTRY;
  carried.front().destKind = DEST_WORK_FOLDER_LIBRARY;
  carried.front().compressed = false;
  plan.manifest["entries"] = ordered_json::array();
  for (const EntryPart &part : parts) {
    if (part.index != ENTRY_CODEC_LIBRARY) plan.files.push_back({part.file, part.expanded});
    if (part.index == ENTRY_CODEC_LIBRARY || (part.index == ENTRY_DATA_FILE && dataFileDescribed)) continue;
    plan.manifest["entries"].push_back(describeEntry(part, saverName, plan.files));
    carried.push_back(carriedFrom(part));
  }
  return carried;
}

void addMemberFiles(const std::vector<MemberPart> &members, ExtractPlan &plan) {
  for (const MemberPart &member : members) {
    std::string path;
    memberFileFor(memberPathOf(member.record), path);
    if (member.record.memberType != MEMBER_TYPE_MOVIE_COPY)
      plan.files.push_back({std::string(MEMBERS_FOLDER) + "/" + path, member.expanded});
  }
}

// Builds the package again from what was read, and tells where its header
// differs from the file's.
bool describeRebuiltHeader(const std::vector<uint8_t> &file, const FileLayers &layers,
                           const PackageFlags &flags, const std::vector<CarriedFile> &carried,
                           ExtractPlan &plan, std::string &error) {
  std::vector<uint8_t> built;
  if (!buildPackage(flags, carried, layers.installerSize, built, error)) return false;
  const auto headerStart =
      file.begin() + static_cast<std::ptrdiff_t>(layers.installerOffset + layers.installerSize);
  describeHeaderBytes(std::vector<uint8_t>(headerStart, headerStart + sizeof(InstallerHeader)), built,
                      plan);
  return true;
}

}  // namespace

bool planExtraction(const std::vector<uint8_t> &file, ExtractPlan &plan, std::string &error) {
  FileLayers layers;
  if (findLayers(file, layers, error) != FileKind::Installer || !error.empty() || !layers.headerRead) {
    if (error.empty()) error = "no installer or launcher file with a readable package";
    return false;
  }
  PackageFlags flags;
  std::vector<EntryPart> parts;
  if (!readStoredFlags(file, layers, flags, plan, error) || !readEntries(file, layers, parts, error))
    return false;
  const EntryAt codec = findEntry(parts, ENTRY_CODEC_LIBRARY);
  if (codec == parts.end()) {
    error = "the package carries no entry 1 (the decompression library)";
    return false;
  }
  const bool carriesUninstaller = flags.properties.uninstallMark == UNINSTALLER_CARRIED;
  const EntryAt dataEntry = findEntry(parts, ENTRY_DATA_FILE);
  DataFilePart data;
  if (dataEntry != parts.end() && !readDataFile(parts, dataEntry, carriesUninstaller, data, plan, error))
    return false;

  plan.manifest = describeFlags(flags);
  if (!flags.poster.empty()) plan.files.push_back({posterFileName(flags.poster), flags.poster});
  describePrograms(file, layers, codec->expanded, plan);
  if (carriesUninstaller) describeUninstaller(data, plan);
  std::vector<CarriedFile> carried = describeEntries(parts, *codec, data.described, flags.saverName, plan);
  if (data.described) {
    plan.manifest["dataFile"] = data.description;
    carried.push_back(carriedFrom(*dataEntry));
  }
  if (dataEntry != parts.end() && !data.described)
    plan.notes.push_back(
        "the data file is carried whole as entry 8, since the members folder would not "
        "build the same bytes: members/ is there to read");
  addMemberFiles(data.members, plan);

  return describeRebuiltHeader(file, layers, flags, carried, plan, error);
}
