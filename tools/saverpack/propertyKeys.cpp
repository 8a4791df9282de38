#include "tools/saverpack/propertyKeys.h"

#include "common/textLanguage.h"
#include "package/installedSaver.h"
#include "package/integrityRecord.h"
#include "package/packageVersion.h"
#include "package/uninstallMark.h"

#include <stdexcept>

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

struct PropertyWord {
  const char *word;  // in the manifest
  uint8_t value;
  std::string shown;  // by inspect
};

struct PropertyKey {
  const char *key;
  // A byte named by words (a whole number 0..255 is the byte itself), or a text.
  uint8_t PackageProperties::*byte = nullptr;
  std::string PackageProperties::*text = nullptr;
  std::vector<PropertyWord> words = {};
  std::string otherShown = {};  // by inspect, for a byte no word names
  // The value of a key left out; without one, 0 or "".
  uint8_t (*byteDefault)(const PropertyContext &) = nullptr;
  // Extract writes the key whatever its value, since the default might say another.
  bool alwaysWritten = false;
  // For a text with a form of its own: "" when the text has it, else what it lacks.
  std::string (*checkText)(const std::string &text) = nullptr;
};

std::string versionIsWellFormed(const std::string &text) {
  PackageVersion version;
  return parseVersion(text, version) ? ""
                                     : "must be \"major.minor[.build[.revision]]\", each part 0..65535";
}

std::string languagesAreKnown(const std::string &text) {
  std::vector<std::string> codes;
  std::string unknown;
  if (readLanguageList(text, codes, unknown)) return "";
  std::string known;
  for (const TextLanguage &language : textLanguages())
    known += (known.empty() ? "" : ",") + std::string(language.code);
  return "names \"" + unknown + "\", which is no language the programs speak (" + known + ")";
}

// The player is needed for a movie splash or a carried player installer.
uint8_t moviePlayerDefault(const PropertyContext &context) {
  const PackageFlags &flags = context.flags;
  const bool needed = isMovieType(flags.installerType) || flags.carriesFlashInstaller != 0;
  return static_cast<uint8_t>(needed ? MoviePlayerNeed::required : MoviePlayerNeed::none);
}

// The packer adds the uninstaller to a data file it builds.
uint8_t uninstallDefault(const PropertyContext &context) {
  return context.hasDataFile ? UNINSTALLER_CARRIED : 0;
}

const std::vector<PropertyKey> &propertyKeys() {
  static const std::string ownUninstall = "saver (its own /u)";
  static const std::vector<PropertyKey> keys = {
      {.key = "moviePlayer",
       .byte = &PackageProperties::moviePlayer,
       .words = {{"required", static_cast<uint8_t>(MoviePlayerNeed::required), "required"},
                 {"none", static_cast<uint8_t>(MoviePlayerNeed::none), "none"}},
       .otherShown = "not stated",
       .byteDefault = moviePlayerDefault,
       .alwaysWritten = true},
      {.key = "uninstall",
       .byte = &PackageProperties::uninstallMark,
       .words = {{"carried", UNINSTALLER_CARRIED,
                  "carried (" + std::string(UNINSTALLER_FILE_NAME) + " in the data file)"},
                 {"saver", 0, ownUninstall}},
       .otherShown = ownUninstall,
       .byteDefault = uninstallDefault,
       .alwaysWritten = true},
      {.key = "publisher", .text = &PackageProperties::publisher},
      {.key = "version", .text = &PackageProperties::version, .checkText = versionIsWellFormed},
      {.key = "homepage", .text = &PackageProperties::homepage},
      {.key = "supportUrl", .text = &PackageProperties::supportUrl},
      {.key = "languages", .text = &PackageProperties::languages, .checkText = languagesAreKnown},
      {.key = "scope",
       .byte = &PackageProperties::scope,
       .words = {{"machine", static_cast<uint8_t>(InstallScope::machine), "machine"},
                 {"user", static_cast<uint8_t>(InstallScope::user), "user"}},
       .otherShown = "machine"},
  };
  return keys;
}

const PropertyKey &keyOf(uint8_t PackageProperties::*byte) {
  for (const PropertyKey &key : propertyKeys())
    if (key.byte == byte) return key;
  throw std::logic_error("no manifest key for a property field");
}

const PropertyWord *wordFor(const PropertyKey &key, uint8_t value) {
  for (const PropertyWord &word : key.words)
    if (word.value == value) return &word;
  return nullptr;
}

std::string wordList(const PropertyKey &key) {
  std::string list;
  for (const PropertyWord &word : key.words)
    list += (list.empty() ? "\"" : " or \"") + std::string(word.word) + "\"";
  return list;
}

uint8_t readByte(const Fields &fields, const PropertyKey &key, const PropertyContext &context) {
  if (!fields.has(key.key)) return key.byteDefault != nullptr ? key.byteDefault(context) : 0;
  const json &given = fields.at(key.key);
  if (given.is_number_integer()) return static_cast<uint8_t>(fields.integer(key.key, 0, 255));
  for (const PropertyWord &word : key.words)
    if (given.is_string() && given.get<std::string>() == word.word) return word.value;
  throw ManifestError(fields.key(key.key) + " must be " + wordList(key));
}

std::string readText(const Fields &fields, const PropertyKey &key) {
  if (!fields.has(key.key)) return std::string();
  std::string text = fields.text(key.key);
  const PropertyField *field = propertyFieldOf(key.text);
  require(field != nullptr && text.size() <= field->maxLength && text.find('\0') == std::string::npos,
          fields.key(key.key) + ": at most " + std::to_string(field != nullptr ? field->maxLength : 0) +
              " bytes, no zero byte");
  const std::string lacking = key.checkText != nullptr ? key.checkText(text) : "";
  require(lacking.empty(), fields.key(key.key) + " " + lacking);
  return text;
}

}  // namespace

std::vector<std::string> propertyKeyNames() {
  std::vector<std::string> names;
  for (const PropertyKey &key : propertyKeys()) names.emplace_back(key.key);
  return names;
}

const char *propertyKeyOf(uint8_t PackageProperties::*byte) { return keyOf(byte).key; }

std::string propertyWordOf(uint8_t PackageProperties::*byte, uint8_t value) {
  const PropertyWord *word = wordFor(keyOf(byte), value);
  return word != nullptr ? word->word : "";
}

void readPropertyKeys(const Fields &fields, const PropertyContext &context, PackageProperties &properties) {
  for (const PropertyKey &key : propertyKeys()) {
    if (key.byte != nullptr)
      properties.*key.byte = readByte(fields, key, context);
    else
      properties.*key.text = readText(fields, key);
  }
}

void describePropertyKeys(const PackageProperties &stored, ordered_json &manifest) {
  for (const PropertyKey &key : propertyKeys()) {
    if (key.text != nullptr) {
      if (key.alwaysWritten || !(stored.*key.text).empty()) manifest[key.key] = stored.*key.text;
      continue;
    }
    const uint8_t value = stored.*key.byte;
    if (!key.alwaysWritten && value == 0) continue;
    const PropertyWord *word = wordFor(key, value);
    manifest[key.key] = word != nullptr ? ordered_json(word->word) : ordered_json(value);
  }
}

void reportPropertyKeys(const PackageProperties &stated, ordered_json &report) {
  for (const PropertyKey &key : propertyKeys()) {
    if (key.text != nullptr) {
      report[key.key] = stated.*key.text;
      continue;
    }
    const PropertyWord *word = wordFor(key, stated.*key.byte);
    report[key.key] = word != nullptr ? word->shown : key.otherShown;
  }
}

std::string propertyKeysText(const ordered_json &report) {
  std::string line;
  for (const PropertyKey &key : propertyKeys()) {
    const std::string shown = report.at(key.key).get<std::string>();
    if (key.text != nullptr && shown.empty()) continue;
    line += (line.empty() ? "" : ", ") + std::string(key.key) + " " +
            (key.text != nullptr ? "\"" + shown + "\"" : shown);
  }
  return line;
}
