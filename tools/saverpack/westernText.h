// Header texts as Windows shows them. The installer writes the saver name and
// the publisher into the registry byte for byte through the system's code
// page; on Western systems (1252), which the packer takes as the rule, a byte
// outside ASCII stands for the letter that code page gives it.
#ifndef SAVER_TOOLS_SAVERPACK_WESTERN_TEXT_H
#define SAVER_TOOLS_SAVERPACK_WESTERN_TEXT_H

#include <string>

// The UTF-8 text of bytes in the Western code page.
std::string utf8OfWestern(const std::string &bytes);

bool isAscii(const std::string &bytes);

#endif
