#include "common/dialogs/dialogTexts.h"

#include "common/statusCodes.h"

std::string dialogCaption(DialogKind kind, DialogLanguage language) {
  const bool german = language == DialogLanguage::German;
  switch (kind) {
    case DialogKind::Error:
      return german ? "Fehler" : "Error";
    case DialogKind::Information:
      return "Information";
    case DialogKind::Confirmation:
      return german ? "Best\xE4tigen" : "Confirm";  // code page 1252
  }
  return std::string();
}

std::vector<DialogButton> dialogButtons(DialogButtons buttons, DialogLanguage language) {
  const bool german = language == DialogLanguage::German;
  const std::string cancel = german ? "Abbrechen" : "Cancel";
  switch (buttons) {
    case DialogButtons::Abort:
      return {{ANSWER_ABORT, german ? "Abbrechen" : "&Abort"}};
    case DialogButtons::Ok:
      return {{ANSWER_OK, "OK"}};
    case DialogButtons::YesNo:
      return {{ANSWER_YES, german ? "&Ja" : "&Yes"}, {ANSWER_NO, german ? "&Nein" : "&No"}};
    case DialogButtons::OkCancel:
      return {{ANSWER_OK, "OK"}, {ANSWER_CANCEL, cancel}};
  }
  return {};
}

DialogAnswer dismissAnswer(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::Abort:
      return ANSWER_ABORT;
    case DialogButtons::Ok:
      return ANSWER_OK;
    case DialogButtons::YesNo:
      return ANSWER_NO;
    case DialogButtons::OkCancel:
      return ANSWER_CANCEL;
  }
  return ANSWER_CANCEL;
}

static const char INSTALLATION_ERROR[] = "Installation Error: ";

const char DOWNLOAD_AGAIN_TEXT[] = "Please download the installer again and rerun it.";
const char PRODUCT_ERROR_TEXT[] = "Lumavane Error: ";
const char LIMITED_PRIVILEGES_TEXT[] =
    "If this message appears again, the installation cannot be completed because your user "
    "account has limited installation privileges. To complete this installation, login with "
    "administrative privileges and rerun this installer.";

std::string installErrorText(int32_t code, const std::string &fileText) {
  std::string text = INSTALLATION_ERROR;
  switch (code) {
    case SYSTEM_ERROR_ACCESS_DENIED:
      return text + fileText + "\r\n\r\n" +
             "Insufficient user account privileges.\r\n\r\nThe current user account has "
             "insufficient privileges to install screen savers. Please contact your system "
             "administrator for help in performing this installation.";
    case STATUS_PACKAGE_COPY_FAILED:
      // The system has no text for this code of ours, so none is inserted.
      return text + fileText + "\r\n\r\n" + "Please retry installation. " + LIMITED_PRIVILEGES_TEXT;
    case STATUS_SCREEN_SAVER_BUSY:
      return text +
             "Screen saver cannot be replaced.\r\n\r\nPlease close the screen saver control panel "
             "and try again. If the install fails again, you may have insufficient privileges to "
             "install screen savers. Please contact your system administrator for assistance.";
    case STATUS_FILE_BUSY:
      return text +
             " File is busy and cannot be replaced. Please close any other application that may "
             "be using this file and try again.\r\n\r\nFile: " +
             fileText;
    case STATUS_EXPANDED_CRC_MISMATCH:
      return text + fileText + "\r\n\r\n" +
             "This file does not match the checksum the installer carries for it: the installer "
             "file is damaged.\r\n\r\n" +
             DOWNLOAD_AGAIN_TEXT;
    case STATUS_NOT_DONE:
      return text;
    default:
      return text + fileText + "\r\n\r\n" + "Problem with file " + fileText + ". ";
  }
}
