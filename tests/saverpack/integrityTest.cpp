// The integrity record from the packer to its checks: each kind of damage is
// told by the installer's start-up check and by "saverpack verify".
#include "packFixture.h"

#include "common/programSize.h"
#include "common/statusCodes.h"
#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "package/vouchedSpans.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/programImage.h"
#include "tools/saverpack/verify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const uint32_t LAUNCHER_SIZE = 3000;
const uint32_t PROGRAM_SIZE = 5000;

void replaceOnce(std::string &text, const std::string &from, const std::string &to) {
  const size_t at = text.find(from);
  ASSERT_NE(std::string::npos, at) << from;
  text.replace(at, from.size(), to);
}

std::string textOf(const fs::path &path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The sample package with the data file and its members stored as they are,
// so that a member's bytes lie plainly in the file.
std::vector<uint8_t> buildStoredSample(const fs::path &folder) {
  const fs::path manifest = writeSamplePackageSource(folder);
  std::string text = textOf(manifest);
  replaceOnce(text, "\"ocean.dat\", \"compressed\": true", "\"ocean.dat\"");
  replaceOnce(text, "\"compressMembers\": true", "\"compressMembers\": false");
  std::ofstream(manifest) << text;
  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> file;
  EXPECT_TRUE(loadBuildPlan(manifest.string(), plan, error) && buildInstallerFile(plan, file, error))
      << error;
  return std::vector<uint8_t>(file.begin() + LAUNCHER_SIZE, file.end());
}

InstallerHeader headerOf(const std::vector<uint8_t> &installer) {
  InstallerHeader header;
  std::memcpy(&header, installer.data() + PROGRAM_SIZE, sizeof(header));
  return header;
}

// Offset in the installer file of the first stored byte of member index.
size_t memberBytesAt(const std::vector<uint8_t> &installer, int index) {
  const size_t dataFileAt = static_cast<size_t>(headerOf(installer).entries[ENTRY_DATA_FILE].start);
  DataMemberRecord record;
  std::memcpy(&record, installer.data() + dataFileAt + memberRecordOffset(index), sizeof(record));
  return dataFileAt + static_cast<size_t>(record.headerOffset) + sizeof(DataMemberHeader);
}

// The verdict of the start-up check; with tagsOf, it takes the tagged plain
// members of at least that many bytes on their tags' word.
IntegrityVerdict startUpVerdict(const std::vector<uint8_t> &installer, uint32_t tagsOf = 0) {
  MemorySource file(installer.data(), installer.size());
  InstallerHeader header;
  IntegrityCheck check;
  EXPECT_EQ(STATUS_OK, readInstallerHeader(file, PROGRAM_SIZE, header));
  const std::vector<VouchedSpan> vouched =
      tagsOf > 0 ? findVouchedSpans(file, header, tagsOf) : std::vector<VouchedSpan>();
  EXPECT_EQ(tagsOf > 0, !vouched.empty());
  EXPECT_EQ(STATUS_OK, checkPackageIntegrity(file, PROGRAM_SIZE, header, check, vouched));
  return check.verdict;
}

std::string allProblems(const IntegrityReport &report) {
  std::string text;
  for (const std::string &problem : report.problems) text += problem + "\n";
  return text;
}

struct DamageCase {
  const char *what;
  std::function<void(std::vector<uint8_t> &)> damage;
  IntegrityVerdict verdict;
  const char *problem;  // part of a problem verify names; nullptr: none
};

void flip(std::vector<uint8_t> &bytes, size_t at) { bytes.at(at) ^= 0x10; }

}  // namespace

TEST(IntegrityRecord, EveryKindOfDamageIsTold) {
  ScratchFolder folder;
  const std::vector<uint8_t> built = buildStoredSample(folder.path());
  const InstallerHeader header = headerOf(built);
  const size_t entryTable = PROGRAM_SIZE + offsetof(InstallerHeader, entries);
  const size_t entry9Size = entryTable + 9 * sizeof(PackageEntry) + offsetof(PackageEntry, expandedSize);
  const DamageCase cases[] = {
      {"intact", [](std::vector<uint8_t> &) {}, IntegrityVerdict::intact, nullptr},
      {"byte in entry 6", [&](std::vector<uint8_t> &b) { flip(b, header.entries[6].start + 100); },
       IntegrityVerdict::packageChanged, "entry 6 \"My B3989.scr\" damaged"},
      {"byte in member 3", [&](std::vector<uint8_t> &b) { flip(b, memberBytesAt(b, 3) + 10); },
       IntegrityVerdict::packageChanged, "member 3 \"pictures\\a.jpg\" damaged"},
      {"entry table", [&](std::vector<uint8_t> &b) { flip(b, entry9Size); },
       IntegrityVerdict::packageChanged, "package damaged"},
      {"installer program", [](std::vector<uint8_t> &b) { flip(b, 100); }, IntegrityVerdict::programChanged,
       "installer program damaged"},
      {"cut download", [](std::vector<uint8_t> &b) { b.resize(b.size() - 1); },
       IntegrityVerdict::packageCut, "file cut short"},
      {"record version",
       [](std::vector<uint8_t> &b) { flip(b, PROGRAM_SIZE + INTEGRITY_RECORD_OFFSET + 4); },
       IntegrityVerdict::unknownVersion, "unknown version"},
      {"bytes appended", [](std::vector<uint8_t> &b) { b.insert(b.end(), 64, 0xAB); },
       IntegrityVerdict::intact, nullptr},
      {"no record",
       [](std::vector<uint8_t> &b) {
         std::memset(&b[PROGRAM_SIZE + INTEGRITY_RECORD_OFFSET], 0, sizeof(IntegrityRecord));
       },
       IntegrityVerdict::noRecord, nullptr},
  };
  for (const DamageCase &c : cases) {
    std::vector<uint8_t> installer = built;
    c.damage(installer);
    EXPECT_EQ(c.verdict, startUpVerdict(installer)) << c.what;
    const bool fine = c.verdict == IntegrityVerdict::intact || c.verdict == IntegrityVerdict::noRecord;
    EXPECT_EQ(fine ? STATUS_OK : STATUS_PACKAGE_DAMAGED, integrityStatus(c.verdict)) << c.what;
    const IntegrityReport report = checkInstallerIntegrity(installer, PROGRAM_SIZE);
    if (c.problem == nullptr)
      EXPECT_TRUE(report.problems.empty()) << c.what << "\n" << allProblems(report);
    else
      EXPECT_NE(std::string::npos, allProblems(report).find(c.problem)) << c.what << "\n"
                                                                        << allProblems(report);
  }
}

TEST(IntegrityRecord, VerifyExitsNonZeroOnDamageAndRefusedNames) {
  ScratchFolder folder;
  std::vector<uint8_t> installer = buildStoredSample(folder.path());
  const fs::path path = folder.path() / "saversetup-packed.exe";
  writeBytes(path, installer);
  std::ostringstream intact;
  EXPECT_EQ(0, verifyFile(path.string(), "", intact));
  EXPECT_NE(std::string::npos, intact.str().find("integrity: ok")) << intact.str();

  // A name the installer refuses is marked, and fails verify.
  std::memcpy(&installer[PROGRAM_SIZE + offsetof(InstallerHeader, entries) + 9 * sizeof(PackageEntry) +
                         offsetof(PackageEntry, name)],
              "x\\", 2);
  writeBytes(path, installer);
  std::ostringstream refused;
  EXPECT_EQ(1, verifyFile(path.string(), "", refused));
  EXPECT_NE(std::string::npos,
            refused.str().find("refused by the installer: entry 9 \"x\\lper1.dat\": unsafe name"))
      << refused.str();
  EXPECT_NE(std::string::npos, refused.str().find("integrity: package damaged")) << refused.str();

  // A size constant that names a program longer than the file is refused,
  // never followed past the file's end.
  const std::string tag = programSizeTag();
  const auto mark = std::search(installer.begin(), installer.end(), tag.begin(), tag.end());
  ASSERT_NE(mark, installer.end());
  const uint8_t beyondTheEnd[] = {0xFE, 0xFF, 0xFF, 0xFF};  // 0xFFFFFFFE
  std::memcpy(&*mark + PROGRAM_SIZE_TAG_LENGTH, beyondTheEnd, sizeof beyondTheEnd);
  writeBytes(path, installer);
  std::ostringstream beyond;
  EXPECT_EQ(1, verifyFile(path.string(), "", beyond));
  EXPECT_NE(std::string::npos, beyond.str().find("is not an installer or launcher file")) << beyond.str();
}

TEST(IntegrityRecord, EntryZeroIsKeptForTheRecord) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  std::string text = textOf(manifest);
  replaceOnce(text, "{\"index\": 3,",
              "{\"index\": 0, \"file\": \"notes.txt\", \"destKind\": 7},\n{\"index\": 3,");
  std::ofstream(manifest) << text;
  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> file;
  ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error)) << error;
  EXPECT_FALSE(buildInstallerFile(plan, file, error));
  EXPECT_EQ("entry 0 is never installed: it holds the integrity record", error);
}

namespace {

// What a signing tool does to an installer file: a new header checksum, the
// file padded to 8 bytes and a certificate table behind it, named by the
// certificate entry.
void signAsTheToolDoes(std::vector<uint8_t> &file) {
  file.resize((file.size() + 7) / 8 * 8, 0);
  const uint32_t table = static_cast<uint32_t>(file.size()), tableSize = 0x400, checksum = 0x0006AB1C;
  file.insert(file.end(), tableSize, 0x5A);
  std::memcpy(&file[STAND_IN_CHECKSUM], &checksum, sizeof checksum);
  std::memcpy(&file[STAND_IN_CERTIFICATE_ENTRY], &table, sizeof table);
  std::memcpy(&file[STAND_IN_CERTIFICATE_ENTRY + 4], &tableSize, sizeof tableSize);
}

// A record as packers wrote it before signing was known: the program's CRC
// over its bytes as they are.
void recordPlainProgramCrc(std::vector<uint8_t> &file) {
  IntegrityRecord record;
  InstallerHeader header = headerOf(file);
  ASSERT_TRUE(readIntegrityRecord(header, record));
  record.programCrc = crc32Of(file.data(), PROGRAM_SIZE);
  writeIntegrityRecord(header, record);
  std::memcpy(&file[PROGRAM_SIZE], &header, sizeof header);
}

}  // namespace

TEST(IntegrityRecord, SigningLeavesTheVerdictAndOtherDamageIsStillTold) {
  ScratchFolder folder;
  const std::vector<uint8_t> built = buildStoredSample(folder.path());
  const size_t dataFileAt = static_cast<size_t>(headerOf(built).entries[ENTRY_DATA_FILE].start);
  std::vector<uint8_t> checksummed = built;
  checksummed[STAND_IN_CHECKSUM] = 0x77;  // a linker's checksum, before the record was made
  const struct {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> change;
    IntegrityVerdict verdict;
  } cases[] = {
      {"signed", signAsTheToolDoes, IntegrityVerdict::intact},
      {"signed twice",
       [](std::vector<uint8_t> &b) {
         signAsTheToolDoes(b);
         signAsTheToolDoes(b);
       },
       IntegrityVerdict::intact},
      {"signed, then a program byte changed",
       [](std::vector<uint8_t> &b) {
         signAsTheToolDoes(b);
         flip(b, STAND_IN_CHECKSUM + 4);
       },
       IntegrityVerdict::programChanged},
      {"signed, then the header pointer changed",
       [](std::vector<uint8_t> &b) {
         signAsTheToolDoes(b);
         flip(b, 0x3c);
       },
       IntegrityVerdict::programChanged},
      {"signed, then a package byte changed",
       [&](std::vector<uint8_t> &b) {
         signAsTheToolDoes(b);
         flip(b, dataFileAt + 100);
       },
       IntegrityVerdict::packageChanged},
      {"older record, unsigned", recordPlainProgramCrc, IntegrityVerdict::intact},
      {"older record, program byte changed",
       [](std::vector<uint8_t> &b) {
         recordPlainProgramCrc(b);
         flip(b, 300);
       },
       IntegrityVerdict::programChanged},
  };
  for (const auto &c : cases) {
    const std::vector<uint8_t> *starts[] = {&built, &checksummed};
    for (const std::vector<uint8_t> *start : starts) {
      std::vector<uint8_t> installer = *start;
      if (start == &checksummed) {
        // The record of a program whose checksum was set when it was built.
        InstallerHeader header = headerOf(installer);
        IntegrityRecord record;
        ASSERT_TRUE(readIntegrityRecord(header, record));
        MemorySource program(installer.data(), PROGRAM_SIZE);
        uint32_t crc = 0;
        ASSERT_EQ(STATUS_OK, computeProgramCrc(program, PROGRAM_SIZE, crc));
        record.programCrc = crc;
        writeIntegrityRecord(header, record);
        std::memcpy(&installer[PROGRAM_SIZE], &header, sizeof header);
      }
      c.change(installer);
      EXPECT_EQ(c.verdict, startUpVerdict(installer)) << c.what << (start == &built ? "" : ", checksummed");
    }
  }
}

struct MoviePlayerCase {
  const char *manifestFrom, *manifestTo;
  MoviePlayerNeed need;
};

// The manifest's word or its default, as the installer reads it back; the
// byte leaves the package CRC as it was, and a flipped bit states nothing.
TEST(IntegrityRecord, MoviePlayerByteIsWhatTheManifestSays) {
  const MoviePlayerCase cases[] = {
      {"\"installerType\": 2", "\"installerType\": 2", MoviePlayerNeed::required},  // a movie splash
      {"\"installerType\": 2", "\"installerType\": 8", MoviePlayerNeed::none},
      {"\"installerType\": 2", "\"installerType\": 2, \"moviePlayer\": \"none\"", MoviePlayerNeed::none},
      {"\"installerType\": 2", "\"installerType\": 1, \"moviePlayer\": \"required\"",
       MoviePlayerNeed::required},
      {"\"installerType\": 2", "\"installerType\": 2, \"moviePlayer\": 0", MoviePlayerNeed::notStated},
      {"\"installerType\": 2", "\"installerType\": 2, \"moviePlayer\": 7", MoviePlayerNeed::notStated},
  };
  for (const MoviePlayerCase &each : cases) {
    SCOPED_TRACE(each.manifestTo);
    ScratchFolder folder;
    const fs::path manifest = writeSamplePackageSource(folder.path());
    std::string text = textOf(manifest);
    replaceOnce(text, each.manifestFrom, each.manifestTo);
    std::ofstream(manifest) << text;
    BuildPlan plan;
    std::string error;
    std::vector<uint8_t> file;
    ASSERT_TRUE(loadBuildPlan(manifest.string(), plan, error) && buildInstallerFile(plan, file, error))
        << error;
    std::vector<uint8_t> installer(file.begin() + LAUNCHER_SIZE, file.end());
    EXPECT_EQ(each.need, moviePlayerNeedOf(headerOf(installer)));
    EXPECT_EQ(IntegrityVerdict::intact, startUpVerdict(installer));
    const size_t byteAt = PROGRAM_SIZE + INTEGRITY_RECORD_OFFSET + offsetof(IntegrityRecord, moviePlayer);
    for (int bit = 0; bit < 8 && each.need != MoviePlayerNeed::notStated; ++bit) {
      std::vector<uint8_t> flipped = installer;
      flipped[byteAt] ^= static_cast<uint8_t>(1 << bit);
      EXPECT_EQ(MoviePlayerNeed::notStated, moviePlayerNeedOf(headerOf(flipped))) << "bit " << bit;
    }
  }
}

TEST(IntegrityRecord, MoviePlayerWordOtherThanTheTwoIsRefused) {
  ScratchFolder folder;
  const fs::path manifest = writeSamplePackageSource(folder.path());
  std::string text = textOf(manifest);
  replaceOnce(text, "\"installerType\": 2", "\"installerType\": 2, \"moviePlayer\": \"optional\"");
  std::ofstream(manifest) << text;
  BuildPlan plan;
  std::string error;
  EXPECT_FALSE(loadBuildPlan(manifest.string(), plan, error));
  EXPECT_NE(std::string::npos, error.find("moviePlayer must be \"required\" or \"none\"")) << error;
}

// Big members stored plain are taken on their tags' word, so that the pass
// reads their bytes only when they are copied, and checked; everything else
// is read as before, the tags and the table among it.
TEST(IntegrityRecord, MembersTakenOnTheirTagsWordLeaveTheRestChecked) {
  ScratchFolder folder;
  const std::vector<uint8_t> built = buildStoredSample(folder.path());
  const InstallerHeader header = headerOf(built);
  const auto memberTag = [](std::vector<uint8_t> &b, int index) {
    return memberBytesAt(b, index) - sizeof(DataMemberHeader) + offsetof(DataMemberHeader, reserved2) + 2;
  };
  const DamageCase cases[] = {
      {"intact", [](std::vector<uint8_t> &) {}, IntegrityVerdict::intact, nullptr},
      {"byte in member 3", [&](std::vector<uint8_t> &b) { flip(b, memberBytesAt(b, 3) + 10); },
       IntegrityVerdict::intact, nullptr},
      {"member 3's tag", [&](std::vector<uint8_t> &b) { flip(b, memberTag(b, 3)); },
       IntegrityVerdict::packageChanged, nullptr},
      {"byte in entry 6", [&](std::vector<uint8_t> &b) { flip(b, header.entries[6].start + 100); },
       IntegrityVerdict::packageChanged, nullptr},
  };
  for (const DamageCase &c : cases) {
    std::vector<uint8_t> installer = built;
    c.damage(installer);
    EXPECT_EQ(c.verdict, startUpVerdict(installer, 1)) << c.what;
  }
}
