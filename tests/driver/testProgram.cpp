// Starting, attaching to and waiting for the programs under test.
#include "testDriver.h"

#include <vector>

namespace driver {

TestProgram::~TestProgram() {
  terminate();
  release();
}

void TestProgram::release() {
  if (process_) CloseHandle(process_);
  process_ = nullptr;
  processId_ = 0;
}

bool TestProgram::start(const std::string &commandLine, const std::string &workingFolder) {
  terminate();
  release();
  // CreateProcess may write into the command line, so it gets its own copy.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &started))
    return false;
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  processId_ = started.dwProcessId;
  return true;
}

bool TestProgram::attach(DWORD processId) {
  terminate();
  release();
  process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
  if (!process_) return false;
  processId_ = processId;
  return true;
}

bool TestProgram::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool TestProgram::waitForExit(DWORD timeoutMs, DWORD *exitCode) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return false;
  if (exitCode) *exitCode = code;
  return true;
}

void TestProgram::terminate() {
  if (!running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

std::string windowsPathOf(const std::string &hostPath) {
  if (hostPath.empty() || hostPath[0] != '/') return hostPath;
  std::string path = "Z:" + hostPath;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace driver
