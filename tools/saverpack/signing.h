// Authenticode signatures on both layers of an installer file, made and
// checked by a signing tool (osslsigncode, or the maker's own command): the
// installer program with its package, and the launcher that carries it.
#ifndef SAVER_TOOLS_SAVERPACK_SIGNING_H
#define SAVER_TOOLS_SAVERPACK_SIGNING_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct SigningOptions {
  std::string certificatePath;  // PEM; may be left out with a PKCS#12 key
  std::string keyPath;          // PEM or PKCS#12
  std::string passwordFile;
  std::string timestampUrl;  // RFC 3161
  std::string signCommand;   // "CMD {file}": signs {file} in place, instead of osslsigncode
  bool wanted() const { return !keyPath.empty() || !signCommand.empty(); }
};

// Signs the installer layer of the file at source, puts it behind the
// launcher again and signs the launcher file, into output (which may be
// source); a file without launcher has the installer layer only. Earlier
// signatures are replaced. The layers go through work files beside output,
// copied in blocks. False, with the reason, when a layer cannot be found,
// a file cannot be written or the tool fails; output is then as it was.
bool signInstallerFile(const std::string &source, const std::string &output, const SigningOptions &options,
                       std::string &error);

// A line for each layer: unsigned; signed by whom and whether the signature
// covers the layer as it now is (and, with caPath, whether its chain leads
// to that CA); or broken. False when a signature is broken, does not cover
// its layer or fails the chain.
bool reportSignatures(const std::vector<uint8_t> &file, const std::string &caPath, std::ostream &out);

#endif
