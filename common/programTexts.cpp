#include "common/programTexts.h"

std::string expandText(const std::string &pattern, std::initializer_list<std::string> arguments) {
  std::string text;
  const char *copied = pattern.data();
  const char *const end = copied + pattern.size();
  for (const char *at = copied; at + 1 < end; ++at) {
    const unsigned index = static_cast<unsigned char>(at[1]) - '1';
    // A placeholder without its argument stays visible rather than vanish.
    if (*at != '%' || index >= arguments.size() || index > 8) continue;
    text.append(copied, static_cast<size_t>(at - copied)).append(arguments.begin()[index]);
    copied = ++at + 1;
  }
  return text.append(copied, static_cast<size_t>(end - copied));
}
