// Helpers of the placement tests under Wine: scratch folders, whole-file
// reading and writing, and data files built from records. The installer's
// message dialogs are answered by the test driver's DialogAnswerer.
#ifndef SAVER_TESTS_PLACEMENT_FIXTURES_H
#define SAVER_TESTS_PLACEMENT_FIXTURES_H

#include <windows.h>

#include "common/QRX_FileUtils.h"
#include "testDriver.h"

#include <cstdint>
#include <string>
#include <vector>

namespace placement_test {

// A fresh folder below the temporary folder, removed with its contents.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string &name);
  ~ScratchFolder();
  const std::string &path() const { return path_; }  // ends in "\"

 private:
  std::string path_;
};

// Sets the system paths as the program would at start-up; 0 or the status.
int32_t initSystemPathsForTest();

bool writeWholeFile(const std::string &path, const std::string &bytes);
// "" also for a missing file; check fileExists first where that matters.
std::string readWholeFile(const std::string &path);

struct TestMember {
  uint8_t type;
  std::string path;
  std::string bytes;  // stored uncompressed
};

// A data file: a settings record with recognisable bytes, memberCount set,
// firstMemberType at offset 1208, then the member table and the members.
std::string buildDataFile(const std::vector<TestMember> &members, int32_t firstMemberType);

}  // namespace placement_test

#endif
