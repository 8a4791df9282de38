#include "installer/installerTexts.h"

#include "common/dialogs/installErrorText.h"
#include "common/statusCodes.h"

std::string installFailedText(int32_t status, TextLookup text) {
  return expandText(text(IDS_INSTALL_FAILED), {std::to_string(status)});
}

static std::string startupEndText(int32_t status, TextLookup text) {
  switch (status) {
    case FLASH_INSTALLER_NOT_FOR_NT:
      return text(IDS_NOT_FOR_NT);
    case FLASH_PLAYER_INSTALL_FAILED:
      return expandText(text(IDS_PLAYER_INSTALL_FAILED),
                        {text(IDS_FLASH_PLAYER_ADDRESS), text(IDS_LIMITED_PRIVILEGES)});
    case FLASH_PLAYER_NOT_FOUND:
      return expandText(text(IDS_PLAYER_MISSING), {text(IDS_FLASH_PLAYER_ADDRESS)});
    case STATUS_PACKAGE_DAMAGED:
      return expandText(text(IDS_DAMAGED_INSTALLER), {text(IDS_DOWNLOAD_AGAIN)});
    case STATUS_INSTALL_IN_PROGRESS:
      return text(IDS_INSTALL_IN_PROGRESS);
    case STATUS_FOLDER_IS_LINK:  // the folder's own message came first; the file is sound
      return installFailedText(status, text);
    default:
      return expandText(text(IDS_INSTALLER_CORRUPTED), {text(IDS_PRODUCT_ERROR), std::to_string(status)});
  }
}

StartupMessage startupEndMessage(int32_t status, TextLookup text) {
  StartupMessageKind kind = StartupMessageKind::errorAbort;
  if (status == FLASH_PLAYER_INSTALL_FAILED) kind = StartupMessageKind::errorOk;
  if (status == FLASH_PLAYER_NOT_FOUND || status == STATUS_INSTALL_IN_PROGRESS)
    kind = StartupMessageKind::information;
  return {kind, startupEndText(status, text)};
}

StartupMessage preparingInstallEndMessage(int32_t status, TextLookup text) {
  return {StartupMessageKind::errorAbort, installFailedText(status, text)};
}

static std::string failureText(const Failure &failure, const std::string &systemText, TextLookup text) {
  switch (failure.kind) {
    case FailureKind::File:
      if (failure.status == STATUS_FOLDER_IS_LINK)
        return expandText(text(IDS_FOLDER_IS_LINK), {failure.subject});
      return installErrorText(failure.status, failure.subject, text);
    case FailureKind::ExpansionSetUp:
      return expandText(text(IDS_EXPANSION_FAILED), {systemText});
    case FailureKind::DataFileInUse:
      return expandText(text(IDS_DATA_FILE_IN_USE), {text(IDS_PRODUCT_ERROR)});
    case FailureKind::DataFileOpen:
      return expandText(text(IDS_DATA_FILE_OPEN_FAILED), {failure.subject, std::to_string(failure.status)});
    case FailureKind::DataFileRead:
      return expandText(text(IDS_DATA_FILE_READ_FAILED), {text(IDS_PRODUCT_ERROR), systemText});
    case FailureKind::DataFileClose:
      return expandText(text(IDS_DATA_FILE_CLOSE_FAILED), {systemText});
    default:
      break;
  }
  return std::string();
}

static FailureMessage startupMessageBox(const StartupMessage &message) {
  switch (message.kind) {
    case StartupMessageKind::errorOk:
      return {DialogKind::Error, DialogButtons::Ok, message.text};
    case StartupMessageKind::information:
      return {DialogKind::Information, DialogButtons::Ok, message.text};
    case StartupMessageKind::errorAbort:
      break;
  }
  return {DialogKind::Error, DialogButtons::Abort, message.text};
}

FailureMessage failureMessage(const Failure &failure, const std::string &systemText, TextLookup text) {
  switch (failure.kind) {
    case FailureKind::StartupEnded:
      return startupMessageBox(startupEndMessage(failure.status, text));
    case FailureKind::InstallEnded:
      return startupMessageBox(preparingInstallEndMessage(failure.status, text));
    case FailureKind::PictureUnreadable:
      return {DialogKind::Error, DialogButtons::Abort,
              expandText(text(IDS_CORRUPT_PICTURE), {failure.subject})};
    case FailureKind::Refused:
      return {DialogKind::Error, DialogButtons::Ok, failure.subject};
    default:
      break;
  }
  // The refused second open is an information box with the error's button.
  const DialogKind kind =
      failure.kind == FailureKind::DataFileInUse ? DialogKind::Information : DialogKind::Error;
  return {kind, DialogButtons::Abort, failureText(failure, systemText, text)};
}
