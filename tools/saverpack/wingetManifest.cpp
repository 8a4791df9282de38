#include "tools/saverpack/wingetManifest.h"

#include "installer/placementRules.h"
#include "package/packageProperties.h"
#include "package/packageFormat.h"
#include "tools/saverpack/exitCodes.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/fileLayers.h"
#include "tools/saverpack/sha256.h"
#include "tools/saverpack/verify.h"
#include "tools/saverpack/westernText.h"
#include "tools/saverpack/wingetNeeds.h"
#include "tools/saverpack/yamlText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string_view>

using json = nlohmann::ordered_json;

namespace {

constexpr char MANIFEST_VERSION[] = "1.10.0";
constexpr char LOCALE[] = "en-US";
constexpr char SCHEMA_ADDRESS[] = "https://aka.ms/winget-manifest.";

// What the package states, as Windows shows it once installed.
struct PackageFacts {
  std::string productCode;  // the uninstall entry's key name: the saver name
  std::string displayName;
  std::string publisher;
  std::string version;
  std::string homepage;
  std::string supportUrl;
  InstallScope scope = InstallScope::machine;
};

// A part of an identifier: 1 to 32 bytes, none of them a space, a control or
// one of \/:*?"<>| (nor a dot, which parts it).
bool isIdentifierPart(const std::string &part) {
  const auto allowed = [](char c) {
    return static_cast<uint8_t>(c) > ' ' && std::string_view("\\/:*?\"<>|").find(c) == std::string::npos;
  };
  return !part.empty() && part.size() <= 32 && std::ranges::all_of(part, allowed);
}

// "Maker.Saver": two to eight parts apart by dots, at most 128 bytes.
bool isWingetIdentifier(const std::string &identifier) {
  size_t parts = 0;
  for (size_t start = 0; start <= identifier.size(); ++parts) {
    const size_t dot = std::min(identifier.find('.', start), identifier.size());
    if (!isIdentifierPart(identifier.substr(start, dot - start))) return false;
    start = dot + 1;
  }
  return identifier.size() <= 128 && parts >= 2 && parts <= 8;
}

// An http or https address of at most 2048 bytes, without controls.
bool isWebAddress(const std::string &text) {
  std::string scheme = text.substr(0, text.find("://"));
  std::ranges::transform(scheme, scheme.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return (scheme == "http" || scheme == "https") && text.size() > scheme.size() + 3 &&
         text.size() <= 2048 && std::ranges::none_of(text, [](char c) { return c == '\n' || c == '\r'; });
}

std::string hexOf(const Sha256Digest &digest) {
  std::string text;
  char pair[3];
  for (const uint8_t byte : digest) {
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(byte));
    text += pair;
  }
  return text;
}

// The installer layer of file, checked in full, and what its package states.
bool readPackageFacts(const std::vector<uint8_t> &file, PackageFacts &facts, std::string &error) {
  FileLayers layers;
  if (findLayers(file, layers, error) != FileKind::Installer || !error.empty() || !layers.headerRead) {
    error = "not an installer or launcher file the packer made" + (error.empty() ? "" : ": " + error);
    return false;
  }
  const std::vector<uint8_t> installer(file.begin() + static_cast<std::ptrdiff_t>(layers.installerOffset),
                                       file.end());
  const IntegrityReport integrity = checkInstallerIntegrity(installer, layers.installerSize);
  if (!integrity.problems.empty() || !integrity.refused.empty()) {
    error = "the file is damaged or its installer would refuse it (saverpack verify tells why)";
    return false;
  }
  MemorySource source(installer.data(), installer.size());
  PackageProperties properties;
  readPackageProperties(source, layers.installerSize, layers.header, properties);
  if (properties.version.empty()) {
    error = "the package states " + wingetShortcomings(properties).front();
    return false;
  }
  const std::string saverName = saverNameOf(layers.header);
  facts = {utf8OfWestern(saverName),
           utf8OfWestern(UninstallDisplayNameFor(saverName, SAVER_SCREEN_SAVER_TEXT)),
           utf8OfWestern(properties.publisher),
           properties.version,
           properties.homepage,
           properties.supportUrl,
           installScopeOf(properties)};
  return true;
}

json versionManifest(const std::string &identifier, const PackageFacts &facts) {
  return {{"PackageIdentifier", identifier},
          {"PackageVersion", facts.version},
          {"DefaultLocale", LOCALE},
          {"ManifestType", "version"},
          {"ManifestVersion", MANIFEST_VERSION}};
}

// The entry as the install writes it: the key is the saver name, the
// publisher is written only when there is one.
json appsAndFeaturesEntry(const PackageFacts &facts) {
  json entry = {{"DisplayName", facts.displayName}};
  if (!facts.publisher.empty()) entry["Publisher"] = facts.publisher;
  entry["DisplayVersion"] = facts.version;
  entry["ProductCode"] = facts.productCode;
  return entry;
}

json installerManifest(const WingetRequest &request, const PackageFacts &facts, const std::string &sha256) {
  const bool forUser = facts.scope == InstallScope::user;
  json manifest = {{"PackageIdentifier", request.identifier},
                   {"PackageVersion", facts.version},
                   {"InstallerType", "exe"},
                   {"Scope", forUser ? "user" : "machine"},
                   // No silentWithProgress: "/q" shows the window but still a box on
                   // failure, which waits for a click.
                   {"InstallModes", {"interactive", "silent"}},
                   // "/qn" shows nothing at any moment; the launcher passes both on.
                   {"InstallerSwitches", {{"Silent", "/qn"}, {"Log", "/log=<LOGPATH>"}}},
                   {"ExpectedReturnCodes", expectedReturnCodes()},
                   // The installer itself upgrades, repairs and refuses downgrades.
                   {"UpgradeBehavior", "install"},
                   {"ProductCode", facts.productCode},
                   {"AppsAndFeaturesEntries", json::array({appsAndFeaturesEntry(facts)})},
                   // The launcher runs as its caller and starts the installer, which
                   // asks for administrator rights itself.
                   {"ElevationRequirement", "elevatesSelf"},
                   {"Installers", json::array({{{"Architecture", "x86"},
                                                {"InstallerUrl", request.installerUrl},
                                                {"InstallerSha256", sha256}}})},
                   {"ManifestType", "installer"},
                   {"ManifestVersion", MANIFEST_VERSION}};
  // A user's install asks for no rights at all.
  if (forUser) manifest.erase("ElevationRequirement");
  return manifest;
}

// A text the maker gave for the locale: left out, or as long as winget's
// locale schema allows (3 characters to most).
bool fitsLocale(const char *option, const std::string &text, size_t most, std::string &error) {
  if (text.empty() || (text.size() >= 3 && text.size() <= most)) return true;
  error =
      std::string(option) + " \"" + text + "\": winget takes 3 to " + std::to_string(most) + " characters";
  return false;
}

// The text the maker gave, or the stand-in, named in the notes.
std::string givenOr(const std::string &given, const char *key, const char *option,
                    const std::string &standIn, WingetManifest &manifest) {
  if (!given.empty()) return given;
  manifest.notes.push_back(std::string(key) + " \"" + standIn + "\" stands in: " + option +
                           " gives the real one");
  return standIn;
}

json localeManifest(const WingetRequest &request, const PackageFacts &facts, WingetManifest &manifest) {
  const std::string &identifier = request.identifier;
  // The locale needs a publisher: the identifier's first part stands in.
  std::string publisher = facts.publisher;
  if (publisher.size() < 2) {
    publisher = identifier.substr(0, identifier.find('.'));
    manifest.notes.push_back("the package states no publisher: the locale names \"" + publisher +
                             "\" and the uninstall entry none");
  }
  json locale = {{"PackageIdentifier", identifier},
                 {"PackageVersion", facts.version},
                 {"PackageLocale", LOCALE},
                 {"Publisher", publisher}};
  const std::pair<const char *, const std::string *> addresses[] = {
      {"PublisherUrl", &facts.homepage}, {"PublisherSupportUrl", &facts.supportUrl}};
  for (const auto &[key, address] : addresses) {
    if (isWebAddress(*address))
      locale[key] = *address;
    else if (!address->empty())
      manifest.notes.push_back(std::string(key) + " left out: \"" + *address + "\" is no http(s) address");
  }
  locale["PackageName"] = facts.displayName;
  locale["License"] = givenOr(request.license, "License", "--license", "Proprietary", manifest);
  locale["ShortDescription"] = givenOr(request.shortDescription, "ShortDescription", "--description",
                                       facts.displayName + " for Windows", manifest);
  locale["ManifestType"] = "defaultLocale";
  locale["ManifestVersion"] = MANIFEST_VERSION;
  return locale;
}

}  // namespace

bool makeWingetManifest(const std::vector<uint8_t> &file, const WingetRequest &request,
                        WingetManifest &manifest, std::string &error) {
  if (!isWingetIdentifier(request.identifier)) {
    error =
        "--id \"" + request.identifier + "\": winget takes 2 to 8 parts apart by dots (\"Maker.Saver\")";
    return false;
  }
  if (!isWebAddress(request.installerUrl)) {
    error = "--url \"" + request.installerUrl + "\": winget takes an http or https address";
    return false;
  }
  if (!fitsLocale("--license", request.license, 512, error) ||
      !fitsLocale("--description", request.shortDescription, 256, error))
    return false;
  PackageFacts facts;
  Sha256Digest digest{};
  if (!readPackageFacts(file, facts, error) || !sha256Of(file, digest, error)) return false;
  if (!isAscii(facts.productCode) || !isAscii(facts.publisher))
    manifest.notes.emplace_back(
        "the saver name or publisher has bytes beyond ASCII: Windows shows them in "
        "its code page, taken here as the Western one (1252)");
  const std::string &id = request.identifier;
  manifest.files = {{id + ".yaml", versionManifest(id, facts)},
                    {id + ".installer.yaml", installerManifest(request, facts, hexOf(digest))},
                    {id + ".locale." + LOCALE + ".yaml", localeManifest(request, facts, manifest)}};
  return true;
}

bool writeWingetManifest(const WingetManifest &manifest, const std::string &folder,
                         std::vector<std::string> &written, std::string &error) {
  std::error_code fault;
  std::filesystem::create_directories(pathOfUtf8(folder), fault);
  for (const auto &[name, content] : manifest.files) {
    const std::string text = "# yaml-language-server: $schema=" + std::string(SCHEMA_ADDRESS) +
                             content["ManifestType"].get<std::string>() + "." + MANIFEST_VERSION +
                             ".schema.json\n\n" + yamlText(content);
    const std::string path = utf8Of(pathOfUtf8(folder) / pathOfUtf8(name));
    if (!writeWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()), error)) return false;
    written.push_back(path);
  }
  return true;
}
