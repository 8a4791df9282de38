#include "uninstaller/uninstallerTexts.h"

static std::string listed(const std::vector<std::string> &items) {
  std::string text;
  for (const std::string &item : items) text += "\r\n" + item;
  return text;
}

std::string removeQuestion(const std::string &displayName) { return "Remove " + displayName + "?"; }

std::string nothingToRemoveText(const std::string &codedName) {
  return "There is nothing to remove: the screen saver " + codedName +
         " is not installed on this computer. Nothing was changed.";
}

std::string badCommandText(const std::string &commandLine) {
  return "This program removes an installed screen saver; it is started by the list of installed "
         "programs. It cannot act on the command \"" +
         commandLine + "\". Nothing was changed.";
}

std::string removedText(const std::string &displayName, const RemovalOutcome &outcome) {
  return displayName + " has been removed from this computer.\r\n\r\nRemoved:" + listed(outcome.removed);
}

std::string incompleteText(const std::string &displayName, const RemovalOutcome &outcome,
                           const std::string &reason) {
  std::string text = displayName +
                     " could not be removed completely.\r\n\r\nStill in place: " + outcome.stayed + "\r\n" +
                     reason + "\r\n\r\nPlease close the screen saver control panel and try again.";
  if (!outcome.removed.empty()) text += "\r\n\r\nRemoved:" + listed(outcome.removed);
  return text;
}
