// The sample saver's portable rules: switches, settings record, picture fit.
#include "examples/sample/sampleSettings.h"
#include "examples/sample/saverCommandLine.h"
#include "examples/sample/slideRules.h"
#include "package/dataStructures_shared.h"
#include "package/installedSaver.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SampleSaver, Switches) {
  struct Case {
    const char *arguments;
    SaverMode mode;
    uintptr_t window;
    bool quiet;
  };
  const Case cases[] = {
      {"", SaverMode::Configure, 0, false},         {"/c:4242", SaverMode::Configure, 4242, false},
      {"/S", SaverMode::FullScreen, 0, false},      {"-s", SaverMode::FullScreen, 0, false},
      {"/p 1234", SaverMode::Preview, 1234, false}, {"/P:77", SaverMode::Preview, 77, false},
      {"/p x12", SaverMode::Preview, 0, false},     {"/u", SaverMode::Uninstall, 0, false},
      {"/u /q", SaverMode::Uninstall, 0, true},     {"/q  /U", SaverMode::Uninstall, 0, true},
      {"/a 99", SaverMode::Ignored, 99, false},
  };
  for (const Case &each : cases) {
    const SaverCommand command = parseSaverCommand(each.arguments);
    EXPECT_EQ(command.mode, each.mode) << each.arguments;
    EXPECT_EQ(command.window, each.window) << each.arguments;
    EXPECT_EQ(command.quiet, each.quiet) << each.arguments;
  }
}

std::vector<uint8_t> record(uint32_t seconds, const char *title, int32_t members) {
  SaverSettings settings = {};
  std::memcpy(settings.saverFields1 + SLIDE_SECONDS_OFFSET, &seconds, sizeof seconds);
  std::memcpy(settings.saverFields1 + TITLE_OFFSET, title, std::strlen(title));
  settings.memberCount = members;
  const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&settings);
  return std::vector<uint8_t>(bytes, bytes + sizeof settings);
}

TEST(SampleSaver, SettingsRecord) {
  SampleSettings settings = sampleSettingsOf(record(4, "Aurora Sampler", 5));
  EXPECT_TRUE(settings.fromFile);
  EXPECT_EQ(settings.slideSeconds, 4u);
  EXPECT_EQ(settings.title, "Aurora Sampler");
  EXPECT_EQ(settings.memberCount, 5);

  // Out-of-range time, a title that runs into control bytes, a whole field
  // of letters without its end.
  settings = sampleSettingsOf(record(0xFFFFFFFF, "Dawn\x07rest", 0));
  EXPECT_EQ(settings.slideSeconds, DEFAULT_SLIDE_SECONDS);
  EXPECT_EQ(settings.title, "Dawn");
  const std::string full(TITLE_FIELD, 'x');
  EXPECT_EQ(sampleSettingsOf(record(61, full.c_str(), 0)).title, full);

  // Anything but one whole record is not read at all.
  std::vector<uint8_t> longer = record(4, "Aurora", 1);
  longer.push_back(0);
  for (const std::vector<uint8_t> &bytes :
       {std::vector<uint8_t>(), std::vector<uint8_t>(1239, 4), longer}) {
    settings = sampleSettingsOf(bytes);
    EXPECT_FALSE(settings.fromFile);
    EXPECT_EQ(settings.slideSeconds, DEFAULT_SLIDE_SECONDS);
    EXPECT_EQ(settings.title, "");
  }
}

TEST(SampleSaver, PicturesFitCentredAndKeepTheirShape) {
  struct Case {
    int pictureWidth, pictureHeight, areaWidth, areaHeight;
    SlideRect expected;
  };
  const Case cases[] = {
      {640, 400, 1280, 1024, {0, 112, 1280, 800}},    // wider than the area: bars above and below
      {400, 800, 1000, 500, {375, 0, 250, 500}},      // taller: bars left and right
      {100000, 100000, 300, 200, {50, 0, 200, 200}},  // large sizes do not overflow
      {0, 10, 300, 200, {0, 0, 0, 0}},
  };
  for (const Case &each : cases) {
    const SlideRect got =
        fitPicture(each.pictureWidth, each.pictureHeight, each.areaWidth, each.areaHeight);
    EXPECT_EQ(got.left, each.expected.left);
    EXPECT_EQ(got.top, each.expected.top);
    EXPECT_EQ(got.width, each.expected.width);
    EXPECT_EQ(got.height, each.expected.height);
  }
  EXPECT_TRUE(isPictureFileName("a\\b\\Night.JPEG"));
  EXPECT_TRUE(isPictureFileName("x.bmp"));
  EXPECT_FALSE(isPictureFileName("about.txt"));
  EXPECT_FALSE(isPictureFileName("jpg"));
}

TEST(SampleSaver, ItsFileNameIsItsCodedName) {
  EXPECT_EQ(codedNameOfProgram("C:\\windows\\system32\\Auro0389.SCR"), "Auro0389");
  EXPECT_EQ(codedNameOfProgram("aquarium.scr"), "aquarium");
  EXPECT_EQ(codedNameOfProgram("C:\\x\\.scr"), "");
  EXPECT_EQ(codedNameOfProgram("C:\\x\\Auro0389.exe"), "");
}

}  // namespace
