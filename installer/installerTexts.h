// The installer's composed messages: the one that ends a failed start-up, the
// boxes for what the package operations tell and the status line of a failed
// installation, put together from the entries of its string table
// (stringTable.rc), which the caller's TextLookup reads. Portable.
#ifndef SAVER_INSTALLER_INSTALLER_TEXTS_H
#define SAVER_INSTALLER_INSTALLER_TEXTS_H

#include "common/dialogs/dialogTexts.h"
#include "common/programTexts.h"
#include "installer/stringTableIds.h"
#include "package/packageFailure.h"

#include <cstdint>
#include <string>

// "Install failed. Error: " and the status in decimal.
std::string installFailedText(int32_t status, TextLookup text);

enum class StartupMessageKind { errorAbort, errorOk, information };

struct StartupMessage {
  StartupMessageKind kind;
  std::string text;
};

// The one message of a start-up that ended with a nonzero status; the two
// movie player texts name the player maker's download page.
StartupMessage startupEndMessage(int32_t status, TextLookup text);

// The end of a start-up whose installation ran in the preparing window and
// failed: the package was read, so the failure is told as a failed
// installation, not as a damaged file.
StartupMessage preparingInstallEndMessage(int32_t status, TextLookup text);

// The box that tells what a step had to tell; systemText is the operating
// system's text for failure.status.
struct FailureMessage {
  DialogKind kind;
  DialogButtons buttons;
  std::string text;
};
FailureMessage failureMessage(const Failure &failure, const std::string &systemText, TextLookup text);

#endif
