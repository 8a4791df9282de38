#include "launcher/launcherCommands.h"

#include <cstring>

#include "common/launcherProtocol.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"

std::string commandTextFromCopyData(const void *data, uint32_t size) {
  if (data == nullptr) return std::string();
  const char *text = static_cast<const char *>(data);
  const void *terminator = std::memchr(text, '\0', size);
  size_t length = terminator ? static_cast<const char *>(terminator) - text : size;
  return std::string(text, length);
}

LauncherCommand classifyCommand(const std::string &text) {
  if (text.find("makeActiveSaver") != std::string::npos) return LauncherCommand::MakeActiveSaver;
  if (text == OPEN_CONTROL_PANEL_COMMAND) return LauncherCommand::OpenControlPanel;
  if (text == CLOSE_COMMAND) return LauncherCommand::Close;
  return LauncherCommand::None;
}

std::string saverFileNameFromCommand(const std::string &text) {
  const size_t prefixLength = std::strlen(MAKE_ACTIVE_SAVER_COMMAND);
  return text.size() > prefixLength ? text.substr(prefixLength) : std::string();
}

int32_t activeSaverFileName(const std::string &commandText, std::string &fileName) {
  fileName = saverFileNameFromCommand(commandText);
  return isSafeEntryName(fileName) ? STATUS_OK : STATUS_UNSAFE_NAME;
}
