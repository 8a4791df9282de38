#include "launcher/readMeCommand.h"

#include <shellapi.h>

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "launcher/launcherRules.h"

// A link could lead the viewer to any file of the user's.
static bool isPlainFile(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

int32_t openReadMe(HWND owner, const std::string &commandText) {
  TraceScope trace("openReadMe", commandText);
  std::string path;
  if (readMeToOpen(commandText, pathCommonAppData, path) != STATUS_OK)
    return trace.result(STATUS_UNSAFE_NAME);
  if (!isPlainFile(path)) return trace.result(STATUS_NOT_DONE);
  const HINSTANCE opened =
      ShellExecuteA(owner, "open", path.c_str(), nullptr, folderOfFile(path).c_str(), SW_SHOWNORMAL);
  const bool done = reinterpret_cast<intptr_t>(opened) > 32;
  return trace.result(done ? STATUS_OK : STATUS_NOT_DONE);
}
