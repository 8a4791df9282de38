#include "stringTableScript.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string trimmed(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The file without comments, its continued lines joined.
std::string plainSource(const std::string &source) {
  std::string plain;
  bool inString = false;
  for (size_t at = 0; at < source.size(); ++at) {
    const char c = source[at];
    if (inString) {
      if (c == '\\' && at + 1 < source.size()) {
        plain += source.substr(at++, 2);
        continue;
      }
      if (c == '"') inString = false;
      plain += c;
    } else if (source.compare(at, 2, "//") == 0) {
      const size_t end = source.find('\n', at);
      if (end == std::string::npos) break;
      at = end - 1;  // the line's end stays
    } else if (source.compare(at, 2, "/*") == 0) {
      const size_t end = source.find("*/", at + 2);
      if (end == std::string::npos) break;
      at = end + 1;
    } else if (c == '\\' && at + 1 < source.size() && source[at + 1] == '\n') {
      ++at;
    } else {
      if (c == '"') inString = true;
      plain += c;
    }
  }
  return plain;
}

size_t octalDigits(const std::string &literal, size_t at) {
  size_t count = 0;
  while (count < 3 && at + count < literal.size() && literal[at + count] >= '0' &&
         literal[at + count] <= '7')
    ++count;
  return count;
}

// The bytes of a quoted literal; false when it is none.
bool decodeLiteral(const std::string &literal, std::string &text) {
  if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"') return false;
  text.clear();
  for (size_t at = 1; at + 1 < literal.size(); ++at) {
    const char c = literal[at];
    if (c == '"') {  // "" is one quote
      if (literal[++at] != '"') return false;
      text += '"';
    } else if (c != '\\') {
      text += c;
    } else if (const size_t digits = octalDigits(literal, at + 1)) {
      text += static_cast<char>(std::strtol(literal.substr(at + 1, digits).c_str(), nullptr, 8));
      at += digits;
    } else {
      const char escaped = literal[++at];
      const std::string plain = "rnt\\\"", meant = "\r\n\t\\\"";
      const size_t which = plain.find(escaped);
      if (which == std::string::npos) return false;
      text += meant[which];
    }
  }
  return true;
}

class ScriptReader {
 public:
  ScriptReader(const std::string &includeRoot, StringTableScript &script)
      : includeRoot_(includeRoot), script_(script) {}

  void read(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return fault("cannot read " + path);
    std::stringstream source;
    source << file.rdbuf();
    std::istringstream lines(plainSource(source.str()));
    for (std::string line; std::getline(lines, line);) readLine(trimmed(line));
  }

 private:
  void fault(const std::string &what) { script_.faults.push_back(what); }

  void readLine(const std::string &line) {
    if (line.empty()) return;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "#include") {
      std::string quoted;
      words >> quoted;
      return read(includeRoot_ + "/" + quoted.substr(1, quoted.size() - 2));
    }
    if (word == "#define") {
      std::string name, value;
      words >> name;
      std::getline(words, value);
      script_.defines[name] = trimmed(value);
      return;
    }
    const std::string codePagePragma = "#pragma code_page(";
    if (line.compare(0, codePagePragma.size(), codePagePragma) == 0) {
      codePage_ = static_cast<unsigned>(std::strtoul(line.c_str() + codePagePragma.size(), nullptr, 10));
      return;
    }
    if (word == "LANGUAGE") {
      const unsigned long primary = std::strtoul(line.c_str() + word.size(), nullptr, 0);
      const unsigned long sub = std::strtoul(line.c_str() + line.find(',') + 1, nullptr, 0);
      languageId_ = static_cast<unsigned>(primary | sub << 10);
      return;
    }
    if (word == "STRINGTABLE" || word == "BEGIN") return;
    if (word == "END" || word[0] == '#') return;
    readEntry(line);
  }

  void readEntry(const std::string &line) {
    const size_t nameEnd = line.find_first_of(" \t,");
    const std::string name = line.substr(0, nameEnd);
    std::string value = nameEnd == std::string::npos ? "" : trimmed(line.substr(nameEnd));
    if (!value.empty() && value[0] == ',') value = trimmed(value.substr(1));
    if (!value.empty() && value[0] != '"' && script_.defines.contains(value))
      value = script_.defines[value];

    const auto number = script_.defines.find(name);
    char *end = nullptr;
    const unsigned long id =
        number == script_.defines.end() ? 0 : std::strtoul(number->second.c_str(), &end, 10);
    if (end == nullptr || *end != '\0') return fault("no number for " + name);
    std::string text;
    if (!decodeLiteral(value, text)) return fault("no text for " + name + ": " + value);
    if (text.empty()) fault("empty text for " + name);
    std::map<unsigned, ScriptEntry> &table =
        languageId_ == ENGLISH ? script_.entries : script_.translations[languageId_];
    if (!table.emplace(static_cast<unsigned>(id), ScriptEntry{text, codePage_}).second)
      fault("second entry for " + std::to_string(id) + " (" + name + ")");
  }

  std::string includeRoot_;
  StringTableScript &script_;
  unsigned codePage_ = 0;
  // A script without LANGUAGE is in the resource compiler's default, English.
  static constexpr unsigned ENGLISH = 0x0409;
  unsigned languageId_ = ENGLISH;
};

}  // namespace

StringTableScript readStringTableScript(const std::string &includeRoot, const std::string &path) {
  StringTableScript script;
  ScriptReader(includeRoot, script).read(path);
  return script;
}
