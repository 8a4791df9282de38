// Each program's string table as its resource script spells it, and the
// TextLookups that hand those tables to the code that composes messages, so
// that the native tests check the composition against the real entries.
#ifndef SAVER_TESTS_TEXTS_PROGRAM_TABLES_H
#define SAVER_TESTS_TEXTS_PROGRAM_TABLES_H

#include "stringTableScript.h"

#include <string>
#include <vector>

struct ProgramTable {
  const char *program;
  const char *script;  // below the source tree
  // The folders and files whose ids the table must hold.
  std::vector<std::string> sources;
};

// The installer, the launcher and the uninstaller.
const std::vector<ProgramTable> &programTables();

// The script below the source tree, read once.
const StringTableScript &tableScript(const std::string &script);

// A path below the source tree (the tree itself for ""), as the test program
// opens it.
std::string sourcePath(const std::string &relative);

// TextLookups of one table each; an id the table lacks fails the running test.
std::string dialogFragmentText(unsigned id);        // common/dialogs/dialogTexts.rc
std::string installErrorFragmentText(unsigned id);  // common/dialogs/installErrorTexts.rc
std::string installerText(unsigned id);
std::string launcherText(unsigned id);
std::string uninstallerText(unsigned id);

#endif
