// The text of the error box for file and package failures, which the
// installer and the launcher show (ReportInstallError), from the entries of
// common/dialogs/installErrorTexts.rc. Portable.
#ifndef SAVER_COMMON_DIALOGS_INSTALL_ERROR_TEXT_H
#define SAVER_COMMON_DIALOGS_INSTALL_ERROR_TEXT_H

#include "common/programTexts.h"

#include <cstdint>
#include <string>

// The lead "Installation Error: " and what the status calls for, with the
// file concerned where it belongs.
std::string installErrorText(int32_t code, const std::string &fileText, TextLookup text);

#endif
