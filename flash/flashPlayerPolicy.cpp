#include "flash/flashPlayerPolicy.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "common/logFile.h"
#include "common/osClassification.h"

namespace {

// Shell results up to this value are errors.
const uintptr_t LAST_SHELL_ERROR = 32;
// Flash Player 8 and later installers refuse Windows NT.
const int32_t FIRST_MAJOR_WITHOUT_NT = 8;

bool isBlank(char c) { return c > 0 && c <= ' '; }

// Items separated by commas or white space; a double-quoted part is one item.
std::vector<std::string> splitItems(const std::string &text) {
  std::vector<std::string> items;
  size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  while (at < text.size()) {
    std::string item;
    if (text[at] == '"') {
      const size_t close = text.find('"', at + 1);
      const size_t end = close == std::string::npos ? text.size() : close;
      item = text.substr(at + 1, end - at - 1);
      at = end + 1;
    } else {
      const size_t end = text.find_first_of(", \t\r\n", at);
      item = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
      at = end == std::string::npos ? text.size() : end;
    }
    items.push_back(item);
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at < text.size() && text[at] == ',') {
      ++at;
      while (at < text.size() && isBlank(text[at])) ++at;
    }
  }
  return items;
}

bool parseDecimal(const std::string &item, int32_t &value) {
  if (item.empty()) return false;
  char *end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(item.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

const char *logLineFor(FlashPlayerAction action) {
  switch (action) {
    case FlashPlayerAction::majorUpdate:
      return "==== major version update ====";
    case FlashPlayerAction::minorUpdate:
      return "==== minor version update ====";
    case FlashPlayerAction::cleanInstall:
      return "==== do clean install ====";
    case FlashPlayerAction::tellUserToGetPlayer:
      return "==== tell user to download and install player ====";
    case FlashPlayerAction::nothingToDo:
      break;
  }
  return nullptr;
}

}  // namespace

bool parseFlashVersionString(const std::string &text, int32_t &major, int32_t &revision) {
  const std::vector<std::string> items = splitItems(text);
  return items.size() >= 4 && parseDecimal(items[1], major) && parseDecimal(items[3], revision);
}

FlashPlayerAction chooseFlashPlayerAction(const FlashPlayerVersion &installed, bool carriesInstaller,
                                          int32_t requiredMajor, int32_t requiredRevision) {
  if (!installed.found)
    return carriesInstaller ? FlashPlayerAction::cleanInstall : FlashPlayerAction::tellUserToGetPlayer;
  if (requiredMajor > installed.major) return FlashPlayerAction::majorUpdate;
  // A zero revision (a probe that could not tell) never asks for an update.
  if (requiredMajor == installed.major && installed.revision != 0 && requiredRevision > installed.revision)
    return FlashPlayerAction::minorUpdate;
  return FlashPlayerAction::nothingToDo;
}

int32_t flashInstallerSystemStatus(int32_t operatingSystem, int32_t requiredMajor) {
  return operatingSystem == OS_WINDOWS_NT && requiredMajor >= FIRST_MAJOR_WITHOUT_NT
             ? FLASH_INSTALLER_NOT_FOR_NT
             : 0;
}

std::string flashInstallerParameters(const std::string &name, bool silent) {
  if (!silent) return std::string();
  return isKnownFlashInstallerName(name) ? "/s" : "/Q";
}

int32_t shellStartStatus(uintptr_t shellResult) {
  if (shellResult > LAST_SHELL_ERROR) return 0;
  if (shellResult == 0) return STATUS_OUT_OF_MEMORY;
  return static_cast<int32_t>(shellResult);
}

int32_t decideFlashPlayerAction(FlashPlayerDecision &decision, const FlashPlayerSteps &steps) {
  TraceScope trace("decideFlashPlayerAction");
  int32_t status = 0;
  decision.installed = steps.getFlashPlayerVersion(INSTALLER_FLASH_PROBES);
  if (decision.carriesFlashInstaller) {
    const uint8_t index = decision.flashInstallerVersionIndex;
    logLine("flashAXInstallerVersion Installer Flag: " + std::to_string(index));
    if (index < CARRIED_FLASH_INSTALLER_COUNT) {
      decision.requiredFlashMajor = CarriedFlashInstallerVersions[index].major;
      decision.requiredFlashRevision = CarriedFlashInstallerVersions[index].revision;
      logLine("Flash AX In Installer: " + std::to_string(decision.requiredFlashMajor) + " " +
              std::to_string(decision.requiredFlashRevision));
    } else {
      status = STATUS_INVALID_HEADER;
    }
  }
  if (status == 0) status = steps.verifyFlashAXInstallerCanRunOnThisMachine(decision.requiredFlashMajor);
  if (status == 0 && decision.carriesFlashInstaller) {
    logLine("carrying Flash PlugIn = true");
    status = steps.extractFlashInstaller();
  }
  if (status == 0) {
    const FlashPlayerAction action =
        chooseFlashPlayerAction(decision.installed, decision.carriesFlashInstaller,
                                decision.requiredFlashMajor, decision.requiredFlashRevision);
    if (const char *line = logLineFor(action)) logLine(line);
    if (action == FlashPlayerAction::tellUserToGetPlayer)
      status = FLASH_PLAYER_NOT_FOUND;
    else
      decision.flashUpdateNeeded = action != FlashPlayerAction::nothingToDo;
  }
  if (status == 0 && decision.flashUpdateNeeded) {
    status = steps.handleFlashActiveXControlUpdate(decision.flashInstallerName);
    if (status == FLASH_PLAYER_NOT_FOUND) {
      status = FLASH_PLAYER_INSTALL_FAILED;
      steps.moveInstallerWindowOffScreen();
    }
  }
  return trace.result(status);
}
