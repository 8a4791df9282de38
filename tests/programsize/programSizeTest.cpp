// The size constant of a patched program equals the length of its own file.
#include "common/programSize.h"

#include <gtest/gtest.h>
#include <windows.h>

SAVER_PROGRAM_SIZE_MARK(testProgramSize);

namespace {

uint32_t ownFileLength() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return 0;
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return 0;
  return attributes.nFileSizeHigh == 0 ? attributes.nFileSizeLow : 0;
}

TEST(ProgramSize, ConstantEqualsOwnFileLength) {
  const uint32_t fileLength = ownFileLength();
  ASSERT_NE(fileLength, 0u) << "cannot read the length of the own program file";
  EXPECT_EQ(programSizeOf(testProgramSize), fileLength);
}

}  // namespace
