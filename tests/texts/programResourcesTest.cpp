// The resource compiler reads each program's script as the native tests do:
// every entry the script spells is in the built program, with the same text.
#include "programTables.h"
#include "testDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::wstring wide(const std::string &text, unsigned codePage) {
  std::wstring converted(text.size(), L'\0');
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         converted.data(), static_cast<int>(converted.size()));
  converted.resize(length > 0 ? length : 0);
  return converted;
}

TEST(ProgramResources, EachProgramHoldsItsScriptsEntries) {
  const std::pair<const char *, const char *> programs[] = {
      {SAVERSETUP_EXE, "installer/stringTable.rc"},
      {SAVERSTART_EXE, "launcher/saverstart.rc"},
      {SAVERREMOVE_EXE, "uninstaller/saverremove.rc"}};
  for (const auto &program : programs) {
    HMODULE module =
        LoadLibraryExA(driver::windowsPathOf(program.first).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program.first;
    const StringTableScript &script = tableScript(program.second);
    EXPECT_FALSE(script.entries.empty()) << program.second;
    for (const auto &entry : script.entries) {
      wchar_t stored[4096] = L"";
      const int length = LoadStringW(module, entry.first, stored, 4096);
      EXPECT_EQ(std::wstring(stored, length > 0 ? length : 0),
                wide(entry.second.text, entry.second.codePage))
          << program.second << " entry " << entry.first;
    }
    FreeLibrary(module);
  }
}

}  // namespace
