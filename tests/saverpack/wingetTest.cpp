// "saverpack winget": the manifest of a built package, checked against
// winget's published schemas, and the values winget matches the install by.
#include "packFixture.h"

#include "common/statusCodes.h"
#include "installer/placementRules.h"
#include "tools/saverpack/exitCodes.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/sha256.h"
#include "tools/saverpack/verify.h"
#include "tools/saverpack/wingetManifest.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

const WingetRequest REQUEST = {"Maker.Tide", "https://example.com/TideSetup.exe"};

// The sample package as "Tide", with the properties given (none when empty).
std::vector<uint8_t> builtPackage(const fs::path &folder, const json &properties) {
  const fs::path manifestPath = writeSamplePackageSource(folder);
  json manifest = json::parse(std::ifstream(manifestPath));
  manifest["saverName"] = "Tide";
  manifest.update(properties);
  std::ofstream(manifestPath) << manifest.dump(2);
  BuildPlan plan;
  std::vector<uint8_t> file;
  std::string error;
  EXPECT_TRUE(loadBuildPlan(manifestPath.string(), plan, error) && buildInstallerFile(plan, file, error))
      << error;
  return file;
}

const json STATED = {{"version", "2.1.0"},
                     {"publisher", "Tide Makers"},
                     {"homepage", "https://example.com/tide"},
                     {"supportUrl", "https://example.com/tide/help"}};

}  // namespace

TEST(Winget, Sha256IsTheStandardDigest) {
  Sha256Digest digest{};
  std::string error;
  ASSERT_TRUE(sha256Of({'a', 'b', 'c'}, digest, error)) << error;
  const Sha256Digest expected = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40,
                                 0xde, 0x5d, 0xae, 0x22, 0x23, 0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17,
                                 0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
  EXPECT_EQ(expected, digest);
}

TEST(Winget, RefusesWhatWingetCannotTake) {
  ScratchFolder folder;
  const std::vector<uint8_t> stated = builtPackage(folder.path() / "stated", STATED);
  std::vector<uint8_t> damaged = stated;
  damaged[damaged.size() - 100] ^= 0x55;
  struct Case {
    std::vector<uint8_t> file;
    WingetRequest request;
    std::string reason;
  };
  const Case cases[] = {
      {builtPackage(folder.path() / "plain", json::object()), REQUEST, "no version"},
      {damaged, REQUEST, "damaged"},
      {stated, {"Tide", REQUEST.installerUrl}, "--id"},
      {stated, {"Maker.Ti de", REQUEST.installerUrl}, "--id"},
      {stated, {"Maker..Tide", REQUEST.installerUrl}, "--id"},
      {stated, {REQUEST.identifier, "ftp://example.com/TideSetup.exe"}, "--url"},
      {stated, {REQUEST.identifier, "https://"}, "--url"},
      {stated, {REQUEST.identifier, REQUEST.installerUrl, "MI"}, "--license"},
      {stated, {REQUEST.identifier, REQUEST.installerUrl, "", std::string(257, 'x')}, "--description"},
  };
  for (const Case &each : cases) {
    WingetManifest manifest;
    std::string error;
    EXPECT_FALSE(makeWingetManifest(each.file, each.request, manifest, error)) << each.reason;
    EXPECT_NE(std::string::npos, error.find(each.reason)) << error;
  }
}

TEST(Winget, ScopeIsThePackagesAndOnlyAMachineInstallElevates) {
  ScratchFolder folder;
  json forUser = STATED;
  forUser["scope"] = "user";
  const std::pair<json, const char *> cases[] = {{STATED, "machine"}, {forUser, "user"}};
  for (const auto &[properties, scope] : cases) {
    WingetManifest manifest;
    std::string error;
    ASSERT_TRUE(
        makeWingetManifest(builtPackage(folder.path() / scope, properties), REQUEST, manifest, error))
        << error;
    const auto installer = std::ranges::find_if(manifest.files, [](const auto &file) {
      return file.first.find(".installer.") != std::string::npos;
    });
    ASSERT_NE(installer, manifest.files.end());
    EXPECT_EQ(scope, installer->second["Scope"]);
    EXPECT_EQ(std::string(scope) == "machine", installer->second.contains("ElevationRequirement")) << scope;
    // Neither --license nor --description: each stand-in is noted.
    EXPECT_EQ(2, std::ranges::count_if(manifest.notes, [](const std::string &note) {
                return note.find(" stands in: --") != std::string::npos;
              }));
  }
}

// verify tells what winget would miss, and does not fail for it.
TEST(Winget, VerifyNotesWhatWingetWouldMiss) {
  ScratchFolder folder;
  const std::pair<json, int> cases[] = {{json::object(), 2}, {{{"version", "1.0"}}, 1}, {STATED, 0}};
  for (const auto &[properties, notices] : cases) {
    const fs::path file = folder.path() / ("Setup" + std::to_string(notices) + ".exe");
    writeBytes(file, builtPackage(folder.path() / std::to_string(notices), properties));
    std::ostringstream out;
    EXPECT_EQ(0, verifyFile(file.string(), "", out)) << out.str();
    size_t found = 0;
    for (size_t at = out.str().find("notice: winget:"); at != std::string::npos;
         at = out.str().find("notice: winget:", at + 1))
      ++found;
    EXPECT_EQ(static_cast<size_t>(notices), found) << out.str();
  }
}

#ifdef SAVER_WINGET_SCHEMAS
// The three files validate against the v1.10 schemas; the entry winget looks
// for is the one the install writes, and each exit code has its response.
TEST(Winget, ManifestValidatesAndMatchesTheInstall) {
  ScratchFolder folder;
  const std::vector<uint8_t> file = builtPackage(folder.path() / "source", STATED);
  WingetManifest manifest;
  std::vector<std::string> written;
  std::string error;
  WingetRequest request = REQUEST;
  request.license = "Freeware";
  request.shortDescription = "Waves rolling over the screen";
  ASSERT_TRUE(makeWingetManifest(file, request, manifest, error)) << error;
  ASSERT_TRUE(writeWingetManifest(manifest, (folder.path() / "out").string(), written, error)) << error;
  EXPECT_EQ(3u, written.size());

  const fs::path parsed = folder.path() / "parsed.json";
  const std::string command = std::string(SAVER_WINGET_VALIDATOR) + " " + SAVER_WINGET_SCHEMAS + " " +
                              (folder.path() / "out").string() + " " + parsed.string();
  ASSERT_EQ(0, std::system(command.c_str())) << command;
  const json documents = json::parse(std::ifstream(parsed));
  EXPECT_EQ("Maker.Tide.installer.yaml", documents["installer"]["file"]);
  const json &installer = documents["installer"]["content"];
  const json &locale = documents["defaultLocale"]["content"];

  const json entry = {{"DisplayName", UninstallDisplayNameFor("Tide", "Screen Saver")},
                      {"Publisher", "Tide Makers"},
                      {"DisplayVersion", "2.1.0"},
                      {"ProductCode", "Tide"}};
  EXPECT_EQ(json::array({entry}), installer["AppsAndFeaturesEntries"]);
  EXPECT_EQ("Tide", installer["ProductCode"]);
  EXPECT_EQ("2.1.0", documents["version"]["content"]["PackageVersion"]);
  EXPECT_EQ("https://example.com/tide/help", locale["PublisherSupportUrl"]);
  EXPECT_EQ("Freeware", locale["License"]);
  EXPECT_EQ("Waves rolling over the screen", locale["ShortDescription"]);

  std::map<int32_t, std::string> responses;
  for (const json &code : installer["ExpectedReturnCodes"])
    responses[code["InstallerReturnCode"].get<int32_t>()] = code["ReturnResponse"];
  for (const ExitCode &row : exitCodeTable())
    EXPECT_EQ(row.response, responses.contains(row.code) ? responses[row.code] : "") << row.code;
  const std::map<int32_t, std::string> scripted = {{STATUS_PACKAGE_DAMAGED, "contactSupport"},
                                                   {STATUS_USER_ABORT, "cancelledByUser"},
                                                   {STATUS_DOWNGRADE_REFUSED, "downgrade"},
                                                   {SYSTEM_ERROR_DISK_FULL, "diskFull"}};
  for (const auto &[code, response] : scripted) EXPECT_EQ(response, responses[code]) << code;
}
#endif
