#include "uninstaller/uninstallerTexts.h"

static const char PARAGRAPH[] = "\r\n\r\n";

static std::string removedList(const RemovalOutcome &outcome, TextLookup text) {
  std::string lines;
  for (const std::string &item : outcome.removed) lines += "\r\n" + item;
  return expandText(text(IDS_REMOVED_LIST), {lines});
}

std::string removeQuestion(const std::string &displayName, TextLookup text) {
  return expandText(text(IDS_REMOVE_QUESTION), {displayName});
}

std::string nothingToRemoveText(const std::string &codedName, TextLookup text) {
  return expandText(text(IDS_NOTHING_TO_REMOVE), {codedName});
}

std::string badCommandText(const std::string &commandLine, TextLookup text) {
  return expandText(text(IDS_BAD_COMMAND), {commandLine});
}

std::string removedText(const std::string &displayName, const RemovalOutcome &outcome, TextLookup text) {
  return expandText(text(IDS_REMOVED), {displayName}) + PARAGRAPH + removedList(outcome, text);
}

std::string incompleteText(const std::string &displayName, const RemovalOutcome &outcome,
                           const std::string &reason, TextLookup text) {
  std::string message = expandText(text(IDS_INCOMPLETE), {displayName, outcome.stayed, reason});
  if (!outcome.removed.empty()) message += PARAGRAPH + removedList(outcome, text);
  return message;
}

std::string reasonText(int32_t status, const std::string &systemText, TextLookup text) {
  return systemText.empty() ? expandText(text(IDS_ERROR_NUMBER), {std::to_string(status)}) : systemText;
}
