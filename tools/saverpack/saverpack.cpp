// saverpack: makes a distributable screen saver installer, shows and checks
// what one holds, and unpacks one again.
//   saverpack init DIR [--name NAME] [--programs FOLDER] [--saver FILE]
//   saverpack build MANIFEST -o OUTPUT [--quiet] [--fast] [signing options]
//   saverpack inspect [--json] FILE
//   saverpack extract FILE DIR [--quiet]
//   saverpack verify FILE [--ca FILE]
//   saverpack sign FILE [signing options] [-o OUTPUT]
//   saverpack winget FILE --id ID --url URL [--license L] [--description D] -o DIR
//   saverpack exit-codes
// Signing options: --cert CERT --key KEY [--pass-file F] [--timestamp URL],
// or --sign-command 'CMD {file}'.
#include "tools/saverpack/exitCodes.h"
#include "tools/saverpack/extract.h"
#include "tools/saverpack/init.h"
#include "tools/saverpack/inspect.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/signing.h"
#include "tools/saverpack/splashCheck.h"
#include "tools/saverpack/verify.h"
#include "tools/saverpack/wingetManifest.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

int usage() {
  std::cerr << "usage: saverpack init DIR [--name NAME] [--programs FOLDER] [--saver FILE]\n"
               "       saverpack build MANIFEST -o OUTPUT [--quiet] [--fast] [SIGNING]\n"
               "       saverpack inspect [--json] FILE\n"
               "       saverpack extract FILE DIR [--quiet]\n"
               "       saverpack verify FILE [--ca FILE]\n"
               "       saverpack sign FILE [SIGNING] [-o OUTPUT]\n"
               "       saverpack winget FILE --id ID --url URL [--license L] [--description D] -o DIR\n"
               "       saverpack exit-codes\n"
               "SIGNING: --cert CERT --key KEY [--pass-file F] [--timestamp URL]\n"
               "         or --sign-command 'CMD {file}' (run once per layer)\n"
               "--fast implodes quickly rather than into the shortest streams.\n"
               "The manifest is described in tools/saverpack/manifest.md.\n";
  return 2;
}

int fail(const std::string &message) {
  std::cerr << "saverpack: " << message << "\n";
  return 1;
}

// A command's words: the plain ones in order, options with or without a value.
struct Words {
  std::vector<std::string> plain;
  std::map<std::string, std::string> options;
};

std::string optionOf(const Words &words, const char *name) {
  const auto found = words.options.find(name);
  return found == words.options.end() ? std::string() : found->second;
}

const std::map<std::string, bool> SIGNING_WORDS = {{"-o", true},          {"--cert", true},
                                                   {"--key", true},       {"--pass-file", true},
                                                   {"--timestamp", true}, {"--sign-command", true}};

std::map<std::string, bool> withSigning(std::map<std::string, bool> known) {
  known.insert(SIGNING_WORDS.begin(), SIGNING_WORDS.end());
  return known;
}

// Either a key (with its certificate, unless PKCS#12 holds both) or the
// maker's own command; false when the words give neither or both.
bool signingOptionsOf(const Words &words, SigningOptions &options) {
  options.certificatePath = optionOf(words, "--cert");
  options.keyPath = optionOf(words, "--key");
  options.passwordFile = optionOf(words, "--pass-file");
  options.timestampUrl = optionOf(words, "--timestamp");
  options.signCommand = optionOf(words, "--sign-command");
  const bool keyGiven = !options.keyPath.empty() || !options.certificatePath.empty();
  return !(keyGiven && !options.signCommand.empty()) &&
         (options.certificatePath.empty() || !options.keyPath.empty());
}

bool split(int argc, char **argv, const std::map<std::string, bool> &known, Words &words) {
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    const auto option = known.find(word);
    if (word.size() > 1 && word[0] == '-' && option == known.end()) return false;
    if (option == known.end()) {
      words.plain.push_back(word);
    } else if (option->second) {
      if (++i == argc) return false;
      words.options[word] = argv[i];
    } else {
      words.options[word] = "";
    }
  }
  return true;
}

// Builds beside outputPath and writes the signed file there: a failed
// signing leaves no unsigned output.
bool buildSigned(const BuildPlan &plan, const std::string &outputPath, const SigningOptions &signing,
                 int64_t &size, std::string &error, Progress &progress, BuildNotes &notes) {
  const std::string unsignedPath = outputPath + ".unsigned";
  const bool signedOk = writeInstallerFile(plan, unsignedPath, size, error, &progress, &notes) &&
                        signInstallerFile(unsignedPath, outputPath, signing, error);
  std::remove(unsignedPath.c_str());
  std::error_code ignored;
  size = signedOk ? static_cast<int64_t>(std::filesystem::file_size(pathOfUtf8(outputPath), ignored)) : 0;
  return signedOk;
}

int build(const Words &words) {
  BuildPlan plan;
  std::string error;
  Progress progress(words.options.contains("--quiet") ? nullptr : &std::cerr);
  BuildNotes notes;
  const std::string &outputPath = words.options.at("-o");
  SigningOptions signing;
  if (!signingOptionsOf(words, signing)) return usage();
  const bool loaded = loadBuildPlan(words.plain[0], plan, error);
  plan.fastImplode = words.options.contains("--fast");
  std::vector<std::string> warnings;
  int64_t size = 0;
  if (!loaded || !checkSplash(plan, !plan.flags.poster.empty(), warnings, error) ||
      !(signing.wanted() ? buildSigned(plan, outputPath, signing, size, error, progress, notes)
                         : writeInstallerFile(plan, outputPath, size, error, &progress, &notes)))
    return fail(error);
  std::cout << "wrote " << outputPath << " (" << size << " bytes)\n";
  for (const std::string &warning : warnings) std::cout << "warning: " << warning << "\n";
  if (!notes.storedPlain.empty()) {
    std::cout << "stored plain, since imploding would not make them smaller:";
    const size_t shown = std::min<size_t>(notes.storedPlain.size(), 5);
    for (size_t i = 0; i < shown; ++i) std::cout << (i ? ", " : " ") << notes.storedPlain[i];
    if (shown < notes.storedPlain.size())
      std::cout << " and " << notes.storedPlain.size() - shown << " more";
    std::cout << "\n";
  }
  return 0;
}

int sign(const Words &words) {
  SigningOptions signing;
  if (!signingOptionsOf(words, signing) || !signing.wanted()) return usage();
  const std::string outputPath = words.options.contains("-o") ? words.options.at("-o") : words.plain[0];
  std::string error;
  if (!signInstallerFile(words.plain[0], outputPath, signing, error)) return fail(error);
  std::cout << "signed " << outputPath << "\n";
  return 0;
}

int inspect(const Words &words) {
  std::vector<uint8_t> file;
  std::string error;
  if (!readWholeFile(words.plain[0], file, error)) return fail(error);
  if (!inspectFile(file, std::cout, words.options.contains("--json")))
    return fail(words.plain[0] + " is neither an installer nor a data file");
  return 0;
}

int extract(const Words &words) {
  std::vector<uint8_t> file;
  std::string error;
  Progress progress(words.options.contains("--quiet") ? nullptr : &std::cerr);
  ExtractOutcome outcome;
  if (!readWholeFile(words.plain[0], file, error) ||
      !extractFile(file, words.plain[1], &progress, outcome, error))
    return fail(error);
  std::cout << "extracted " << outcome.filesWritten << " files to " << words.plain[1] << "\n";
  for (const std::string &note : outcome.notes) std::cout << "note: " << note << "\n";
  if (outcome.rebuildsIdentically)
    std::cout << "saverpack build " << words.plain[1] << "/manifest.json gives the same bytes again\n";
  else
    std::cerr << "saverpack: note: manifest.json does not give the same bytes again: "
              << outcome.rebuildDifference << "\n";
  return 0;
}

int winget(const Words &words) {
  std::vector<uint8_t> file;
  std::string error;
  WingetManifest manifest;
  std::vector<std::string> written;
  const WingetRequest request = {words.options.at("--id"), words.options.at("--url"),
                                 optionOf(words, "--license"), optionOf(words, "--description")};
  if (!readWholeFile(words.plain[0], file, error) || !makeWingetManifest(file, request, manifest, error) ||
      !writeWingetManifest(manifest, words.options.at("-o"), written, error))
    return fail(error);
  for (const std::string &path : written) std::cout << "wrote " << path << "\n";
  for (const std::string &note : manifest.notes) std::cout << "note: " << note << "\n";
  return 0;
}

int init(const Words &words, const char *toolPath) {
  InitOptions options;
  options.folder = words.plain[0];
  options.saverName = optionOf(words, "--name");
  options.programsFolder = optionOf(words, "--programs");
  options.saverProgram = optionOf(words, "--saver");
  std::error_code fault;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", fault);
  options.toolPath = fault ? toolPath : self.string();
  std::string error;
  if (!initPackageSource(options, std::cout, error)) return fail(error);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  Words words;
  if (command == "build" &&
      split(argc, argv, withSigning({{"--quiet", false}, {"--fast", false}}), words) &&
      words.plain.size() == 1 && words.options.contains("-o"))
    return build(words);
  if (command == "inspect" && split(argc, argv, {{"--json", false}}, words) && words.plain.size() == 1)
    return inspect(words);
  if (command == "extract" && split(argc, argv, {{"--quiet", false}}, words) && words.plain.size() == 2)
    return extract(words);
  if (command == "init" &&
      split(argc, argv, {{"--name", true}, {"--programs", true}, {"--saver", true}}, words) &&
      words.plain.size() == 1)
    return init(words, argv[0]);
  if (command == "verify" && split(argc, argv, {{"--ca", true}}, words) && words.plain.size() == 1)
    return verifyFile(words.plain[0], optionOf(words, "--ca"), std::cout);
  if (command == "sign" && split(argc, argv, withSigning({}), words) && words.plain.size() == 1)
    return sign(words);
  if (command == "winget" &&
      split(argc, argv,
            {{"--id", true}, {"--url", true}, {"-o", true}, {"--license", true}, {"--description", true}},
            words) &&
      words.plain.size() == 1 && words.options.contains("--id") && words.options.contains("--url") &&
      words.options.contains("-o"))
    return winget(words);
  if (command == "exit-codes" && argc == 2) {
    std::cout << exitCodeMarkdown();
    return 0;
  }
  return usage();
}
