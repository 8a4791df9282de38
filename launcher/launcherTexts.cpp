#include "launcher/launcherTexts.h"

std::string corruptInstallerMessage(int32_t status, TextLookup text) {
  return expandText(text(IDS_LAUNCHER_CORRUPT_INSTALLER), {std::to_string(status)});
}

std::string extractionIoErrorMessage(const std::string &fileName, const std::string &systemText,
                                     TextLookup text) {
  return expandText(text(IDS_LAUNCHER_COPY_FAILED), {text(IDS_PRODUCT_ERROR), fileName, systemText});
}

std::string installerNotStartedMessage(int32_t shellResult, TextLookup text) {
  return expandText(text(IDS_LAUNCHER_INSTALLER_NOT_STARTED), {std::to_string(shellResult)});
}

std::string profileWriteFailedMessage(const std::string &fileName, TextLookup text) {
  return expandText(text(IDS_LAUNCHER_PROFILE_NOT_WRITTEN), {fileName});
}
