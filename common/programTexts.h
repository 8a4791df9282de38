// Each program's user-visible texts live in its string table resource: the
// program's own entries and the shared fragments of common/dialogs/, so that
// a translation is one more table. The portable code that puts a message
// together receives the reading of that table as a TextLookup; the native
// tests pass one that reads the resource script.
#ifndef SAVER_COMMON_PROGRAM_TEXTS_H
#define SAVER_COMMON_PROGRAM_TEXTS_H

#include <cstdint>
#include <initializer_list>
#include <string>

// The text with identifier id (IDS_...); "" when the table has none.
using TextLookup = std::string (*)(unsigned id);

// The pattern with its positional placeholders %1 to %9 replaced by the
// arguments in that order, so that a translation may reorder them. Any other
// percent sign stays; an inserted argument is not read again: a file named
// "%2" stays as it is.
std::string expandText(const std::string &pattern, std::initializer_list<std::string> arguments);

// Windows: the running program's TextLookup, its own string table in the
// chosen language (English where that table lacks the text), in UTF-8.
std::string programText(unsigned id);

// Windows: the text in the English table, for what is stored rather than shown.
std::string englishProgramText(unsigned id);

// Windows: the language programText reads, a TextLanguage's languageId.
void setTextLanguage(uint16_t languageId);

// Windows: sets the language chooseTextLanguage (common/textLanguage.h)
// picks for the code behind "/lang=", the user's interface language and the
// package's list ("" before the package is read).
void speakUserLanguage(const std::string &requestedCode, const std::string &offered);

#endif
