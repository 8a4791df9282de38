// The host tool that writes a program's length into its size mark: exactly
// one tag is patched; no tag, two tags or a cut-off mark are refused.
#include "common/programSize.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

typedef std::string Bytes;

// The tag ends in its zero byte.
const char kTagText[] = PROGRAM_SIZE_TAG_FIRST PROGRAM_SIZE_TAG_SECOND;
const Bytes kTag(kTagText, sizeof kTagText);
const Bytes kEmptyValue(4, '\0');

// One file per test: ctest runs the cases in parallel.
std::string temporaryFile() {
  return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".exe";
}

void writeFile(const std::string &path, const Bytes &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

Bytes readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The tool's exit code, or -1 when it did not exit normally.
int patch(const std::string &path) {
  const int status = std::system(("'" PATCH_PROGRAM_SIZE "' '" + path + "'").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Bytes littleEndian(uint32_t value) {
  return Bytes{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

TEST(PatchProgramSize, WritesTheFileLengthBehindTheOnlyTag) {
  const Bytes before(100, 'a'), after(50, 'z');
  const std::string path = temporaryFile();
  writeFile(path, before + kTag + kEmptyValue + after);
  const uint32_t length = uint32_t(before.size() + kTag.size() + 4 + after.size());
  const Bytes expected = before + kTag + littleEndian(length) + after;

  ASSERT_EQ(patch(path), 0);
  EXPECT_EQ(readFile(path), expected);
  // A second run (a relink without changes) finds the tag again and keeps the value.
  ASSERT_EQ(patch(path), 0);
  EXPECT_EQ(readFile(path), expected);
}

TEST(PatchProgramSize, RefusesAFileWithoutOrWithTwoTagsAndLeavesItAlone) {
  const std::string path = temporaryFile();
  const Bytes samples[] = {
      Bytes(64, 'a'),                                           // no tag
      kTag + kEmptyValue + Bytes(8, 'b') + kTag + kEmptyValue,  // two tags
      Bytes(8, 'c') + kTag + Bytes(2, '\0'),                    // no room for the value
  };
  for (const Bytes &sample : samples) {
    writeFile(path, sample);
    EXPECT_NE(patch(path), 0) << sample.size() << "-byte sample";
    EXPECT_EQ(readFile(path), sample);
  }
  std::remove(path.c_str());
  EXPECT_NE(patch(path), 0) << "missing file";
}

}  // namespace
