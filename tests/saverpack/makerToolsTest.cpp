// The packer's tools for a maker: extract and the round trip back through
// build, the names extract refuses, and init.
#include "packFixture.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "package/propertyRecord.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/extract.h"
#include "tools/saverpack/init.h"
#include "tools/saverpack/inspect.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/verify.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const size_t LAUNCHER_SIZE = 3000, INSTALLER_SIZE = 5000;

std::vector<uint8_t> built(const fs::path &manifest) {
  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> output;
  EXPECT_TRUE(loadBuildPlan(manifest.string(), plan, error) && buildInstallerFile(plan, output, error))
      << error;
  return output;
}

// Stand-ins for every file a sample manifest names, where it names them, and
// the manifest beside them: the samples build without the Windows programs.
fs::path stagedSource(const fs::path &folder, const fs::path &sample) {
  std::ifstream in(sample);
  const nlohmann::json manifest = nlohmann::json::parse(in);
  const auto path = [&folder](const nlohmann::json &name) { return folder / name.get<std::string>(); };
  writeBytes(path(manifest["launcher"]), standInProgram(LAUNCHER_SIZE));
  writeBytes(path(manifest["installer"]), standInProgram(INSTALLER_SIZE));
  writeBytes(path(manifest["installer"]).parent_path() / "saverremove.exe", standInProgram(1500));
  writeBytes(path(manifest["codecLibrary"]), randomBytes(700, 1));
  uint32_t seed = 2;
  for (const nlohmann::json &entry : manifest["entries"])
    writeBytes(path(entry["file"]), entry.value("compressed", false) ? compressibleBytes(3000 + seed)
                                                                     : randomBytes(2000, seed++));
  if (manifest.contains("poster")) writeBytes(path(manifest["poster"]), bitmapFile(48, 27));
  const nlohmann::json &dataFile = manifest["dataFile"];
  if (dataFile.contains("settings")) writeBytes(path(dataFile["settings"]), tideSettingsRecord());
  writeBytes(path(dataFile["members"]) / "main.swf", compressibleBytes(20000));
  writeBytes(path(dataFile["members"]) / "pictures" / "a.jpg", randomBytes(5000, 9));
  writeBytes(path(dataFile["members"]) / "pictures" / "empty.txt", {});
  fs::copy_file(sample, folder / "manifest.json");
  return folder / "manifest.json";
}

void replaceIn(const fs::path &path, const std::string &from, const std::string &to) {
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t at = text.find(from);
  ASSERT_NE(std::string::npos, at) << from;
  std::ofstream(path) << text.replace(at, from.size(), to);
}

// Entry 10 carried as a stream of another implode mode than the packer's.
fs::path foreignStreamSource(const fs::path &folder) {
  fs::path manifest = writeSamplePackageSource(folder);
  const std::vector<uint8_t> notes = readBytes(folder / "notes.txt");
  std::vector<uint8_t> stream;
  dcl::implodeBuffer(notes.data(), notes.size(), dcl::CMP_ASCII, 1024, stream);
  writeBytes(folder / "notes.imploded", stream);
  replaceIn(manifest, "\"file\": \"notes.txt\", \"destKind\": 1, \"compressed\": true",
            "\"imploded\": \"notes.imploded\", \"name\": \"notes.txt\", \"destKind\": 1");
  return manifest;
}

// The saver's own "/u" instead of the carried uninstaller, and a publisher.
fs::path ownUninstallSource(const fs::path &folder) {
  fs::path manifest = writeSamplePackageSource(folder);
  replaceIn(manifest, "\"offerControlPanel\": true,",
            "\"offerControlPanel\": true, \"uninstall\": \"saver\", \"publisher\": \"Lumen Works\", "
            "\"languages\": \"en,de, JA\",");
  return manifest;
}

// A saver installed for the user who runs the installer.
fs::path userScopeSource(const fs::path &folder) {
  fs::path manifest = writeSamplePackageSource(folder);
  replaceIn(manifest, "\"offerControlPanel\": true,", "\"offerControlPanel\": true, \"scope\": \"user\",");
  return manifest;
}

PackageEntry entryOf(const std::vector<uint8_t> &file, int index) {
  InstallerHeader header;
  std::memcpy(&header, &file[LAUNCHER_SIZE + INSTALLER_SIZE], sizeof(header));
  return header.entries[index];
}

// A doctored file gets the integrity record the packer would have written:
// fresh tags for the stored entries, and the package CRC.
void reseal(std::vector<uint8_t> &file) {
  InstallerHeader header;
  std::memcpy(&header, &file[LAUNCHER_SIZE + INSTALLER_SIZE], sizeof(header));
  for (PackageEntry &entry : header.entries)
    if (entryPresent(entry) && entry.compressed == 0)
      setEntryExpandedCrc(entry, crc32Of(&file[LAUNCHER_SIZE + static_cast<size_t>(entry.start)],
                                         static_cast<size_t>(entry.end - entry.start) + 1));
  IntegrityRecord record;
  ASSERT_TRUE(readIntegrityRecord(header, record));
  std::memcpy(&file[LAUNCHER_SIZE + INSTALLER_SIZE], &header, sizeof(header));
  MemorySource installer(&file[LAUNCHER_SIZE], file.size() - LAUNCHER_SIZE);
  uint32_t packageCrc = 0;
  ASSERT_EQ(0, computePackageCrc(installer, INSTALLER_SIZE, record.packageLength, packageCrc));
  record.packageCrc = packageCrc;
  writeIntegrityRecord(header, record);
  std::memcpy(&file[LAUNCHER_SIZE + INSTALLER_SIZE], &header, sizeof(header));
}

// Bytes no manifest key names: reserved header bytes, an absent entry's
// record behind the integrity record, an entry's last reserved byte.
void reservedHeaderBytes(std::vector<uint8_t> &file) {
  uint8_t *header = &file[LAUNCHER_SIZE + INSTALLER_SIZE];
  header[70] = 0x5A;
  header[offsetof(InstallerHeader, entries) + 40] = 7;
  header[offsetof(InstallerHeader, entries) + 3 * sizeof(PackageEntry) + offsetof(PackageEntry, reserved) +
         6] = 0x11;
  reseal(file);
}

// A member header's reserved byte: the members folder cannot give it, so
// the data file has to be carried whole.
void reservedMemberByte(std::vector<uint8_t> &file) {
  const PackageEntry dataFile = entryOf(file, ENTRY_DATA_FILE);
  ASSERT_EQ(0, dataFile.compressed);
  const size_t start = LAUNCHER_SIZE + static_cast<size_t>(dataFile.start);
  int32_t headerOffset;
  std::memcpy(&headerOffset,
              &file[start + sizeof(SaverSettings) + offsetof(DataMemberRecord, headerOffset)], 4);
  file[start + static_cast<size_t>(headerOffset)] = 0x33;
  reseal(file);
}

// A movie-player byte that extract must keep although it states nothing; it
// lies outside the package CRC, so the file stays intact.
std::function<void(std::vector<uint8_t> &)> moviePlayerByte(uint8_t byte) {
  return [byte](std::vector<uint8_t> &file) {
    file[LAUNCHER_SIZE + INSTALLER_SIZE + INTEGRITY_RECORD_OFFSET +
         offsetof(IntegrityRecord, moviePlayer)] = byte;
  };
}

struct RoundTrip {
  std::string name;
  std::function<fs::path(const fs::path &)> source;
  std::function<void(std::vector<uint8_t> &)> tamper;
};

TEST(SaverpackExtract, BuildExtractBuildGivesTheSameBytes) {
  const std::function<void(std::vector<uint8_t> &)> none = [](std::vector<uint8_t> &) {};
  const auto staged = [](const fs::path &sample) {
    return [sample](const fs::path &folder) { return stagedSource(folder, sample); };
  };
  std::vector<RoundTrip> cases = {
      {"sample", writeSamplePackageSource, none},
      {"reserved header bytes", writeSamplePackageSource, reservedHeaderBytes},
      {"data file carried whole", staged(fs::path(INSTALLER_TEST_MANIFESTS) / "quiet.json"),
       reservedMemberByte},
      {"foreign implode stream", foreignStreamSource, none},
      {"movie player not stated", writeSamplePackageSource, moviePlayerByte(0)},
      {"own uninstall, a publisher and languages", ownUninstallSource, none},
      {"movie player byte of another packer", writeSamplePackageSource, moviePlayerByte(7)},
  };
  for (const char *samples : {INSTALLER_TEST_MANIFESTS, SAMPLE_MANIFESTS})
    for (const fs::directory_entry &item : fs::directory_iterator(samples))
      if (item.path().extension() == ".json")
        cases.push_back({item.path().string(), staged(item.path()), none});
  ASSERT_EQ(cases.size(), 7u + 5 + 3) << "the installer test manifests and the sample's are found";
  for (const RoundTrip &trip : cases) {
    ScratchFolder folder;
    std::vector<uint8_t> original = built(trip.source(folder.path() / "source"));
    ASSERT_FALSE(original.empty()) << trip.name;
    trip.tamper(original);

    ExtractOutcome outcome;
    std::string error;
    const fs::path unpacked = folder.path() / "unpacked";
    ASSERT_TRUE(extractFile(original, unpacked.string(), nullptr, outcome, error))
        << trip.name << ": " << error;
    EXPECT_TRUE(outcome.rebuildsIdentically) << trip.name << ": " << outcome.rebuildDifference;
    EXPECT_TRUE(built(unpacked / "manifest.json") == original) << trip.name;
    EXPECT_EQ(compressibleBytes(20000), readBytes(unpacked / "members" / "main.swf")) << trip.name;
    EXPECT_TRUE(fs::exists(unpacked / "header.json")) << trip.name;
  }
}

// "machine" is what a package without the key gets, byte for byte; "user"
// is stored and shown.
TEST(SaverpackScope, MachineStoresNothingAndUserIsShown) {
  ScratchFolder folder;
  const std::vector<uint8_t> plain = built(writeSamplePackageSource(folder.path() / "plain"));
  const fs::path machine = writeSamplePackageSource(folder.path() / "machine");
  replaceIn(machine, "\"offerControlPanel\": true,",
            "\"offerControlPanel\": true, \"scope\": \"machine\",");
  EXPECT_TRUE(built(machine) == plain);
  const std::vector<uint8_t> forUser = built(userScopeSource(folder.path() / "user"));
  EXPECT_FALSE(forUser == plain);
  for (const auto &[file, shown] : {std::pair{plain, "machine"}, std::pair{forUser, "user"}}) {
    std::ostringstream text, json;
    ASSERT_TRUE(inspectFile(file, text));
    EXPECT_NE(std::string::npos, text.str().find(std::string("scope ") + shown)) << text.str();
    ASSERT_TRUE(inspectFile(file, json, true));
    EXPECT_EQ(shown, nlohmann::json::parse(json.str())["header"]["scope"]) << json.str();
  }
}

struct RecordCase {
  const char *what;
  std::vector<uint8_t> record;
  const char *verifyLine;  // nullptr: verify names the record damaged
};

// A record of a newer packer installs and extracts, with a caveat since build
// leaves it out; a damaged one is named by verify and refused by extract.
TEST(SaverpackExtract, PropertyRecordOfANewerPackerIsKeptApartAndADamagedOneRefused) {
  const RecordCase cases[] = {
      {"unknown tag", propertyRecordBytes({{40, "newer"}}), "property record version 1, 1 items"},
      {"unknown version", {'S', 'P', 'P', 'R', 2, 1, 2, 3}, "property record version 2, 0 items"},
      {"item past the end", {'S', 'P', 'P', 'R', 1, 40, 0, 9, 0, 'x', 0, 0, 0, 0}, nullptr},
  };
  ScratchFolder source;
  const std::vector<uint8_t> plain = built(writeSamplePackageSource(source.path()));
  for (const RecordCase &each : cases) {
    std::vector<uint8_t> file = plain;
    ASSERT_TRUE(addPropertyRecord(file, LAUNCHER_SIZE, INSTALLER_SIZE, each.record)) << each.what;
    const std::vector<uint8_t> installer(file.begin() + LAUNCHER_SIZE, file.end());
    const IntegrityReport report = checkInstallerIntegrity(installer, INSTALLER_SIZE);
    std::string lines, problems;
    for (const std::string &line : report.lines) lines += line + "\n";
    for (const std::string &problem : report.problems) problems += problem + "\n";

    ScratchFolder folder;
    ExtractOutcome outcome;
    std::string error;
    const bool extracted = extractFile(file, (folder.path() / "out").string(), nullptr, outcome, error);
    if (each.verifyLine != nullptr) {
      EXPECT_EQ("", problems) << each.what;
      EXPECT_NE(std::string::npos, lines.find(each.verifyLine)) << each.what << "\n" << lines;
      ASSERT_TRUE(extracted) << each.what << ": " << error;
      EXPECT_FALSE(outcome.rebuildsIdentically) << each.what;
      EXPECT_NE(std::string::npos, outcome.rebuildDifference.find("property record holds items"))
          << outcome.rebuildDifference;
    } else {
      EXPECT_NE(std::string::npos, problems.find("property record damaged")) << each.what << "\n"
                                                                             << problems;
      EXPECT_FALSE(extracted) << each.what;
      EXPECT_NE(std::string::npos, error.find("property record")) << error;
    }
  }
}

struct HostileName {
  const char *entryName, *memberPath, *message;
};

TEST(SaverpackExtract, NamesThatLeadOutOfTheFolderAreRefusedBeforeAnythingIsWritten) {
  const HostileName cases[] = {
      {"..\\evil.txt", "main.swf", "entry 7 \"..\\evil.txt\": no plain file name"},
      {"notes.txt", "..\\..\\evil.txt", "data file member 2 \"..\\..\\evil.txt\": the path leads out"},
      {"notes.txt", "/tmp/evil.txt", "data file member 2 \"/tmp/evil.txt\""},
      {"notes.txt", "pictures\\", "data file member 2 \"pictures\\\""},
  };
  for (const HostileName &hostile : cases) {
    std::vector<uint8_t> dataFile;
    std::string error;
    DataMember first, second;
    first.path = "main.swf";
    first.bytes = compressibleBytes(500);
    second.path = hostile.memberPath;
    second.bytes = {'x'};
    ASSERT_TRUE(buildDataFile({}, {first, second}, dataFile, error)) << error;
    std::vector<CarriedFile> files(3);
    files[0] = {
        ENTRY_CODEC_LIBRARY, "impborl.dat", DEST_WORK_FOLDER_LIBRARY, false, randomBytes(50, 1), {}};
    files[1] = {7, hostile.entryName, DEST_SAVER_FOLDER, false, {'n'}, {}};
    files[2] = {ENTRY_DATA_FILE, "data.dat", DEST_WORK_FOLDER, false, dataFile, {}};
    std::vector<uint8_t> file = standInProgram(INSTALLER_SIZE), package;
    ASSERT_TRUE(buildPackage(PackageFlags(), files, INSTALLER_SIZE, package, error)) << error;
    file.insert(file.end(), package.begin(), package.end());

    ScratchFolder folder;
    ExtractOutcome outcome;
    EXPECT_FALSE(extractFile(file, (folder.path() / "out").string(), nullptr, outcome, error));
    EXPECT_NE(std::string::npos, error.find(hostile.message)) << error;
    EXPECT_FALSE(fs::exists(folder.path() / "out")) << hostile.message;
    EXPECT_FALSE(fs::exists("/tmp/evil.txt"));
  }
}

TEST(SaverpackInit, WritesASourceThatBuildsAtOnceAndNeverOverwritesAManifest) {
  ScratchFolder folder;
  const fs::path programs = folder.path() / "programs";
  writeBytes(programs / "saverstart.exe", standInProgram(LAUNCHER_SIZE));
  writeBytes(programs / "saversetup.exe", standInProgram(INSTALLER_SIZE));
  writeBytes(programs / "impborl.dll", randomBytes(700, 1));
  writeBytes(programs / "saverremove.exe", standInProgram(1500));
  InitOptions options;
  options.folder = (folder.path() / "Seashore Lights").string();
  options.programsFolder = programs.string();
  std::ostringstream shown;
  std::string error;
  ASSERT_TRUE(initPackageSource(options, shown, error)) << error;

  const std::vector<uint8_t> file = built(folder.path() / "Seashore Lights" / "manifest.json");
  ASSERT_GT(file.size(), LAUNCHER_SIZE + INSTALLER_SIZE + sizeof(InstallerHeader));
  EXPECT_EQ(saverProgramNameFor("Seashore Lights"), entryNameOf(entryOf(file, ENTRY_SAVER_PROGRAM)));
  for (int index : {ENTRY_SPLASH, ENTRY_LICENSE, ENTRY_README, 7, ENTRY_DATA_FILE, 9, ENTRY_LAST})
    EXPECT_TRUE(entryPresent(entryOf(file, index))) << index;

  EXPECT_FALSE(initPackageSource(options, shown, error));
  EXPECT_NE(std::string::npos, error.find("manifest.json\" exists already")) << error;
}

}  // namespace
