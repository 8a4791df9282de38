#include "common/dialogs/installErrorText.h"

#include "common/dialogs/dialogTextIds.h"
#include "common/statusCodes.h"

static std::string statusText(int32_t code, const std::string &fileText, TextLookup text) {
  switch (code) {
    case SYSTEM_ERROR_ACCESS_DENIED:
      return expandText(text(IDS_INSTALL_ACCESS_DENIED), {fileText});
    case STATUS_PACKAGE_COPY_FAILED:
      // The system has no text for this code of ours, so none is inserted.
      return expandText(text(IDS_INSTALL_COPY_FAILED), {fileText, text(IDS_LIMITED_PRIVILEGES)});
    case STATUS_SCREEN_SAVER_BUSY:
      return text(IDS_INSTALL_SAVER_BUSY);
    case STATUS_FILE_BUSY:
      return expandText(text(IDS_INSTALL_FILE_BUSY), {fileText});
    case STATUS_EXPANDED_CRC_MISMATCH:
      return expandText(text(IDS_INSTALL_CHECKSUM_MISMATCH), {fileText, text(IDS_DOWNLOAD_AGAIN)});
    case STATUS_NOT_DONE:
      return std::string();
    default:
      return expandText(text(IDS_INSTALL_FILE_PROBLEM), {fileText});
  }
}

std::string installErrorText(int32_t code, const std::string &fileText, TextLookup text) {
  return text(IDS_INSTALL_ERROR) + statusText(code, fileText, text);
}
