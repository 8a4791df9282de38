#include "package/packageStatus.h"

static const char INSTALLATION_ERROR[] = "Installation Error: ";
static const char PRODUCT_ERROR[] = "Lumavane Error: ";

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
      return text + fileText + "\r\n\r\n" +
             "Please retry installation. If this message appears again, the installation cannot "
             "be completed because your user account has limited installation privileges." +
             " To complete this installation, login with administrative privileges and rerun "
             "this installer.";
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
    case STATUS_NOT_DONE:
      return text;
    default:
      return text + fileText + "\r\n\r\n" + "Problem with file " + fileText + ". ";
  }
}

std::string dataFileInUseText() {
  return std::string(PRODUCT_ERROR) + "Screen saver data file already in use.";
}

std::string dataFileOpenErrorText(const std::string &path, int32_t code) {
  return "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n" +
         std::to_string(code);
}

std::string dataFileReadErrorText(const std::string &systemText) {
  return std::string(PRODUCT_ERROR) + "Problem reading screen saver data file. " + systemText;
}

std::string dataFileCloseErrorText(const std::string &systemText) {
  return std::string("Problem closing file.\r\n\r\nFile: ") + "\r\n" + systemText;
}
