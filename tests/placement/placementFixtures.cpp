#include "placementFixtures.h"

#include "common/QRX_FileUtils.h"
#include "package/dataStructures_shared.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace placement_test {

ScratchFolder::ScratchFolder(const std::string &name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "\\";
  deleteFolderTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { deleteFolderTree(path_); }

int32_t initSystemPathsForTest() {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  return initSystemPaths(program);
}

bool writeWholeFile(const std::string &path, const std::string &bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(file);
}

std::string readWholeFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename Record>
static std::string bytesOf(const Record &record) {
  return std::string(reinterpret_cast<const char *>(&record), sizeof record);
}

std::string buildDataFile(const std::vector<TestMember> &members, int32_t firstMemberType) {
  SaverSettings settings = {};
  for (size_t i = 0; i < sizeof settings.saverFields1; ++i) settings.saverFields1[i] = uint8_t(i * 7 + 1);
  std::memset(settings.saverFields2, 0x5a, sizeof settings.saverFields2);
  std::memset(settings.saverFields3, 0xa5, sizeof settings.saverFields3);
  settings.memberCount = int32_t(members.size());
  settings.firstMemberType = firstMemberType;

  std::string table;
  std::string stored;
  int32_t nextHeader = int32_t(sizeof settings + members.size() * sizeof(DataMemberRecord));
  for (const TestMember &member : members) {
    DataMemberRecord record = {};
    record.memberType = member.type;
    std::strncpy(record.path, member.path.c_str(), sizeof record.path - 1);
    record.headerOffset = nextHeader;
    table += bytesOf(record);
    DataMemberHeader header = {};
    header.expandedSize = int32_t(member.bytes.size());
    stored += bytesOf(header) + member.bytes;
    nextHeader += int32_t(sizeof header + member.bytes.size());
  }
  return bytesOf(settings) + table + stored;
}

}  // namespace placement_test
