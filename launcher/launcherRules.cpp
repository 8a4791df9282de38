#include "launcher/launcherRules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/controlPanelTitles.h"
#include "common/launcherProtocol.h"
#include "common/pathRules.h"
#include "common/textLanguage.h"

std::string commandTextFromCopyData(const void *data, uint32_t size) {
  if (data == nullptr) return std::string();
  const char *text = static_cast<const char *>(data);
  const void *terminator = std::memchr(text, '\0', size);
  size_t length = terminator ? static_cast<const char *>(terminator) - text : size;
  return std::string(text, length);
}

LauncherCommand classifyCommand(const std::string &text) {
  if (text.rfind(OPEN_README_COMMAND, 0) == 0) return LauncherCommand::OpenReadMe;
  if (text.rfind(MAKE_ACTIVE_USER_SAVER_COMMAND, 0) == 0) return LauncherCommand::MakeActiveUserSaver;
  if (text.find("makeActiveSaver") != std::string::npos) return LauncherCommand::MakeActiveSaver;
  if (text == OPEN_CONTROL_PANEL_COMMAND) return LauncherCommand::OpenControlPanel;
  if (text == CLOSE_COMMAND) return LauncherCommand::Close;
  return LauncherCommand::None;
}

std::string saverFileNameFromCommand(const std::string &text) {
  const bool forUser = text.rfind(MAKE_ACTIVE_USER_SAVER_COMMAND, 0) == 0;
  const size_t prefixLength =
      std::strlen(forUser ? MAKE_ACTIVE_USER_SAVER_COMMAND : MAKE_ACTIVE_SAVER_COMMAND);
  return text.size() > prefixLength ? text.substr(prefixLength) : std::string();
}

int32_t activeSaverFileName(const std::string &commandText, std::string &fileName) {
  fileName = saverFileNameFromCommand(commandText);
  return isSafeEntryName(fileName) ? STATUS_OK : STATUS_UNSAFE_NAME;
}

namespace {

bool sameLettersIgnoringCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool isViewedDocument(const std::string &fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = fileName.substr(dot);
  const char *const viewed[] = {".txt", ".rtf", ".htm", ".html"};
  return std::ranges::any_of(
      viewed, [&extension](const char *type) { return sameLettersIgnoringCase(extension, type); });
}

}  // namespace

int32_t readMeToOpen(const std::string &commandText, const std::string &sharedFolder, std::string &path) {
  path.clear();
  const std::string prefix = OPEN_README_COMMAND;
  if (sharedFolder.empty() || commandText.rfind(prefix, 0) != 0) return STATUS_UNSAFE_NAME;
  const std::string named = commandText.substr(prefix.size());
  if (named.size() <= sharedFolder.size() ||
      !sameLettersIgnoringCase(named.substr(0, sharedFolder.size()), sharedFolder))
    return STATUS_UNSAFE_NAME;
  const std::string inShared = named.substr(sharedFolder.size());
  const size_t separator = inShared.find('\\');
  if (separator == std::string::npos) return STATUS_UNSAFE_NAME;
  const std::string folder = inShared.substr(0, separator), file = inShared.substr(separator + 1);
  if (!isSafeEntryName(folder) || !isSafeEntryName(file) || !isViewedDocument(file))
    return STATUS_UNSAFE_NAME;
  path = named;
  return STATUS_OK;
}

MessageVerdict judgeMessage(const LauncherMessage &message) {
  if (message.isCloseMessage)
    return message.installerRunning ? MessageVerdict::CloseWithInstaller : MessageVerdict::CarryOut;
  const bool fromInstaller =
      message.installerRunning &&
      ((message.installerProcessId != 0 && message.senderProcessId == message.installerProcessId) ||
       message.senderRunsInstallerCopy);
  return fromInstaller ? MessageVerdict::CarryOut : MessageVerdict::Ignore;
}

int32_t negatedIoCode(int32_t code) { return code > 0 ? -code : code; }

std::string copyDataSenderLine(int32_t senderHandle) {
  return "WM_CopyData from: " + std::to_string(senderHandle);
}

std::string receivedCommandLine(const std::string &commandText, const std::string &shortDate) {
  return "Received MESSSAGE \"" + commandText + "\" at " + shortDate;
}

std::string ignoredMessageLine(uint32_t senderProcessId, uint32_t installerProcessId) {
  return "ignored: sent by process " + std::to_string(senderProcessId) + ", not by the installer " +
         std::to_string(installerProcessId);
}

std::string closeDeferredLine() { return "closing when the installer ends"; }

LauncherSwitches readLauncherSwitches(const std::vector<std::string> &launcherParameters) {
  LauncherSwitches switches;
  for (const std::string &parameter : launcherParameters) {
    const bool silent = isSwitch(parameter, SILENT_SWITCH);
    switches.quiet = switches.quiet || silent || isQuietSwitch(parameter);
    switches.silent = switches.silent || silent;
    switches.force = switches.force || isSwitch(parameter, FORCE_SWITCH);
    logSwitchPath(parameter, switches.logPath);
    languageSwitchCode(parameter, switches.languageCode);
  }
  return switches;
}

InstallerLaunchPlan planInstallerLaunch(uint32_t windowHandle,
                                        const std::vector<std::string> &launcherParameters,
                                        const std::string &logPath) {
  const LauncherSwitches switches = readLauncherSwitches(launcherParameters);
  InstallerLaunchPlan plan;
  plan.minimised = switches.quiet && !switches.silent;
  plan.hidden = switches.silent;
  for (const std::string &parameter : launcherParameters)
    plan.traceLines.push_back("command line parameter: " + parameter);
  if (switches.quiet) plan.parameters = std::string(switches.silent ? SILENT_SWITCH : QUIET_SWITCH) + " ";
  if (switches.force) plan.parameters += std::string(FORCE_SWITCH) + " ";
  if (!logPath.empty()) plan.parameters += "\"" + std::string(LOG_SWITCH) + logPath + "\" ";
  if (textLanguageForCode(switches.languageCode) != nullptr)
    plan.parameters += std::string(LANGUAGE_SWITCH) + switches.languageCode + " ";
  plan.parameters += std::string(LAUNCHER_HANDLE_PARAMETER) + std::to_string(windowHandle);
  if (switches.quiet)
    plan.traceLines.push_back("installerType = QUIET_TYPE, hiding preparingInstallWnd");
  else
    plan.traceLines.push_back("subLaunchParams: " + plan.parameters);
  return plan;
}

namespace {

struct LanguageWord {
  const char *word;
  uint8_t index;
};

// The order matters: a name holding two of the words takes the earlier one.
// "Portugese" is the long-standing spelling of this table; the system itself
// writes "Portuguese", which is accepted at the same place so that Portuguese
// systems reach their own titles.
const LanguageWord searchOrder[] = {
    {"English", LANGUAGE_ENGLISH},       {"Dutch", LANGUAGE_DUTCH},
    {"Spanish", LANGUAGE_SPANISH},       {"Portugese", LANGUAGE_PORTUGUESE},
    {"Portuguese", LANGUAGE_PORTUGUESE}, {"French", LANGUAGE_FRENCH},
    {"German", LANGUAGE_GERMAN},         {"Catalan", LANGUAGE_CATALAN},
    {"Japanese", LANGUAGE_JAPANESE},
};

}  // namespace

uint8_t languageIndexForName(const char *languageName) {
  for (const LanguageWord &entry : searchOrder) {
    if (std::strstr(languageName, entry.word) != nullptr) return entry.index;
  }
  return LANGUAGE_ENGLISH;
}

unsigned firstTitleStringId(uint8_t languageIndex) { return IDS_FIRST_TITLE_BASE + languageIndex; }

unsigned secondTitleStringId(uint8_t languageIndex) { return IDS_SECOND_TITLE_BASE + languageIndex; }
