// The launcher's own texts, the messages of its start-up and its commands.
// The texts it shares with the installer are in common/dialogs/dialogTexts.h.
// Portable.
#ifndef SAVER_LAUNCHER_LAUNCHER_TEXTS_H
#define SAVER_LAUNCHER_LAUNCHER_TEXTS_H

#include <cstdint>
#include <string>

// "Installer file is corrupted. Error: <status>. "
std::string corruptInstallerMessage(int32_t status);
// "Lumavane Error: <file name>\r\n\r\n<system text>"
std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText);
// The shell could not start the installer copy.
std::string installerNotStartedMessage(int32_t shellResult);
// "Unable to write to system.ini"
std::string profileWriteFailedMessage(const std::string &fileName);

#endif
