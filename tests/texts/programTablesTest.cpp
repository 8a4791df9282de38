// Each program's string table reads without fault (no id twice, no empty
// text, every name known), has an entry for every id its sources name, and
// each language's table has every English text, with the same placeholders.
#include "programTables.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

bool isNameCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }

// The .cpp files among the sources and below the folders among them.
std::vector<std::filesystem::path> cppFiles(const std::vector<std::string> &sources) {
  std::vector<std::filesystem::path> files;
  for (const std::string &source : sources) {
    const std::filesystem::path path = sourcePath(source);
    if (!std::filesystem::is_directory(path)) {
      files.push_back(path);
      continue;
    }
    for (const auto &item : std::filesystem::recursive_directory_iterator(path))
      if (item.path().extension() == ".cpp") files.push_back(item.path());
  }
  return files;
}

// The IDS_ names in the sources' .cpp files, without the bases that ids are
// counted from.
std::set<std::string> idsNamedIn(const std::vector<std::string> &sources) {
  std::set<std::string> names;
  for (const std::filesystem::path &path : cppFiles(sources)) {
    std::ifstream file(path);
    std::stringstream source;
    source << file.rdbuf();
    const std::string text = source.str();
    for (size_t at = text.find("IDS_"); at != std::string::npos; at = text.find("IDS_", at + 1)) {
      if (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) != 0 || text[at - 1] == '_'))
        continue;
      size_t end = at;
      while (end < text.size() && isNameCharacter(text[end])) ++end;
      const std::string name = text.substr(at, end - at);
      if (name.size() < 5 || name.compare(name.size() - 5, 5, "_BASE") != 0) names.insert(name);
    }
  }
  return names;
}

TEST(ProgramTables, ReadWithoutFault) {
  for (const ProgramTable &table : programTables()) {
    const StringTableScript &script = tableScript(table.script);
    EXPECT_FALSE(script.entries.empty()) << table.script;
    EXPECT_EQ(script.faults, std::vector<std::string>{}) << table.script;
  }
}

TEST(ProgramTables, EveryIdTheSourcesNameHasAnEntry) {
  for (const ProgramTable &table : programTables()) {
    const StringTableScript &script = tableScript(table.script);
    const std::set<std::string> names = idsNamedIn(table.sources);
    EXPECT_FALSE(names.empty()) << table.program;
    for (const std::string &name : names) {
      const auto define = script.defines.find(name);
      ASSERT_NE(define, script.defines.end()) << table.script << " does not define " << name;
      EXPECT_EQ(script.entries.count(std::stoul(define->second)), 1u) << table.script << " lacks " << name;
    }
  }
}

// The distinct placeholders %1..%9 of a text.
std::set<char> placeholders(const std::string &text) {
  std::set<char> found;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
    if (at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9') found.insert(text[at + 1]);
  return found;
}

// The control-panel titles follow the system's language, and an address is
// the same in every one: the English table alone holds them.
bool isLanguageText(const std::string &name) {
  const std::string title = "_TITLE";
  const bool isTitle =
      name.size() > title.size() && name.compare(name.size() - title.size(), title.size(), title) == 0;
  return !isTitle && name != "IDS_DISPLAY_PROPERTIES" && name != "IDS_SCREEN_SAVER_SETTINGS" &&
         name != "IDS_FLASH_PLAYER_ADDRESS";
}

TEST(ProgramTables, EveryLanguageHasEveryTextWithItsPlaceholders) {
  for (const ProgramTable &table : programTables()) {
    const StringTableScript &script = tableScript(table.script);
    EXPECT_EQ(script.translations.size(), 11u) << table.script;
    for (const auto &[name, value] : script.defines) {
      char *end = nullptr;
      const unsigned long id = std::strtoul(value.c_str(), &end, 10);
      const auto english = script.entries.find(static_cast<unsigned>(id));
      if (name.compare(0, 4, "IDS_") != 0 || *end != '\0' || english == script.entries.end() ||
          !isLanguageText(name))
        continue;
      for (const auto &[language, entries] : script.translations) {
        const auto translated = entries.find(english->first);
        ASSERT_NE(translated, entries.end())
            << table.script << " language " << language << " lacks " << name;
        EXPECT_EQ(placeholders(translated->second.text), placeholders(english->second.text))
            << table.script << " language " << language << " " << name;
      }
    }
  }
}

}  // namespace
