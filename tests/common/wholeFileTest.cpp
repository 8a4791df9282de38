// Reading a whole file: a file longer than the caller can hold is refused
// before anything is allocated for it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/wholeFile.h"

TEST(WholeFile, AFileLongerThanTheLargestAllowedIsNotRead) {
  const std::string path = (std::filesystem::temp_directory_path() / "whole-file-test.bin").string();
  std::ofstream(path, std::ios::binary) << "ten bytes!";
  const struct {
    uint64_t largest;
    bool read;
  } rows[] = {{UINT64_MAX, true}, {10, true}, {9, false}, {0, false}};
  for (const auto &row : rows) {
    std::vector<uint8_t> bytes;
    FileReadFault fault = {"none", 0};
    EXPECT_EQ(readWholeFile(path, bytes, &fault, row.largest), row.read) << row.largest;
    EXPECT_EQ(bytes.size(), row.read ? 10u : 0u) << row.largest;
    EXPECT_STREQ(fault.step, row.read ? "none" : "size") << row.largest;
    EXPECT_EQ(fault.code, row.read ? 0 : EFBIG) << row.largest;
  }
  std::remove(path.c_str());
}
