#include "tools/saverpack/signing.h"

#include "common/signatureFields.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/layerFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace fs = std::filesystem;

namespace {

const char SIGNING_TOOL[] = "osslsigncode";
const char FILE_PLACEHOLDER[] = "{file}";

// One argument for the shell that runs the tool.
std::string quoted(const std::string &text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
#endif
}

// A fresh file name in the system's temporary folder.
fs::path scratchPath(const std::string &what) {
  std::random_device random;
  return fs::temp_directory_path() / ("saverpack-" + what + "-" + std::to_string(random()) + ".exe");
}

bool isPem(const std::string &path) {
  std::vector<uint8_t> bytes;
  std::string ignored;
  const std::string mark = "-----BEGIN";
  return readWholeFile(path, bytes, ignored) &&
         std::search(bytes.begin(), bytes.end(), mark.begin(), mark.end()) != bytes.end();
}

std::string signingCommand(const SigningOptions &options, const std::string &in, const std::string &out) {
  if (!options.signCommand.empty()) {
    std::string command = options.signCommand;
    const size_t at = command.find(FILE_PLACEHOLDER);
    return command.replace(at, sizeof FILE_PLACEHOLDER - 1, quoted(in));
  }
  std::string command = std::string(SIGNING_TOOL) + " sign";
  if (isPem(options.keyPath)) {
    command += " -certs " + quoted(options.certificatePath) + " -key " + quoted(options.keyPath);
  } else {
    command += " -pkcs12 " + quoted(options.keyPath);
  }
  if (!options.passwordFile.empty()) command += " -readpass " + quoted(options.passwordFile);
  if (!options.timestampUrl.empty()) command += " -ts " + quoted(options.timestampUrl);
  return command + " -in " + quoted(in) + " -out " + quoted(out);
}

// Signs the layer file at path; signedPath is where the tool left the
// signed layer. The tool's own output goes to standard error.
bool signLayer(const std::string &path, const SigningOptions &options, const std::string &what,
               ScratchFiles &scratch, std::string &signedPath, std::string &error) {
  signedPath = options.signCommand.empty() ? scratch.make(what + "-signed") : path;
  if (std::system((signingCommand(options, path, signedPath) + " 1>&2").c_str()) == 0) return true;
  error = "signing the " + what + " failed";
  return false;
}

bool moveOver(const std::string &from, const std::string &to, std::string &error) {
  std::error_code fault;
  fs::rename(pathOfUtf8(from), pathOfUtf8(to), fault);
  if (fault) error = "cannot write \"" + to + "\": " + fault.message();
  return !fault;
}

std::string afterMark(const std::string &text, const std::string &mark) {
  const size_t at = text.find(mark);
  if (at == std::string::npos) return std::string();
  const size_t from = text.find_first_not_of(" \t", at + mark.size());
  const size_t to = text.find_first_of("\r\n", from);
  std::string value = from == std::string::npos ? std::string() : text.substr(from, to - from);
  while (!value.empty() && value.back() == ' ') value.pop_back();
  return value;
}

std::vector<uint8_t> installerLayer(const std::vector<uint8_t> &file, const LayerSpans &spans) {
  return std::vector<uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(spans.launcherSize),
                              file.begin() + static_cast<std::ptrdiff_t>(spans.installerEnd));
}

// The tool's verify report on one layer, read through a scratch file; empty
// when the tool cannot be started. False when the scratch file cannot be written.
bool readVerifyReport(const std::vector<uint8_t> &layer, const std::string &what, const std::string &caPath,
                      std::string &report, std::string &error) {
  const fs::path path = scratchPath(what);
  if (!writeWholeFile(utf8Of(path), layer, error)) return false;
  std::string command = std::string(SIGNING_TOOL) + " verify";
  if (!caPath.empty()) command += " -CAfile " + quoted(caPath);
  command += " -in " + quoted(utf8Of(path)) + " 2>&1";
  if (std::FILE *tool = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, tool)) > 0;) report.append(chunk, got);
    pclose(tool);
  }
  std::error_code ignored;
  fs::remove(path, ignored);
  return true;
}

// The digests follow a colon; the tool marks a mismatch behind them.
std::string reportedDigest(const std::string &report, const char *mark) {
  const std::string value = afterMark(report, mark);
  const size_t from = value.find_first_not_of(": ");
  return from == std::string::npos ? std::string() : value.substr(from, value.find(' ', from) - from);
}

// The tool's report on one layer.
bool checkLayer(const std::vector<uint8_t> &layer, const std::string &what, const std::string &caPath,
                std::ostream &out) {
  SignatureFields fields;
  if (!readSignatureFields(layer.data(), std::min(layer.size(), SIGNATURE_HEADER_BYTES), fields) ||
      fields.certificateTableOffset == 0) {
    out << what << ": unsigned\n";
    return true;
  }
  std::string report, error;
  if (!readVerifyReport(layer, what, caPath, report, error)) {
    out << what << ": " << error << "\n";
    return false;
  }
  const std::string current = reportedDigest(report, "Current message digest");
  const std::string calculated = reportedDigest(report, "Calculated message digest");
  std::string subject = afterMark(report, "Subject:");
  if (subject.empty()) subject = "a signer the tool does not name";
  if (current.empty() || calculated.empty()) {
    out << what << ": signature broken (" << SIGNING_TOOL << " cannot read it)\n";
    return false;
  }
  const bool covers = current == calculated;
  out << what << ": signed by " << subject << ", "
      << (covers ? "covers the file as it is" : "does NOT cover the file as it is: changed after signing")
      << "\n";
  if (caPath.empty()) return covers;
  const bool chained = report.find("Signature verification: ok") != std::string::npos;
  out << what << ": certificate chain " << (chained ? "leads to " : "does NOT lead to ") << caPath << "\n";
  return covers && chained;
}

}  // namespace

bool signInstallerFile(const std::string &source, const std::string &output, const SigningOptions &options,
                       std::string &error) {
  if (!options.signCommand.empty() && options.signCommand.find(FILE_PLACEHOLDER) == std::string::npos) {
    error = "--sign-command needs {file} where the file to sign goes";
    return false;
  }
  LayerSpans spans;
  if (!readSpans(source, spans, error)) return false;
  ScratchFiles scratch(output);
  const std::string installer = scratch.make("installer");
  std::string signedInstaller, signedWhole;
  if (!appendRange(source, spans.launcherSize, spans.installerEnd - spans.launcherSize, installer, error) ||
      !stripSignature(installer, error) ||
      !signLayer(installer, options, "installer", scratch, signedInstaller, error))
    return false;
  if (spans.launcherSize == 0) return moveOver(signedInstaller, output, error);
  // The launcher's own table lay behind its image: stripping clears its entry.
  const std::string whole = scratch.make("launcher");
  return appendRange(source, 0, spans.launcherSize, whole, error) && stripSignature(whole, error) &&
         appendWhole(signedInstaller, whole, error) &&
         signLayer(whole, options, "launcher", scratch, signedWhole, error) &&
         moveOver(signedWhole, output, error);
}

bool reportSignatures(const std::vector<uint8_t> &file, const std::string &caPath, std::ostream &out) {
  LayerSpans spans;
  std::string error;
  if (!findSpans(file, static_cast<int64_t>(file.size()), spans, error)) {
    out << "signatures: " << error << "\n";
    return false;
  }
  bool good = true;
  if (spans.launcherSize != 0) good = checkLayer(file, "launcher signature", caPath, out);
  const std::vector<uint8_t> installer = installerLayer(file, spans);
  return checkLayer(installer, "installer signature", caPath, out) && good;
}
