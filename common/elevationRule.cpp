#include "common/elevationRule.h"

#include "common/launcherProtocol.h"

#include <algorithm>

const char ELEVATED_COPY_SWITCH[] = "/elevated";

ElevationStep elevationStepFor(const ElevationFacts &facts) {
  if (!facts.forMachine || facts.elevated || facts.restarted) return ElevationStep::runHere;
  return ElevationStep::restartElevated;
}

bool isElevatedCopy(const std::vector<std::string> &parameters) {
  return std::ranges::any_of(parameters,
                             [](const std::string &each) { return isSwitch(each, ELEVATED_COPY_SWITCH); });
}

std::string elevatedCopyParameters(const std::vector<std::string> &parameters) {
  std::string line;
  for (const std::string &parameter : parameters) {
    if (!parameter.empty() && parameter.find(' ') == std::string::npos) {
      line += parameter + " ";
      continue;
    }
    // Backslashes before the closing quote are doubled, or they would escape it.
    const size_t backslashes = parameter.size() - (parameter.find_last_not_of('\\') + 1);
    line += "\"" + parameter + std::string(backslashes, '\\') + "\" ";
  }
  return line + ELEVATED_COPY_SWITCH;
}
