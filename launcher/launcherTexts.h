// The launcher's messages, put together from the entries of its string table
// (saverstart.rc), which the caller's TextLookup reads. Portable.
#ifndef SAVER_LAUNCHER_LAUNCHER_TEXTS_H
#define SAVER_LAUNCHER_LAUNCHER_TEXTS_H

#include "common/programTexts.h"
#include "launcher/launcherTextIds.h"

#include <cstdint>
#include <string>

// "Installer file is corrupted. Error: <status>. "
std::string corruptInstallerMessage(int32_t status, TextLookup text);
// "Lumavane Error: <file name>\r\n\r\n<system text>"
std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText,
                                     TextLookup text);
// The shell could not start the installer copy.
std::string installerNotStartedMessage(int32_t shellResult, TextLookup text);
// "Unable to write to system.ini"
std::string profileWriteFailedMessage(const std::string &fileName, TextLookup text);

#endif
