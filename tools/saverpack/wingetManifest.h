// "saverpack winget": a winget manifest (format 1.10, multi-file: version,
// installer and default locale) for an installer or launcher file the packer
// made. Its values are the ones the install itself writes and returns: the
// uninstall entry's key, name, publisher and version, and the exit codes of
// the status table.
#ifndef SAVER_TOOLS_SAVERPACK_WINGET_MANIFEST_H
#define SAVER_TOOLS_SAVERPACK_WINGET_MANIFEST_H

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

struct WingetRequest {
  std::string identifier;    // PackageIdentifier, "Maker.Saver"
  std::string installerUrl;  // where winget downloads the file from
  // The locale's License and ShortDescription; "" for a stand-in, which the
  // notes name.
  std::string license;
  std::string shortDescription;
};

struct WingetManifest {
  // File name ("<identifier>.installer.yaml" and so on) and content.
  std::vector<std::pair<std::string, nlohmann::ordered_json>> files;
  std::vector<std::string> notes;  // what was derived or left out, and why
};

// The manifest of file, an installer or launcher file. False, with the
// reason, for a file of another kind, a damaged one, one without a version,
// or an identifier or address winget does not take.
bool makeWingetManifest(const std::vector<uint8_t> &file, const WingetRequest &request,
                        WingetManifest &manifest, std::string &error);

// The files as YAML into folder, created when missing.
bool writeWingetManifest(const WingetManifest &manifest, const std::string &folder,
                         std::vector<std::string> &written, std::string &error);

#endif
