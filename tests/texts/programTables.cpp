#include "programTables.h"

#include <gtest/gtest.h>

#include <map>

#ifdef _WIN32
#include "testDriver.h"
#endif

const std::vector<ProgramTable> &programTables() {
  // The uninstaller shows no install error box, so its table leaves those
  // texts out.
  static const std::vector<ProgramTable> tables = {
      {"installer", "installer/stringTable.rc", {"installer", "common"}},
      {"launcher", "launcher/saverstart.rc", {"launcher", "common"}},
      {"uninstaller", "uninstaller/saverremove.rc", {"uninstaller", "common/dialogs/dialogTexts.cpp"}}};
  return tables;
}

std::string sourcePath(const std::string &relative) {
  std::string path = relative.empty() ? SAVER_SOURCE_DIR : SAVER_SOURCE_DIR "/" + relative;
#ifdef _WIN32
  path = driver::windowsPathOf(path);
#endif
  return path;
}

const StringTableScript &tableScript(const std::string &script) {
  static std::map<std::string, StringTableScript> scripts;
  auto known = scripts.find(script);
  if (known == scripts.end())
    known = scripts.emplace(script, readStringTableScript(sourcePath(""), sourcePath(script))).first;
  return known->second;
}

static std::string entryText(const char *script, unsigned id) {
  const StringTableScript &table = tableScript(script);
  const auto entry = table.entries.find(id);
  if (entry != table.entries.end()) return entry->second.text;
  ADD_FAILURE() << script << " has no entry " << id;
  return std::string();
}

std::string dialogFragmentText(unsigned id) { return entryText("common/dialogs/dialogTexts.rc", id); }
std::string installErrorFragmentText(unsigned id) {
  return entryText("common/dialogs/installErrorTexts.rc", id);
}
std::string installerText(unsigned id) { return entryText("installer/stringTable.rc", id); }
std::string launcherText(unsigned id) { return entryText("launcher/saverstart.rc", id); }
std::string uninstallerText(unsigned id) { return entryText("uninstaller/saverremove.rc", id); }
