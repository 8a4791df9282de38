// The packer reads the splash as the installer will, and refuses one the
// installer could not show.
#include "packFixture.h"

#include "tests/flash/swfBuilder.h"
#include "tools/saverpack/splashCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

struct SplashCase {
  const char *what;
  uint8_t installerType;
  std::vector<uint8_t> splash;
  bool hasPoster;
  const char *fault;  // nullptr: accepted without a warning
  bool warned;
};

}  // namespace

TEST(SplashCheck, PicturesAndMoviesAreReadAsTheInstallerWill) {
  const Bytes movie = fwsMovie(9, {backgroundColorTag(), endTag()});
  const std::vector<uint8_t> bitmap = bitmapFile(96, 54);
  const std::vector<uint8_t> jpeg = jpegFile(96, 54);
  const SplashCase cases[] = {
      {"bitmap", 1, bitmap, false, nullptr, false},
      {"bitmap cut short", 1, cut(bitmap, bitmap.size() - 100), false, "it is cut short", false},
      {"three bytes", 1, {'B', 'M', 1}, false, "no \"BM\" header", false},
      {"JPEG as a bitmap", 1, jpeg, false, "no \"BM\" header", false},
      {"JPEG", 8, jpeg, false, nullptr, false},
      {"JPEG cut short", 8, cut(jpeg, jpeg.size() / 2), false, "not a whole JPEG picture", false},
      {"bitmap as a JPEG", 8, bitmap, false, "not a whole JPEG picture", false},
      {"movie", 2, movie, false, nullptr, false},
      {"compressed movie", 3, cwsMovie(movie), false, nullptr, false},
      {"compressed movie cut short", 2, cut(cwsMovie(movie), 12), false, "cut short or damaged", false},
      {"version 21", 2, fwsMovie(21, {backgroundColorTag(), endTag()}), false, "SWF version is 21", false},
      {"version 2", 2, fwsMovie(2, {backgroundColorTag(), endTag()}), false, "SWF version is 2", false},
      {"no background", 2, fwsMovie(9, {endTag()}), false, "no SetBackgroundColor tag", false},
      {"a picture for a movie", 2, bitmap, false, "no SWF movie", false},
      {"version 21 with a poster", 2, fwsMovie(21, {backgroundColorTag(), endTag()}), true, nullptr, true},
      {"nothing to show", 4, {1, 2, 3}, false, nullptr, false},
  };
  for (const SplashCase &test : cases) {
    SCOPED_TRACE(test.what);
    ScratchFolder folder;
    writeBytes(folder.path() / "splash", test.splash);
    BuildPlan plan;
    plan.flags.installerType = test.installerType;
    EntryPlan splash;
    splash.index = 3;
    splash.key = "entries[0]";
    splash.sourcePath = (folder.path() / "splash").string();
    plan.entries.push_back(splash);
    std::vector<std::string> warnings;
    std::string error;
    const bool accepted = checkSplash(plan, test.hasPoster, warnings, error);
    EXPECT_EQ(accepted, test.fault == nullptr) << error;
    EXPECT_EQ(!warnings.empty(), test.warned);
    if (test.fault == nullptr) continue;
    EXPECT_EQ(error.rfind("entries[0].file: ", 0), 0u) << error;
    EXPECT_NE(error.find(test.fault), std::string::npos) << error;
  }
}

#ifdef SAVERPACK_PROGRAM
// The command refuses before anything is written.
TEST(SplashCheck, BuildRefusesASplashTheInstallerCannotShow) {
  const struct {
    const char *file;
    const char *installerType;
    std::vector<uint8_t> splash;
    const char *message;
  } cases[] = {
      {"splash.jpg", "8", cut(jpegFile(64, 64), 300),
       "entries[0].file: the splash picture cannot be shown"},
      {"splash.swf", "2", fwsMovie(21, {backgroundColorTag(), endTag()}),
       "entries[0].file: the installer's movie reader refuses the splash movie: its SWF version is 21"},
  };
  for (const auto &test : cases) {
    SCOPED_TRACE(test.file);
    ScratchFolder folder;
    const fs::path manifest = writeSamplePackageSource(folder.path());
    writeBytes(folder.path() / test.file, test.splash);
    std::stringstream text;
    text << std::ifstream(manifest).rdbuf();
    std::string json = text.str();
    json.replace(json.find("\"splash.swf\""), 12, std::string("\"") + test.file + "\"");
    json.replace(json.find("\"installerType\": 2"), 18,
                 std::string("\"installerType\": ") + test.installerType);
    std::ofstream(manifest) << json;
    const fs::path output = folder.path() / "Setup.exe";
    const fs::path messages = folder.path() / "messages.txt";
    const std::string command = std::string("\"") + SAVERPACK_PROGRAM + "\" build \"" + manifest.string() +
                                "\" -o \"" + output.string() + "\" 2> \"" + messages.string() + "\"";
    EXPECT_NE(0, std::system(command.c_str()));
    std::stringstream said;
    said << std::ifstream(messages).rdbuf();
    EXPECT_NE(said.str().find(test.message), std::string::npos) << said.str();
    EXPECT_FALSE(fs::exists(output));
  }
}
#endif
