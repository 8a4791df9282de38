// Signing an installer file through the host's signing tool, layer by layer
// through work files: both layers end signed and covering the file, signing
// again replaces the signatures, and a failing tool leaves the output as it
// was and no work files behind.
#include "packFixture.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/signing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string signaturesOf(const fs::path &file, const fs::path &certificate, bool &good) {
  std::ostringstream report;
  good = reportSignatures(readBytes(file), certificate.string(), report);
  return report.str();
}

TEST(Signing, SignsBothLayersAndSignsAgainInPlace) {
  ScratchFolder folder;
  const fs::path key = folder.path() / "key.pem", certificate = folder.path() / "cert.pem";
  ASSERT_EQ(0, std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Pack -keyout '" +
                            key.string() + "' -out '" + certificate.string() + "' 2>/dev/null")
                               .c_str()));
  BuildPlan plan;
  std::string error;
  int64_t size = 0;
  const std::string built = (folder.path() / "Setup.exe").string(), output = built + ".signed";
  ASSERT_TRUE(loadBuildPlan(writeSamplePackageSource(folder.path()).string(), plan, error) &&
              writeInstallerFile(plan, built, size, error))
      << error;
  SigningOptions options;
  options.certificatePath = certificate.string();
  options.keyPath = key.string();
  ASSERT_TRUE(signInstallerFile(built, output, options, error)) << error;
  bool good = false;
  std::string report = signaturesOf(output, certificate, good);
  EXPECT_TRUE(good) << report;
  EXPECT_NE(std::string::npos, report.find("launcher signature: signed by")) << report;
  EXPECT_NE(std::string::npos, report.find("installer signature: signed by")) << report;
  const uintmax_t signedSize = fs::file_size(output);
  ASSERT_TRUE(signInstallerFile(output, output, options, error)) << error;
  report = signaturesOf(output, certificate, good);
  EXPECT_TRUE(good) << report;
  EXPECT_EQ(signedSize, fs::file_size(output));  // replaced, not nested

  options = SigningOptions();
  options.signCommand = "false {file}";
  const std::vector<uint8_t> before = readBytes(output);
  EXPECT_FALSE(signInstallerFile(output, output, options, error));
  EXPECT_EQ(before, readBytes(output));
  for (const fs::directory_entry &entry : fs::directory_iterator(folder.path()))
    EXPECT_EQ(std::string::npos, entry.path().string().find(".partial")) << entry.path();
}

}  // namespace
