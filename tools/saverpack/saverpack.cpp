// saverpack: makes a distributable screen saver installer, and shows what one
// holds.
//   saverpack build MANIFEST -o OUTPUT
//   saverpack inspect FILE
//   saverpack verify FILE
#include "tools/saverpack/inspect.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/verify.h"

#include <cstring>
#include <iostream>
#include <string>

static int usage() {
  std::cerr << "usage: saverpack build MANIFEST -o OUTPUT\n"
               "       saverpack inspect FILE\n"
               "       saverpack verify FILE\n";
  return 2;
}

static int fail(const std::string &message) {
  std::cerr << "saverpack: " << message << "\n";
  return 1;
}

static int build(const std::string &manifestPath, const std::string &outputPath) {
  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> output;
  if (!loadBuildPlan(manifestPath, plan, error) || !buildInstallerFile(plan, output, error) ||
      !writeWholeFile(outputPath, output, error))
    return fail(error);
  std::cout << "wrote " << outputPath << " (" << output.size() << " bytes)\n";
  return 0;
}

static int inspect(const std::string &path) {
  std::vector<uint8_t> file;
  std::string error;
  if (!readWholeFile(path, file, error)) return fail(error);
  if (!inspectFile(file, std::cout)) return fail(path + " is neither an installer nor a data file");
  return 0;
}

int main(int argc, char **argv) {
  if (argc == 5 && std::strcmp(argv[1], "build") == 0 && std::strcmp(argv[3], "-o") == 0)
    return build(argv[2], argv[4]);
  if (argc == 3 && std::strcmp(argv[1], "inspect") == 0) return inspect(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "verify") == 0) return verifyFile(argv[2], std::cout);
  return usage();
}
