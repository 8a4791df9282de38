// Status codes of the launcher and the texts it shows and traces.
#ifndef SAVER_LAUNCHER_STATUS_H
#define SAVER_LAUNCHER_STATUS_H

#include <cstdint>
#include <string>

constexpr int32_t STATUS_NOTHING_APPENDED = -7;  // the launcher carries no installer
constexpr int32_t STATUS_SHORT_READ = -3;        // the launcher file ended early
constexpr int32_t STATUS_SHORT_WRITE = -4;       // the installer copy took fewer bytes
constexpr int32_t STATUS_DESKTOP_KEY_FAILED = -2201;  // HKCU "Control Panel\Desktop" not writable
constexpr int32_t STATUS_INSTALLER_NOT_STARTED = -2203;  // the shell could not start the copy

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
