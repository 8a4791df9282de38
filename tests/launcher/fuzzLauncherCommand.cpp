// Any bytes a window may send the launcher as WM_COPYDATA, and any "/l="
// parameter the installer may be given: read only within their size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "installer/launcherHandleParameter.h"
#include "launcher/launcherRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string command = commandTextFromCopyData(data, static_cast<uint32_t>(size));
  if (classifyCommand(command) == LauncherCommand::MakeActiveSaver) {
    std::string name;
    if (activeSaverFileName(command, name) == 0 && name.find_first_of("\\/:") != std::string::npos)
      __builtin_trap();
  }
  launcherHandleFromParameters({"/l=" + std::string(reinterpret_cast<const char *>(data), size)});
  return 0;
}
