// Reads a program's string table from its resource script the way the
// resource compiler does, for the forms these scripts use: #include of id
// headers and fragments, #define of numbers and strings, #pragma code_page,
// and STRINGTABLE blocks of `ID "text"` or `ID, MACRO` entries with C
// escapes and "" for a quote, each table under its LANGUAGE. Tests only.
#ifndef SAVER_TESTS_TEXTS_STRING_TABLE_SCRIPT_H
#define SAVER_TESTS_TEXTS_STRING_TABLE_SCRIPT_H

#include <map>
#include <string>
#include <vector>

struct ScriptEntry {
  std::string text;  // the bytes as spelt, in the code page below
  unsigned codePage;
};

struct StringTableScript {
  std::map<unsigned, ScriptEntry> entries;  // English, the table the others fall back on
  // The other languages' tables, by language identifier.
  std::map<unsigned, std::map<unsigned, ScriptEntry>> translations;
  std::map<std::string, std::string> defines;  // every #define read, name to value
  // What the resource compiler would refuse or a program would miss: an
  // unreadable file, an unknown name, a duplicate id, an empty text.
  std::vector<std::string> faults;
};

// includeRoot resolves #include "x/y.h" as the build's include directory does.
StringTableScript readStringTableScript(const std::string &includeRoot, const std::string &path);

#endif
