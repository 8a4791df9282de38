#include "common/elevatedCopy.h"

#include <windows.h>
#include <shellapi.h>

#include "common/logFile.h"

int32_t runElevatedCopy(const std::string &program, const std::string &parameters, bool silent) {
  TraceScope trace("runElevatedCopy", parameters);
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | (silent ? SEE_MASK_FLAG_NO_UI : 0);
  execute.lpVerb = "runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = parameters.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&execute) || execute.hProcess == nullptr) {
    const DWORD error = GetLastError();
    return trace.result(error != 0 ? static_cast<int32_t>(error) : ERROR_CANCELLED);
  }
  WaitForSingleObject(execute.hProcess, INFINITE);
  DWORD exitCode = 0;
  const bool ended = GetExitCodeProcess(execute.hProcess, &exitCode) != FALSE;
  CloseHandle(execute.hProcess);
  return trace.result(ended ? static_cast<int32_t>(exitCode) : static_cast<int32_t>(GetLastError()));
}
