// The poster: the packer stores only one the installer can show, inspect
// tells where it lies, and its range is read only inside the package.
#include "packFixture.h"

#include "common/statusCodes.h"
#include "package/posterRange.h"
#include "tools/saverpack/inspect.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> cut(std::vector<uint8_t> bytes) {
  bytes.resize(bytes.size() / 2);
  return bytes;
}

// The sample source (a movie splash) with the poster and, when given, another installer type.
fs::path sourceWithPoster(const fs::path &folder, const std::vector<uint8_t> &poster, const char *type) {
  fs::path manifest = writeSamplePackageSource(folder);
  writeBytes(folder / "poster.img", poster);
  std::ifstream in(manifest);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  const std::string typeKey = "\"installerType\": 2,";
  text.replace(text.find(typeKey), typeKey.size(),
               std::string("\"installerType\": ") + type + ", \"poster\": \"poster.img\",");
  std::ofstream(manifest) << text;
  return manifest;
}

struct PosterCase {
  const char *what;
  std::vector<uint8_t> poster;
  const char *type;
  const char *outcome;  // inspect's line, or the refusal
  bool builds;
};

}  // namespace

TEST(SaverpackPoster, OnlyAPosterTheInstallerCanShowIsStored) {
  const PosterCase cases[] = {
      {"bitmap", bitmapFile(96, 54), "2", ": bitmap", true},
      {"JPEG", jpegFile(96, 54), "3", ": JPEG", true},
      {"cut JPEG", cut(jpegFile(96, 54)), "2", "poster: the installer cannot show", false},
      {"cut bitmap", cut(bitmapFile(96, 54)), "2", "cut short", false},
      {"no picture", randomBytes(3000, 5), "2", "neither a bitmap nor a JPEG", false},
      {"picture splash", bitmapFile(96, 54), "1", "poster: only a movie splash", false},
  };
  for (const PosterCase &each : cases) {
    ScratchFolder folder;
    BuildPlan plan;
    std::string error;
    std::vector<uint8_t> output;
    const bool built =
        loadBuildPlan(sourceWithPoster(folder.path(), each.poster, each.type).string(), plan, error) &&
        buildInstallerFile(plan, output, error);
    EXPECT_EQ(built, each.builds) << each.what << ": " << error;
    if (!built) {
      EXPECT_NE(std::string::npos, error.find(each.outcome)) << each.what << ": " << error;
      continue;
    }
    std::ostringstream shown;
    ASSERT_TRUE(inspectFile(output, shown)) << each.what;
    EXPECT_NE(std::string::npos, shown.str().find(each.outcome)) << each.what << "\n" << shown.str();
    EXPECT_NE(std::string::npos, shown.str().find("integrity: ok")) << each.what << "\n" << shown.str();
  }
}

struct RangeCase {
  std::string range;
  int32_t status;
  size_t length;
};

// A package of 100 bytes behind a program of 10: the header ends at 10 plus
// its size, and the poster may lie only between there and the end.
TEST(PosterRange, OnlyARangeInsideThePackageIsRead) {
  const uint32_t programSize = 10;
  const size_t headerEnd = programSize + sizeof(InstallerHeader);
  const std::vector<uint8_t> file = randomBytes(headerEnd + 100, 3);
  const std::string start = std::to_string(headerEnd);
  const RangeCase cases[] = {
      {"", STATUS_OK, 0},
      {start + " 100", STATUS_OK, 100},
      {std::to_string(headerEnd + 99) + " 1", STATUS_OK, 1},
      {start + " 101", STATUS_PACKAGE_DAMAGED, 0},
      {std::to_string(headerEnd - 1) + " 1", STATUS_PACKAGE_DAMAGED, 0},
      {start + " 0", STATUS_PACKAGE_DAMAGED, 0},
      {start + " 4294967296", STATUS_PACKAGE_DAMAGED, 0},
      {start + " 99999999999", STATUS_PACKAGE_DAMAGED, 0},
      {start + "  5", STATUS_PACKAGE_DAMAGED, 0},
      {start + " 5 ", STATUS_PACKAGE_DAMAGED, 0},
      {start + " -5", STATUS_PACKAGE_DAMAGED, 0},
      {start, STATUS_PACKAGE_DAMAGED, 0},
      {"poster", STATUS_PACKAGE_DAMAGED, 0},
  };
  for (const RangeCase &each : cases) {
    MemorySource package(file.data(), file.size());
    PackageProperties properties;
    properties.posterRange = each.range;
    std::vector<uint8_t> poster = {1};
    EXPECT_EQ(readPoster(package, programSize, properties, poster), each.status) << each.range;
    EXPECT_EQ(poster.size(), each.length) << each.range;
  }
}
