#include "packageWine.h"

#include "common/QRX_FileUtils.h"
#include "common/programSize.h"
#include "common/statusCodes.h"

#include <windows.h>

#include <cstring>

SAVER_PROGRAM_SIZE_MARK(INSTALLER_SIZE_IN_BYTES);

void PackageWineTest::SetUp() {
  scratch_ = new ScratchFolder();
  root_ = scratch_->path().string() + "\\";
  pathWorkFolder = root_ + "work\\";
  pathCommonAppData = root_ + "shared\\";
  pathSystem = root_ + "system\\";
  pathSysnative = root_ + "sysnative\\";
  // The saver folder exists before extraction: the install prepares it first.
  for (const std::string &folder :
       {pathWorkFolder, pathCommonAppData, pathSystem, pathSysnative, saverFolder()})
    CreateDirectoryA(folder.c_str(), nullptr);
  answerer_ = new driver::DialogAnswerer();
}

void PackageWineTest::TearDown() {
  package_.close();
  EXPECT_TRUE(answerer_->take().empty()) << "the package operations show nothing";
  delete answerer_;
  delete scratch_;
}

CarriedFile PackageWineTest::codecEntry() { return carried(1, "impborl.dat", 4, fileBytes(IMPBORL_DLL)); }

void PackageWineTest::writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files) {
  writePackage(flags, files, nullptr);
}

void PackageWineTest::writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files,
                                   void (*patch)(std::vector<uint8_t> &package)) {
  const uint32_t programSize = programSizeOf(INSTALLER_SIZE_IN_BYTES);
  ASSERT_GT(programSize, 0u) << "the test program's size constant was not patched";
  std::vector<uint8_t> package;
  std::string error;
  ASSERT_TRUE(buildPackage(flags, files, programSize, package, error)) << error;
  if (patch != nullptr) patch(package);
  std::vector<uint8_t> file(programSize, 'P');
  file.insert(file.end(), package.begin(), package.end());
  writeBytes(packagePath(), file);
}

std::string PackageWineTest::packagePath() { return packageCopyPath(pathWorkFolder); }

std::string PackageWineTest::dataFile() const {
  return pathWorkFolder + entryNameOf(package_.header().entries[ENTRY_DATA_FILE]);
}

int32_t PackageWineTest::openPackage() {
  int32_t status = package_.open(packagePath(), pathWorkFolder);
  if (status == STATUS_OK) status = package_.readHeader(programSizeOf(INSTALLER_SIZE_IN_BYTES), told_);
  return status;
}

void PackageWineTest::readHeader() {
  ASSERT_EQ(STATUS_OK, openPackage());
  ASSERT_EQ(STATUS_OK, extract(ENTRY_CODEC_LIBRARY));
}

EntryTarget PackageWineTest::targetOf(int index) {
  const PackageEntry &entry = package_.header().entries[index];
  const InstallFolders folders{pathWorkFolder, saverFolder(), pathCommonAppData, pathSystem};
  EntryTarget target;
  target.status = entryTarget(entry, folders, target.path);
  if (target.status == STATUS_OK && destinationOf(entry.destKind) == Destination::SystemFolder)
    target.nativeCopy = pathSysnative + entryNameOf(entry);
  target.keptForMembers =
      index == ENTRY_DATA_FILE && target.status == STATUS_OK && target.path == dataFile();
  return target;
}

int32_t PackageWineTest::extract(int index) { return package_.extractEntry(index, targetOf(index), told_); }

Failures PackageWineTest::told() {
  Failures result;
  result.swap(told_);
  return result;
}

Failure fileFailure(int32_t status, const std::string &subject) {
  return {FailureKind::File, status, subject};
}

bool operator==(const Failure &left, const Failure &right) {
  return left.kind == right.kind && left.status == right.status && left.subject == right.subject;
}

void PrintTo(const Failure &failure, std::ostream *out) {
  *out << "{kind " << static_cast<int>(failure.kind) << ", " << failure.status << ", \"" << failure.subject
       << "\"}";
}

std::vector<uint8_t> fileBytes(const std::string &path) { return readBytes(path); }

std::string fileText(const std::string &path) {
  const std::vector<uint8_t> bytes = readBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> bytesOf(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

CarriedFile carried(int index, const std::string &name, int32_t destKind, const std::vector<uint8_t> &bytes,
                    bool compressed) {
  CarriedFile file;
  file.index = index;
  file.name = name;
  file.destKind = destKind;
  file.bytes = bytes;
  file.compressed = compressed;
  return file;
}
