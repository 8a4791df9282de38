// Shared set-up of the package tests under Wine: a scratch tree standing in
// for the work, shared, system and native system folders, a package written
// as "temp.dat" behind a stand-in of this program's length, and the dialogs.
#ifndef SAVER_TESTS_PACKAGE_PACKAGE_WINE_H
#define SAVER_TESTS_PACKAGE_PACKAGE_WINE_H

#include "common/QRX_FileUtils.h"
#include "packFixture.h"
#include "testDriver.h"
#include "tools/saverpack/packageBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class PackageWineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes temp.dat: filler of the installer's length, then the package.
  void writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files);
  // Writes temp.dat with the header patched after building, for faults.
  void writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files,
                    void (*patch)(std::vector<uint8_t> &package));
  // Reads the header and extracts entry 1 (the codec library) as the
  // installer does at start-up.
  void readHeader();
  int32_t extract(int index);

  std::string root() const { return root_; }
  std::vector<driver::ShownDialog> dialogs() { return answerer_->take(); }

  static CarriedFile codecEntry();

 private:
  ScratchFolder *scratch_ = nullptr;
  driver::DialogAnswerer *answerer_ = nullptr;
  std::string root_;
};

std::string fileText(const std::string &path);
std::vector<uint8_t> fileBytes(const std::string &path);
CarriedFile carried(int index, const std::string &name, int32_t destKind,
                    const std::vector<uint8_t> &bytes, bool compressed = false);
std::vector<uint8_t> bytesOf(const std::string &text);

#endif
