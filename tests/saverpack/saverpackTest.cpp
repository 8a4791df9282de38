// The packer from manifest to output file, and back through the readers.
#include "packFixture.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"
#include "package/packageLimits.h"
#include "package/uninstallMark.h"
#include "tools/saverpack/dataFileWriter.h"
#include "tools/saverpack/inspect.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/storedFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool build(const fs::path &manifest, const fs::path &output, std::string &error) {
  BuildPlan plan;
  std::vector<uint8_t> bytes;
  return loadBuildPlan(manifest.string(), plan, error) && buildInstallerFile(plan, bytes, error) &&
         writeWholeFile(output.string(), bytes, error);
}

std::vector<uint8_t> expandedEntry(ByteSource &source, const PackageEntry &entry) {
  std::vector<uint8_t> stored, expanded;
  EXPECT_EQ(0, readEntryBytes(source, entry, stored)) << entryNameOf(entry);
  if (!entry.compressed) return stored;
  dcl::explodeBuffer(stored.data(), stored.size(), expanded);
  return expanded;
}

TEST(Saverpack, EveryEntryAndMemberComesBackByteIdentical) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  const fs::path output = folder.path() / "Setup.exe";
  std::string error;
  ASSERT_TRUE(build(manifest, output, error)) << error;

  const std::vector<uint8_t> file = readBytes(output);
  ASSERT_GT(file.size(), 8000u);
  EXPECT_TRUE(
      std::equal(file.begin(), file.begin() + 3000, readBytes(folder.path() / "saverstart.exe").begin()));
  const std::vector<uint8_t> installer(file.begin() + 3000, file.end());
  EXPECT_TRUE(std::equal(installer.begin(), installer.begin() + 5000,
                         readBytes(folder.path() / "saversetup.exe").begin()));

  MemorySource package(installer.data(), installer.size());
  InstallerHeader header;
  ASSERT_EQ(0, readInstallerHeader(package, 5000, header));
  EXPECT_EQ("My Big Screensaver", saverNameOf(header));
  EXPECT_EQ(2, header.installerType);
  EXPECT_EQ(1, header.offerControlPanel);
  EXPECT_EQ(0, header.showLicense);

  const PackageEntry &codec = header.entries[1];
  EXPECT_EQ("impborl.dat", entryNameOf(codec));
  EXPECT_EQ(4, codec.destKind);
  EXPECT_EQ(0, codec.compressed);
  EXPECT_EQ(readBytes(folder.path() / "impborl.dll"), expandedEntry(package, codec));
  const struct {
    int index;
    const char *name, *source;
    int32_t destKind;
    bool compressed;
  } expected[] = {{3, "splash.swf", "splash.swf", 7, true},
                  {6, "My B3989.scr", "ocean.scr", 2, false},  // random bytes: stored plain
                  {7, "installer.swf", "installer.swf", 7, true},
                  {9, "helper1.dat", "helper.dat", 3, false},
                  {10, "notes.txt", "notes.txt", 1, true}};
  for (const auto &e : expected) {
    const PackageEntry &entry = header.entries[e.index];
    EXPECT_EQ(e.name, entryNameOf(entry));
    EXPECT_EQ(e.destKind, entry.destKind);
    EXPECT_EQ(e.compressed, entry.compressed != 0) << e.name;
    EXPECT_EQ(readBytes(folder.path() / e.source), expandedEntry(package, entry)) << e.name;
    EXPECT_EQ(static_cast<int32_t>(readBytes(folder.path() / e.source).size()), entry.expandedSize);
  }
  EXPECT_LT(header.entries[10].end - header.entries[10].start + 1, 5000) << "notes.txt imploded";
  for (int absent : {0, 2, 4, 5}) EXPECT_FALSE(entryPresent(header.entries[absent]));

  const PackageEntry &dataEntry = header.entries[8];
  EXPECT_EQ("ocean.dat", entryNameOf(dataEntry));
  EXPECT_EQ(7, dataEntry.destKind);
  const std::vector<uint8_t> dataFile = expandedEntry(package, dataEntry);
  MemorySource data(dataFile.data(), dataFile.size());
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  ASSERT_EQ(0, readMemberTable(data, settings, table.data()));
  ASSERT_EQ(5, settings.memberCount);
  EXPECT_EQ("movie.swf", memberPathOf(table[1]));
  EXPECT_EQ(MEMBER_TYPE_MOVIE_COPY, table[1].memberType);
  const char *members[] = {"main.swf", "pictures\\a.jpg", "pictures\\empty.txt"};
  const char *sources[] = {"main.swf", "pictures/a.jpg", "pictures/empty.txt"};
  for (int i = 0; i < 3; ++i) {
    const DataMemberRecord &record = table[i + 2];
    EXPECT_EQ(members[i], memberPathOf(record));
    DataMemberHeader memberHeader;
    std::vector<uint8_t> stored, expanded;
    ASSERT_EQ(0, readMemberHeader(data, record, memberHeader));
    ASSERT_EQ(0, readMemberBytes(data, record, memberHeader, stored));
    if (memberHeader.compressed)
      dcl::explodeBuffer(stored.data(), stored.size(), expanded);
    else
      expanded = stored;
    EXPECT_EQ(readBytes(folder.path() / "members" / sources[i]), expanded) << members[i];
  }
  // The uninstaller beside the installer comes last, and the header says so.
  EXPECT_EQ("saverremove.exe", memberPathOf(table[5]));
  EXPECT_TRUE(carriesUninstaller(header));
}

TEST(Saverpack, ImplodesIntoTheShortestStreamsUnlessAskedToBeFast) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  const std::vector<uint8_t> notes = readBytes(folder.path() / "notes.txt");
  for (bool fast : {false, true}) {
    BuildPlan plan;
    std::vector<uint8_t> file, stored, expected;
    std::string error;
    ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error)) << error;
    plan.fastImplode = fast;
    ASSERT_TRUE(buildInstallerFile(plan, file, error)) << error;
    MemorySource package(file.data() + 3000, file.size() - 3000);
    InstallerHeader header;
    ASSERT_EQ(0, readInstallerHeader(package, 5000, header));
    ASSERT_EQ(0, readEntryBytes(package, header.entries[10], stored));
    (fast ? dcl::implodeBuffer : dcl::implodeOptimal)(notes.data(), notes.size(), dcl::CMP_BINARY, 4096,
                                                      expected);
    EXPECT_EQ(expected, stored) << (fast ? "fast" : "shortest");
  }
}

// Imploding gives up on a member whose stream grows past its bytes from the
// start; one that shrinks is imploded into the same stream as ever.
TEST(Saverpack, MembersThatDoNotShrinkFromTheStartAreStoredPlain) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  std::vector<uint8_t> video = randomBytes(2 << 20, 5);
  const std::vector<uint8_t> tail = compressibleBytes(1 << 20);
  video.insert(video.end(), tail.begin(), tail.end());
  writeBytes(folder.path() / "members" / "loop.mov", video);
  BuildPlan plan;
  BuildNotes notes;
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error) &&
              buildInstallerFile(plan, file, error, nullptr, &notes))
      << error;
  const std::vector<std::string> &plain = notes.storedPlain;
  EXPECT_NE(plain.end(), std::find(plain.begin(), plain.end(), "dataFile member loop.mov"));
  EXPECT_NE(plain.end(), std::find(plain.begin(), plain.end(), "dataFile member pictures\\a.jpg"));
  EXPECT_EQ(plain.end(), std::find(plain.begin(), plain.end(), "dataFile member main.swf"));
  std::ostringstream shown;
  ASSERT_TRUE(inspectFile(file, shown));
  EXPECT_NE(std::string::npos, shown.str().find("\"loop.mov\" stored " + std::to_string(video.size())))
      << shown.str();
}

// A file larger than the format carries is refused before it is read, by
// its key and name, with the limit.
TEST(Saverpack, FilesBeyondTheFormatsLimitsAreRefusedByName) {
  struct Case {
    const char *file;
    int64_t size;
    const char *named;
  } const cases[] = {
      {"members/huge.mov", MAX_MEMBER_BYTES + 1, "dataFile.members huge.mov"},
      {"notes.txt", MAX_ENTRY_BYTES + 1, "entries[4].file"},
  };
  for (const Case &c : cases) {
    ScratchFolder folder;
    const fs::path manifest = writeSamplePackageSource(folder.path());
    writeBytes(folder.path() / c.file, {});
    fs::resize_file(folder.path() / c.file, static_cast<uintmax_t>(c.size));  // sparse: no disk taken
    BuildPlan plan;
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error)) << error;
    EXPECT_FALSE(buildInstallerFile(plan, file, error));
    EXPECT_EQ(0u, error.find(c.named)) << error;
    EXPECT_NE(std::string::npos, error.find("(" + std::to_string(c.size - 1) + " bytes)")) << error;
  }
}

TEST(Saverpack, InspectShowsWhatTheManifestAskedFor) {
  ScratchFolder folder;
  const fs::path output = folder.path() / "Setup.exe";
  std::string error;
  ASSERT_TRUE(build(writeSamplePackageSource(folder.path()), output, error)) << error;
  std::ostringstream shown;
  ASSERT_TRUE(inspectFile(readBytes(output), shown));
  const std::string text = shown.str();
  for (const char *part :
       {"launcher program: 3000 bytes", "installer program: 5000 bytes at 3000",
        "saverName \"My Big Screensaver\"", "installerType 2", "offerControlPanel 1",
        "entry 1: \"impborl.dat\" destKind 4 stored", "entry 9: \"helper1.dat\" destKind 3",
        "entry 10: \"notes.txt\" destKind 1 compressed", "memberCount 5", "uninstall carried",
        "member 1: type 3 \"movie.swf\" copy of the movie", "member 2: type 0 \"main.swf\" compressed",
        "member 3: type 0 \"pictures\\a.jpg\" stored 3000", "integrity: ok"})
    EXPECT_NE(std::string::npos, text.find(part)) << part << "\n" << text;

  std::ostringstream json;
  ASSERT_TRUE(inspectFile(readBytes(output), json, true));
  const nlohmann::json report = nlohmann::json::parse(json.str());
  EXPECT_EQ(8000, report["installer"]["offset"].get<int>() + report["installer"]["size"].get<int>());
  ASSERT_EQ(7u, report["entries"].size());
  EXPECT_EQ("My B3989.scr", report["entries"][2]["name"]);
  EXPECT_EQ(false, report["entries"][2]["compressed"]) << "random bytes stay plain";
  EXPECT_EQ(20000, report["entries"][4]["dataFile"]["members"][1]["expandedSize"]);
}

std::string readText(const fs::path &path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replaceIn(const fs::path &path, const std::string &from, const std::string &to) {
  std::string text = readText(path);
  const size_t at = text.find(from);
  ASSERT_NE(std::string::npos, at) << from;
  text.replace(at, from.size(), to);
  std::ofstream(path) << text;
}

struct Fault {
  std::string from, to, message;
};

TEST(Saverpack, ManifestFaultsAreNamedAndNothingIsWritten) {
  const std::string longName(256, 'n');
  const Fault faults[] = {
      {"\"ocean.scr\"", "\"missing.scr\"", "entries[1].file: cannot open"},
      {"\"helper1.dat\"", "\"" + longName + "\"", "longer than 255 bytes"},
      {"My Big Screensaver", std::string(65, 'S'), "saverName longer than 64 bytes"},
      {"\"index\": 9", "\"index\": 11", "entries[3].index: 11 is outside 0..10"},
      {"\"index\": 9", "\"index\": -1", "entries[3].index: -1 is outside 0..10"},
      {"\"destKind\": 2", "\"destKind\": 8", "entries[1].destKind: 8 has no destination"},
      {"\"destKind\": 2", "\"destKind\": 11", "entries[1].destKind: 11 has no destination"},
      {"\"index\": 9", "\"index\": 4", "no entry 9"},
      {"\"name\": \"helper1.dat\"", "\"name\": \"..\\\\helper1.dat\"", "plain file name"},
      {"\"movie.swf\"", "\"..\\\\movie.swf\"", "leaves the saver folder"},
      {"\"installerType\": 2,", "\"installerType\": 2, \"showLicense\": true,", "no entry 4"},
      {"\"offerControlPanel\"", "\"offerControlPanels\"", "offerControlPanels: unknown key"},
      {"\"ocean.scr\",", "\"ocean.scr\", \"name\": \"ocean.scr\",",
       "entries[1].name: entry 6 is installed as \"My B3989.scr\""},
      {"\"compressed\": true}", "\"compressed\": \"yes\"}", "compressed must be true or false"},
      {"\"offerControlPanel\": true,", "\"offerControlPanel\": true, \"uninstall\": \"both\",",
       "uninstall must be \"carried\" or \"saver\""},
      {"\"offerControlPanel\": true,", "\"offerControlPanel\": true, \"publisher\": \"" + longName + "\",",
       "publisher: at most 64 bytes"},
      {"\"movie.swf\"", "\"SaverRemove.exe\"", "would take the uninstaller's place"},
      {"\"offerControlPanel\": true,", "\"offerControlPanel\": true, \"languages\": \"en,xx\",",
       "languages names \"xx\""},
      {"\"offerControlPanel\": true,",
       "\"offerControlPanel\": true, \"uninstall\": \"saver\", "
       "\"uninstaller\": \"saverremove.exe\",",
       "only a package whose uninstall is \"carried\""},
  };
  for (const Fault &fault : faults) {
    ScratchFolder folder;
    const fs::path manifest = writeSamplePackageSource(folder.path());
    replaceIn(manifest, fault.from, fault.to);
    const fs::path output = folder.path() / "Setup.exe";
    std::string error;
    EXPECT_FALSE(build(manifest, output, error)) << fault.message;
    EXPECT_NE(std::string::npos, error.find(fault.message)) << error;
    EXPECT_FALSE(fs::exists(output)) << fault.message;
  }
}

TEST(Saverpack, MemberLimitsAreChecked) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  const fs::path longPath = folder.path() / "members" / std::string(200, 'd') / (std::string(60, 'f'));
  writeBytes(longPath, {1});
  std::string error;
  EXPECT_FALSE(build(manifest, folder.path() / "Setup.exe", error));
  EXPECT_NE(std::string::npos, error.find("member path longer than 255 bytes")) << error;
  fs::remove_all(longPath.parent_path());

  for (int i = 0; i < 1005; ++i) writeBytes(folder.path() / "members" / "many" / std::to_string(i), {});
  EXPECT_TRUE(build(manifest, folder.path() / "Setup.exe", error)) << error << " (1010 members fit)";
  writeBytes(folder.path() / "members" / "many" / "one-more", {});
  EXPECT_FALSE(build(manifest, folder.path() / "Setup2.exe", error));
  EXPECT_NE(std::string::npos, error.find("more than 1010 members")) << error;
}

TEST(Saverpack, ProgramsMustRecordTheirOwnSize) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  const fs::path output = folder.path() / "Setup.exe";
  writeBytes(output, {'o', 'l', 'd'});
  writeBytes(folder.path() / "saversetup.exe", standInProgram(5000, 4096));
  std::string error;
  EXPECT_FALSE(build(manifest, output, error));
  EXPECT_NE(std::string::npos, error.find("records 4096 bytes as its size but is 5000")) << error;
  writeBytes(folder.path() / "saversetup.exe", standInProgram(5000));
  writeBytes(folder.path() / "saverstart.exe", std::vector<uint8_t>(3000, 'x'));
  EXPECT_FALSE(build(manifest, output, error));
  EXPECT_NE(std::string::npos, error.find("has no program size constant")) << error;
  EXPECT_EQ((std::vector<uint8_t>{'o', 'l', 'd'}), readBytes(output)) << "the old output stays";
  for (const fs::directory_entry &item : fs::directory_iterator(folder.path()))
    EXPECT_EQ(std::string::npos, item.path().string().find(".partial"));
}

// Without "launcher" the output is the installer program with its package.
TEST(Saverpack, WithoutALauncherTheOutputIsTheInstallerAlone) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  nlohmann::json source = nlohmann::json::parse(std::ifstream(manifest));
  source.erase("launcher");
  std::ofstream(manifest) << source.dump();
  const fs::path output = folder.path() / "Installer.exe";
  std::string error;
  ASSERT_TRUE(build(manifest, output, error)) << error;
  const std::vector<uint8_t> file = readBytes(output),
                             installer = readBytes(folder.path() / "saversetup.exe");
  ASSERT_GT(file.size(), installer.size());
  EXPECT_TRUE(std::equal(installer.begin(), installer.end(), file.begin()));
}

TEST(Saverpack, AFailedWriteLeavesTheOlderOutputAlone) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  const fs::path output = folder.path() / "Setup.exe";
  writeBytes(output, {'o', 'l', 'd'});
  BuildPlan plan;
  std::string error;
  ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error)) << error;
  // Gone once the output is being written: the build fails in the data file.
  fs::remove(folder.path() / "members" / "pictures" / "a.jpg");
  int64_t size = 0;
  EXPECT_FALSE(writeInstallerFile(plan, output.string(), size, error));
  EXPECT_NE(std::string::npos, error.find("a.jpg")) << error;
  EXPECT_EQ((std::vector<uint8_t>{'o', 'l', 'd'}), readBytes(output));
  for (const fs::directory_entry &item : fs::directory_iterator(folder.path()))
    EXPECT_EQ(std::string::npos, item.path().string().find(".partial")) << item.path();
}

std::vector<uint8_t> fileBytes(std::FILE *file, int64_t size) {
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  std::rewind(file);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  return bytes;
}

// The members are imploded on every core and still stored as one after the
// other would be: each member the bytes storeFile makes of its file alone.
TEST(Saverpack, MembersImplodedTogetherAreStoredAsEachAlone) {
  ScratchFolder folder;
  DataFilePlan plan;
  for (uint32_t i = 0; i < 40; ++i) {
    const std::string name = "m" + std::to_string(i);
    writeBytes(folder.path() / name,
               i % 5 == 4 ? randomBytes(9000, i) : compressibleBytes(2000 + i * 1500));
    plan.members.push_back({name, (folder.path() / name).string(), 0, true});
  }
  for (bool fast : {false, true}) {
    std::FILE *output = std::tmpfile();
    int64_t size = 0;
    uint32_t crc = 0;
    std::string error;
    ASSERT_TRUE(writeDataFile(plan, fast, output, size, crc, error, nullptr, nullptr)) << error;
    const std::vector<uint8_t> dataFile = fileBytes(output, size);
    std::fclose(output);
    MemorySource data(dataFile.data(), dataFile.size());
    SaverSettings settings;
    std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
    ASSERT_EQ(0, readMemberTable(data, settings, table.data()));
    for (size_t i = 0; i < plan.members.size(); ++i) {
      DataMemberHeader header;
      std::vector<uint8_t> stored;
      ASSERT_EQ(0, readMemberHeader(data, table[i + 1], header));  // the table counts from 1
      ASSERT_EQ(0, readMemberBytes(data, table[i + 1], header, stored));
      std::FILE *alone = std::tmpfile();
      StoredFile expected;
      ASSERT_TRUE(storeFile(plan.members[i].sourcePath, true, fast, alone, expected, error)) << error;
      EXPECT_EQ(expected.compressed, header.compressed != 0) << plan.members[i].path;
      EXPECT_EQ(fileBytes(alone, expected.storedSize), stored)
          << plan.members[i].path << (fast ? " fast" : "");
      std::fclose(alone);
    }
  }
}

}  // namespace
