#include "installer/installerTexts.h"

#include "common/statusCodes.h"

const char APPLICATION_PREPARING_TEXT[] = "Preparing installation...";
const char PREPARING_WINDOW_FIRST_TEXT[] = "Preparing Installation...";
const char PREPARING_TEXT[] = "Preparing installation...";
const char INSTALLING_TEXT[] = "Installing Screen Saver...";
const char INSTALLATION_COMPLETE_TEXT[] = "Screen Saver Installation and Setup Complete.";
const char INSUFFICIENT_PRIVILEGES_TEXT[] = "Installation Aborted: Insufficient user account privileges.";
const char SAVER_NOT_REPLACEABLE_TEXT[] = "Installation Aborted: Screen saver cannot be replaced.";
const char ABORTED_CLEANING_UP_TEXT[] = "Installation Aborted. Cleaning up files...";
const char INSTALLATION_SUCCESSFUL_TEXT[] = "Installation Successful.";
const char OPEN_CONTROL_PANEL_QUESTION[] =
    "The installation of the screen saver was successful.\r\n\r\n"
    "Would you like to open the screen saver control panel?";
const char OPENING_CONTROL_PANEL_TEXT[] = "Opening the Display Properties control panel. Please standby...";
const char CORRUPT_PICTURE_TEXT[] = "CorruptFile: ";
const char WRITING_FILES_TEXT[] = "Writing screen saver files...";
const char DAMAGED_INSTALLER_TEXT[] =
    "The installer file is damaged: it was changed or cut short after it was made. "
    "Nothing was installed.\r\n\r\n";

std::string installFailedText(int32_t status) { return "Install failed. Error: " + std::to_string(status); }

static std::string playerMissingText(const std::string &playerAddress) {
  return "This screen saver requires the latest Adobe Flash Player for Internet Explorer.\r\n\r\n"
         "Please download the free player from " +
         playerAddress + " and retry this installation.";
}

static std::string playerInstallFailedText(const std::string &playerAddress) {
  return "Adobe Flash Player Installation Failed.\r\n\r\n"
         "This screen saver requires the Adobe Flash Player. Please download and install the "
         "latest Adobe Flash Player for Internet Explorer from " +
         playerAddress + " then retry this installation. " + LIMITED_PRIVILEGES_TEXT;
}

StartupMessage startupEndMessage(int32_t status, const std::string &playerAddress) {
  switch (status) {
    case FLASH_INSTALLER_NOT_FOR_NT:
      return {StartupMessageKind::errorAbort, "This screen saver is not compatible with Windows NT."};
    case FLASH_PLAYER_INSTALL_FAILED:
      return {StartupMessageKind::errorOk, playerInstallFailedText(playerAddress)};
    case FLASH_PLAYER_NOT_FOUND:
      return {StartupMessageKind::information, playerMissingText(playerAddress)};
    case STATUS_PACKAGE_DAMAGED:
      return {StartupMessageKind::errorAbort, std::string(DAMAGED_INSTALLER_TEXT) + DOWNLOAD_AGAIN_TEXT};
    default:
      return {StartupMessageKind::errorAbort, "Installer file is corrupted. " +
                                                  std::string(PRODUCT_ERROR_TEXT) + std::to_string(status) +
                                                  ". "};
  }
}

StartupMessage preparingInstallEndMessage(int32_t status) {
  return {StartupMessageKind::errorAbort, installFailedText(status)};
}

static std::string failureText(const Failure &failure, const std::string &systemText) {
  switch (failure.kind) {
    case FailureKind::File:
      return installErrorText(failure.status, failure.subject);
    case FailureKind::ExpansionSetUp:
      return "Zip Error: Problem expanding data in memory. \r\n\r\n" + systemText;
    case FailureKind::DataFileInUse:
      return std::string(PRODUCT_ERROR_TEXT) + "Screen saver data file already in use.";
    case FailureKind::DataFileOpen:
      return "Problem opening screen saver data file.\r\n\r\nFile: " + failure.subject + "\r\n\r\n" +
             std::to_string(failure.status);
    case FailureKind::DataFileRead:
      return std::string(PRODUCT_ERROR_TEXT) + "Problem reading screen saver data file. " + systemText;
    case FailureKind::DataFileClose:
      return "Problem closing file.\r\n\r\nFile: \r\n" + systemText;
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

FailureMessage failureMessage(const Failure &failure, const std::string &systemText,
                              const std::string &playerAddress) {
  switch (failure.kind) {
    case FailureKind::StartupEnded:
      return startupMessageBox(startupEndMessage(failure.status, playerAddress));
    case FailureKind::InstallEnded:
      return startupMessageBox(preparingInstallEndMessage(failure.status));
    case FailureKind::PictureUnreadable:
      return {DialogKind::Error, DialogButtons::Abort, CORRUPT_PICTURE_TEXT + failure.subject};
    default:
      break;
  }
  // The refused second open is an information box with the error's button.
  const DialogKind kind =
      failure.kind == FailureKind::DataFileInUse ? DialogKind::Information : DialogKind::Error;
  return {kind, DialogButtons::Abort, failureText(failure, systemText)};
}
