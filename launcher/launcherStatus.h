// Status codes of the launcher and the texts it shows and traces.
#ifndef SAVER_LAUNCHER_STATUS_H
#define SAVER_LAUNCHER_STATUS_H

#include "common/statusCodes.h"

#include <cstdint>
#include <string>

// Input/output error codes are positive; the launcher reports them negated.
int32_t negatedIoCode(int32_t code);

// "Installer file is corrupted. Error: <status>. "
std::string corruptInstallerMessage(int32_t status);
// "Lumavane Error: <file name>\r\n\r\n<system text>"
std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText);
// The shell could not start the installer copy.
std::string installerNotStartedMessage(int32_t shellResult);
// "Unable to write to system.ini"
std::string profileWriteFailedMessage(const std::string &fileName);

// Trace-box lines of a WM_COPYDATA message.
std::string copyDataSenderLine(int32_t senderHandle);
std::string receivedCommandLine(const std::string &commandText, const std::string &shortDate);

// The file name of a path, without its folder.
std::string fileNamePart(const std::string &path);

#endif
