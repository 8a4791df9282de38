// Checked reading of the manifest's JSON values. Every fault names the key
// at fault as a path into the manifest, such as entries[2].file.
#ifndef SAVER_TOOLS_SAVERPACK_MANIFEST_FIELDS_H
#define SAVER_TOOLS_SAVERPACK_MANIFEST_FIELDS_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

struct ManifestError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws ManifestError(message) unless condition holds.
void require(bool condition, const std::string &message);

// One JSON object of the manifest and where it sits ("" for the top level).
class Fields {
 public:
  Fields(const nlohmann::json &object, std::string where, const std::set<std::string> &allowed);

  // "entries[2].file" for key "file".
  std::string key(const std::string &name) const;
  bool has(const char *name) const { return object_.contains(name); }
  const nlohmann::json &at(const char *name) const { return object_.at(name); }

  // true/false, or a byte value 0..255 for headers written elsewhere; absent: 0.
  uint8_t flag(const char *name) const;
  int64_t integer(const char *name, int64_t low, int64_t high) const;
  std::string text(const char *name) const;
  // An existing file, relative to base unless absolute.
  std::string file(const char *name, const std::filesystem::path &base) const;
  // An existing folder, likewise.
  std::filesystem::path folder(const char *name, const std::filesystem::path &base) const;

 private:
  const nlohmann::json &object_;
  std::string where_;
};

#endif
