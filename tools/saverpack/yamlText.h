// A JSON value written as block-style YAML, as winget's manifests are. Every
// string is written double-quoted with JSON's escapes, which YAML reads the
// same way, so no text is ever taken for a number, a boolean or a key; keys
// are written plain and must be plain words.
#ifndef SAVER_TOOLS_SAVERPACK_YAML_TEXT_H
#define SAVER_TOOLS_SAVERPACK_YAML_TEXT_H

#include <nlohmann/json.hpp>

#include <string>

// An object's keys and values, one a line, arrays as "- " items.
std::string yamlText(const nlohmann::ordered_json &object);

#endif
