#include "launcher/launcherStatus.h"

int32_t negatedIoCode(int32_t code) { return code > 0 ? -code : code; }

std::string corruptInstallerMessage(int32_t status) {
  return "Installer file is corrupted. Error: " + std::to_string(status) + ". ";
}

std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText) {
  return "Lumavane Error: " + fileName + "\r\n\r\n" + systemText;
}

std::string installerNotStartedMessage(int32_t shellResult) {
  return "The installer could not be started. Error: " + std::to_string(shellResult) + ". ";
}

std::string profileWriteFailedMessage(const std::string &fileName) {
  return "Unable to write to " + fileName;
}

std::string copyDataSenderLine(int32_t senderHandle) {
  return "WM_CopyData from: " + std::to_string(senderHandle);
}

std::string receivedCommandLine(const std::string &commandText, const std::string &shortDate) {
  return "Received MESSSAGE \"" + commandText + "\" at " + shortDate;
}

std::string fileNamePart(const std::string &path) {
  size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}
