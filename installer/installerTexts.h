// The installer's own texts: those of its start-up and its installation, the
// message that ends a failed start-up and the boxes for what the package
// operations tell. Portable. Button captions, the control-panel
// titles and the movie player's web address are in the string table
// (stringTable.rc).
#ifndef SAVER_INSTALLER_INSTALLER_TEXTS_H
#define SAVER_INSTALLER_INSTALLER_TEXTS_H

#include "common/dialogs/dialogTexts.h"
#include "package/packageFailure.h"

#include <cstdint>
#include <string>

extern const char APPLICATION_PREPARING_TEXT[];  // task-bar title at program entry
extern const char PREPARING_WINDOW_FIRST_TEXT[];
extern const char PREPARING_TEXT[];
extern const char INSTALLING_TEXT[];
extern const char INSTALLATION_COMPLETE_TEXT[];
extern const char INSUFFICIENT_PRIVILEGES_TEXT[];
extern const char SAVER_NOT_REPLACEABLE_TEXT[];
extern const char ABORTED_CLEANING_UP_TEXT[];
extern const char INSTALLATION_SUCCESSFUL_TEXT[];
extern const char OPEN_CONTROL_PANEL_QUESTION[];
extern const char OPENING_CONTROL_PANEL_TEXT[];
extern const char CORRUPT_PICTURE_TEXT[];  // followed by the picture file's name
extern const char WRITING_FILES_TEXT[];    // before each carried file is written
// The start of the one message for STATUS_PACKAGE_DAMAGED.
extern const char DAMAGED_INSTALLER_TEXT[];

// "Install failed. Error: " and the status in decimal.
std::string installFailedText(int32_t status);

enum class StartupMessageKind { errorAbort, errorOk, information };

struct StartupMessage {
  StartupMessageKind kind;
  std::string text;
};

// The one message of a start-up that ended with a nonzero status; the two
// movie player texts name playerAddress, the player maker's download page.
StartupMessage startupEndMessage(int32_t status, const std::string &playerAddress);

// The end of a start-up whose installation ran in the preparing window and
// failed: the package was read, so the failure is told as a failed
// installation, not as a damaged file.
StartupMessage preparingInstallEndMessage(int32_t status);

// The box that tells what a step had to tell; systemText is the operating
// system's text for failure.status, playerAddress the movie player maker's
// download page for the end of a start-up.
struct FailureMessage {
  DialogKind kind;
  DialogButtons buttons;
  std::string text;
};
FailureMessage failureMessage(const Failure &failure, const std::string &systemText,
                              const std::string &playerAddress);

#endif
