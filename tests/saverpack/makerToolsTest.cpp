// The packer's tools for a maker: extract and the round trip back through
// build, the names extract refuses, and init.
#include "packFixture.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/extract.h"
#include "tools/saverpack/init.h"
#include "tools/saverpack/installerFile.h"

#include <gtest/gtest.h>

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

fs::path tideSource(const fs::path &folder, const std::string &name) {
  writeBytes(folder / "bin" / "saverstart.exe", standInProgram(LAUNCHER_SIZE));
  writeBytes(folder / "bin" / "saversetup.exe", standInProgram(INSTALLER_SIZE));
  writeBytes(folder / "bin" / "saverremove.exe", standInProgram(1500));
  writeBytes(folder / "bin" / "impborl.dll", randomBytes(700, 1));
  writeTidePackageFiles(folder);
  writeBytes(folder / "splash.jpg", randomBytes(2000, 5));  // the packer does not look inside
  writeBytes(folder / "license.rtf", compressibleBytes(900));
  fs::copy_file(fs::path(INSTALLER_TEST_MANIFESTS) / (name + ".json"), folder / "manifest.json");
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
            "\"offerControlPanel\": true, \"uninstall\": \"saver\", \"publisher\": \"Lumen Works\",");
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
  const auto tide = [](const std::string &name) {
    return [name](const fs::path &folder) { return tideSource(folder, name); };
  };
  std::vector<RoundTrip> cases = {
      {"sample", writeSamplePackageSource, none},
      {"reserved header bytes", writeSamplePackageSource, reservedHeaderBytes},
      {"data file carried whole", tide("quiet"), reservedMemberByte},
      {"foreign implode stream", foreignStreamSource, none},
      {"movie player not stated", writeSamplePackageSource, moviePlayerByte(0)},
      {"own uninstall and a publisher", ownUninstallSource, none},
      {"movie player byte of another packer", writeSamplePackageSource, moviePlayerByte(7)},
  };
  for (const fs::directory_entry &item : fs::directory_iterator(INSTALLER_TEST_MANIFESTS)) {
    const std::string name = item.path().stem().string();
    cases.push_back({name, tide(name), none});
  }
  ASSERT_GT(cases.size(), 4u) << "the installer test manifests are found";
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
    EXPECT_EQ(readBytes(folder.path() / "source" / "members" / "main.swf"),
              readBytes(unpacked / "members" / "main.swf"))
        << trip.name;
    EXPECT_TRUE(fs::exists(unpacked / "header.json")) << trip.name;
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
