#include "launcher/launcherTexts.h"

#include "common/dialogs/dialogTexts.h"

std::string corruptInstallerMessage(int32_t status) {
  return "Installer file is corrupted. Error: " + std::to_string(status) + ". ";
}

std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText) {
  return PRODUCT_ERROR_TEXT + fileName + "\r\n\r\n" + systemText;
}

std::string installerNotStartedMessage(int32_t shellResult) {
  return "The installer could not be started. Error: " + std::to_string(shellResult) + ". ";
}

std::string profileWriteFailedMessage(const std::string &fileName) {
  return "Unable to write to " + fileName;
}
