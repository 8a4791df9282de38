#include "tools/saverpack/manifestFields.h"
#include "tools/saverpack/fileAccess.h"

namespace fs = std::filesystem;
using nlohmann::json;

void require(bool condition, const std::string &message) {
  if (!condition) throw ManifestError(message);
}

Fields::Fields(const json &object, std::string where, const std::set<std::string> &allowed)
    : object_(object), where_(std::move(where)) {
  require(object.is_object(), (where_.empty() ? "the manifest" : where_) + " must be an object");
  for (auto item = object.begin(); item != object.end(); ++item)
    require(allowed.contains(item.key()), key(item.key()) + ": unknown key");
}

std::string Fields::key(const std::string &name) const {
  return where_.empty() ? name : where_ + "." + name;
}

uint8_t Fields::flag(const char *name) const {
  if (!has(name)) return 0;
  const json &value = at(name);
  if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
  require(value.is_number_integer(), key(name) + " must be true or false");
  return static_cast<uint8_t>(integer(name, 0, 255));
}

int64_t Fields::integer(const char *name, int64_t low, int64_t high) const {
  require(has(name), key(name) + " is missing");
  const json &value = at(name);
  require(value.is_number_integer(), key(name) + " must be a whole number");
  const int64_t number = value.get<int64_t>();
  require(number >= low && number <= high, key(name) + ": " + std::to_string(number) + " is outside " +
                                               std::to_string(low) + ".." + std::to_string(high));
  return number;
}

std::string Fields::text(const char *name) const {
  require(has(name), key(name) + " is missing");
  require(at(name).is_string(), key(name) + " must be a text");
  return at(name).get<std::string>();
}

static fs::path under(const fs::path &base, const std::string &path) { return base / pathOfUtf8(path); }

std::string Fields::file(const char *name, const fs::path &base) const {
  const fs::path full = under(base, text(name));
  std::error_code fault;
  const fs::file_status status = fs::status(full, fault);
  require(fs::exists(status), key(name) + ": cannot open \"" + full.string() +
                                  "\": " + (fault ? fault.message() : "No such file or directory"));
  require(fs::is_regular_file(status), key(name) + ": \"" + full.string() + "\" is not a file");
  return full.string();
}

fs::path Fields::folder(const char *name, const fs::path &base) const {
  fs::path full = under(base, text(name));
  std::error_code fault;
  require(fs::is_directory(full, fault), key(name) + ": folder not found: \"" + full.string() + "\"");
  return full;
}
