// The programs keep their texts in UTF-8 and hand them to the window
// functions in UTF-16; names from the package and the system arrive in the
// system's ANSI code page, the string tables in UTF-16. Windows only.
#ifndef SAVER_COMMON_UNICODE_TEXT_H
#define SAVER_COMMON_UNICODE_TEXT_H

#include <windows.h>

#include <cstdint>
#include <string>

// A text that is no UTF-8 at all is read in the ANSI code page, so that a
// name no one converted still shows as the system spells it.
std::wstring wideFromUtf8(const std::string &text);
std::string utf8FromWide(const wchar_t *text, int length);
// For a name in the ANSI code page (a file, the saver's name) that goes into
// a UTF-8 message.
std::string utf8FromAnsi(const std::string &text);
// For a text that may be either, as a failure's subject (a path, or a
// message already put together): UTF-8 stays, anything else is read in the
// ANSI code page.
std::string utf8OfEither(const std::string &text);

// The text of id in the language's own table of module, in UTF-8; "" when
// that table lacks it.
std::string stringTableText(HMODULE module, unsigned id, uint16_t languageId);

#endif
