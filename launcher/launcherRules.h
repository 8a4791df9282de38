// The launcher's portable rules: the commands it hears in WM_COPYDATA, the
// lines it traces (the texts it shows are in launcher/launcherTexts.h), how
// it starts the installer copy, and which language its control-panel titles
// take.
#ifndef SAVER_LAUNCHER_LAUNCHER_RULES_H
#define SAVER_LAUNCHER_LAUNCHER_RULES_H

#include <cstdint>
#include <string>
#include <vector>

#include "common/statusCodes.h"

// ---- Commands ----

enum class LauncherCommand {
  OpenReadMe,
  MakeActiveSaver,
  MakeActiveUserSaver,
  OpenControlPanel,
  Close,
  None
};

// The text at data up to its first NUL, never reading beyond size bytes: a
// sender may omit the NUL or pass no data at all.
std::string commandTextFromCopyData(const void *data, uint32_t size);

// First match wins: "openReadMe-" at the start (a read-me's path may hold
// any of the other words), "makeActiveSaver" anywhere, then the exact texts
// "openScreenSaverControlPanel" and "Close". Case-sensitive.
LauncherCommand classifyCommand(const std::string &text);

// The screen saver's file name: the command text from its 17th character on,
// that is, behind the 16 characters of "makeActiveSaver-".
std::string saverFileNameFromCommand(const std::string &text);

// The screen saver's file name from a make-active command, provided it is a
// safe file name by the rule the package applies to the files it carries
// (isSafeEntryName): STATUS_OK, or STATUS_UNSAFE_NAME for a name that could
// lead out of the system folder (or, for the user's saver, of the user's
// saver folder).
int32_t activeSaverFileName(const std::string &commandText, std::string &fileName);

// The read-me's path from an open-read-me command, provided it is a document
// directly inside one saver folder of sharedFolder (sharedFolder, a folder
// name, a file name, each part a safe entry name) and of a type that opens
// in a viewer, never runs (.txt, .rtf, .htm, .html, in any case):
// STATUS_OK, else STATUS_UNSAFE_NAME.
int32_t readMeToOpen(const std::string &commandText, const std::string &sharedFolder, std::string &path);

// ---- Who may command the launcher ----

// What the launcher does with a message that asks it for something.
enum class MessageVerdict {
  CarryOut,           // do as asked
  Ignore,             // traced and dropped: not from the installer
  CloseWithInstaller  // the launcher ends when its installer does
};

struct LauncherMessage {
  bool isCloseMessage;          // WM_Close_Launcher, posted without a sender
  uint32_t senderProcessId;     // owner of the window named as sender, else 0
  uint32_t installerProcessId;  // the installer the launcher started, else 0
  bool installerRunning;
  // The sender runs the launcher's installer copy: the installer's own
  // elevated copy, which the installer started and waits for.
  bool senderRunsInstallerCopy = false;
};

// Commands are carried out only for the running installer the launcher
// started; once it has ended its process id may belong to anyone. The close
// message names no sender, so while the installer runs a stranger's cannot be
// told from the installer's: it then only confirms what happens anyway, the
// launcher closing when its installer ends.
MessageVerdict judgeMessage(const LauncherMessage &message);

// ---- Codes and trace lines ----

// Input/output error codes are positive; the launcher reports them negated.
int32_t negatedIoCode(int32_t code);

// Trace-box lines of a WM_COPYDATA message.
std::string copyDataSenderLine(int32_t senderHandle);
std::string receivedCommandLine(const std::string &commandText, const std::string &shortDate);
// The line for a message the launcher does not act on, and why.
std::string ignoredMessageLine(uint32_t senderProcessId, uint32_t installerProcessId);
std::string closeDeferredLine();

// ---- Starting the installer ----

// The launcher's own parameters 1 to N; any other parameter is ignored.
struct LauncherSwitches {
  bool quiet = false;        // "/q" or "/qn" in any letter case: no installer window
  bool silent = false;       // "/qn": nothing on the screen, the launcher's boxes neither
  bool force = false;        // "/force"
  std::string logPath;       // behind the last "/log=", as given; "" without one
  std::string languageCode;  // behind the last "/lang=", passed on; "" without one
};
LauncherSwitches readLauncherSwitches(const std::vector<std::string> &launcherParameters);

struct InstallerLaunchPlan {
  // The switches passed on ("/q" or "/qn", "/force", the quoted "/log=" with
  // the log's full path), then "/l=<handle>".
  std::string parameters;
  bool minimised;  // started minimised in quiet mode
  bool hidden;     // started hidden in silent mode
  std::vector<std::string> traceLines;
};

// logPath: the run log's full path, "" for none.
InstallerLaunchPlan planInstallerLaunch(uint32_t windowHandle,
                                        const std::vector<std::string> &launcherParameters,
                                        const std::string &logPath);

// ---- Language of the control-panel titles ----

enum LanguageIndex : uint8_t {
  LANGUAGE_ENGLISH = 0,
  LANGUAGE_CATALAN = 1,
  LANGUAGE_SPANISH = 2,
  LANGUAGE_FRENCH = 3,
  LANGUAGE_GERMAN = 4,
  LANGUAGE_DUTCH = 5,
  LANGUAGE_JAPANESE = 6,
  LANGUAGE_PORTUGUESE = 7,
};

// Searches the language name (as the system words it, e.g. "German
// (Austria)") for the known language words in a fixed order; the first word
// found decides, and a name without any of them gives English.
uint8_t languageIndexForName(const char *languageName);

// String ids of the two titles; English (0) has none, its titles are
// program constants.
unsigned firstTitleStringId(uint8_t languageIndex);
unsigned secondTitleStringId(uint8_t languageIndex);

#endif
