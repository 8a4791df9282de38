#include "examples/sample/saverCommandLine.h"

#include <cctype>
#include <vector>

namespace {

bool isSwitch(const std::string &token) {
  return token.size() >= 2 && (token[0] == '/' || token[0] == '-');
}

// A window handle in decimal; 0 for anything else.
uintptr_t windowNumber(const std::string &text) {
  if (text.empty() || text.size() > 20) return 0;
  uintptr_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    value = value * 10 + uintptr_t(c - '0');
  }
  return value;
}

SaverMode modeOf(char letter) {
  switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'c':
      return SaverMode::Configure;
    case 's':
      return SaverMode::FullScreen;
    case 'p':
      return SaverMode::Preview;
    case 'u':
      return SaverMode::Uninstall;
    default:
      return SaverMode::Ignored;
  }
}

}  // namespace

SaverCommand parseSaverCommand(const std::string &arguments) {
  std::vector<std::string> tokens;
  size_t at = 0;
  while ((at = arguments.find_first_not_of(" \t", at)) != std::string::npos) {
    const size_t end = arguments.find_first_of(" \t", at);
    tokens.push_back(arguments.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }

  SaverCommand command;
  bool modeChosen = false;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const std::string &token = tokens[i];
    if (!isSwitch(token)) continue;
    if (std::tolower(static_cast<unsigned char>(token[1])) == 'q' && token.size() == 2) {
      command.quiet = true;
      continue;
    }
    if (modeChosen) continue;
    modeChosen = true;
    command.mode = modeOf(token[1]);
    // The window follows a ":" or stands in the next word.
    if (token.size() > 2 && token[2] == ':')
      command.window = windowNumber(token.substr(3));
    else if (token.size() == 2 && i + 1 < tokens.size() && !isSwitch(tokens[i + 1]))
      command.window = windowNumber(tokens[i + 1]);
  }
  return command;
}
