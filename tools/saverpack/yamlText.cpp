#include "tools/saverpack/yamlText.h"

using json = nlohmann::ordered_json;

namespace {

void appendValue(const json &value, size_t indent, std::string &out);

std::string scalarText(const json &value) {
  if (value.is_array()) return "[]";
  if (value.is_object()) return "{}";
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool isBlock(const json &value) { return value.is_structured() && !value.empty(); }

void appendObject(const json &object, size_t indent, std::string &out) {
  for (const auto &[key, value] : object.items()) {
    out += std::string(indent, ' ') + key + ":";
    if (isBlock(value)) {
      out += "\n";
      appendValue(value, indent + 2, out);
    } else {
      out += " " + scalarText(value) + "\n";
    }
  }
}

// Each item is written as if two further in, and the first of its indent
// then becomes the "- ".
void appendArray(const json &array, size_t indent, std::string &out) {
  for (const json &item : array) {
    if (!isBlock(item)) {
      out += std::string(indent, ' ') + "- " + scalarText(item) + "\n";
      continue;
    }
    std::string itemText;
    appendValue(item, indent + 2, itemText);
    out += itemText.replace(indent, 2, "- ");
  }
}

void appendValue(const json &value, size_t indent, std::string &out) {
  if (value.is_object())
    appendObject(value, indent, out);
  else
    appendArray(value, indent, out);
}

}  // namespace

std::string yamlText(const json &object) {
  std::string out;
  appendObject(object, 0, out);
  return out;
}
