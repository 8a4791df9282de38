// Each program's string table reads without fault (no id twice, no empty
// text, every name known) and has an entry for every id its sources name.
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

}  // namespace
