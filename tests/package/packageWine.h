// Shared set-up of the package tests under Wine: a scratch tree standing in
// for the work, shared, system and native system folders, a package written
// as "temp.dat" behind a stand-in of this program's length, and what the
// operations told. They show no dialog: one would fail the test.
#ifndef SAVER_TESTS_PACKAGE_PACKAGE_WINE_H
#define SAVER_TESTS_PACKAGE_PACKAGE_WINE_H

#include "common/QRX_FileUtils.h"
#include "package/package.h"
#include "package/packageFailure.h"
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
  static void writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files);
  // Writes temp.dat with the header patched after building, for faults.
  static void writePackage(const PackageFlags &flags, const std::vector<CarriedFile> &files,
                           void (*patch)(std::vector<uint8_t> &package));
  // Opens temp.dat for the run and reads its header: the status, told().
  int32_t openPackage();
  // openPackage, then entry 1 (the codec library), as the installer does at
  // start-up.
  void readHeader();
  // Where entry index goes by the destination rules, in the scratch tree.
  EntryTarget targetOf(int index);
  int32_t extract(int index);
  Package &package() { return package_; }
  // Runs a package operation on the list told() hands out.
  template <typename Operation>
  int32_t run(Operation operation) {
    return operation(told_);
  }

  std::string root() const { return root_; }
  static std::string packagePath();
  std::string saverFolder() const { return root_ + "shared\\Saver\\"; }
  // The data file as the installer names it: entry 8 in the work folder.
  std::string dataFile() const;
  // What the operations told since the last call.
  Failures told();

  static CarriedFile codecEntry();

 private:
  ScratchFolder *scratch_ = nullptr;
  driver::DialogAnswerer *answerer_ = nullptr;
  std::string root_;
  Failures told_;
  Package package_;
};

std::string fileText(const std::string &path);
std::vector<uint8_t> fileBytes(const std::string &path);
CarriedFile carried(int index, const std::string &name, int32_t destKind, const std::vector<uint8_t> &bytes,
                    bool compressed = false);
std::vector<uint8_t> bytesOf(const std::string &text);
// One failure of a file, entry or name: status and subject.
Failure fileFailure(int32_t status, const std::string &subject);
bool operator==(const Failure &left, const Failure &right);
void PrintTo(const Failure &failure, std::ostream *out);

#endif
