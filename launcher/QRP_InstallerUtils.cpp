#include "launcher/QRP_InstallerUtils.h"

#include <shellapi.h>

#include <vector>

#include "common/unicodeText.h"
#include "common/QRX_FileUtils.h"
#include "common/dialogs/systemErrorText.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/programSize.h"
#include "common/runningProgram.h"
#include "common/signatureFields.h"
#include "common/workFolder.h"
#include "launcher/launcherReport.h"
#include "launcher/launcherRules.h"
#include "launcher/launcherTexts.h"
#include "launcher/SenderMain.h"

SAVER_PROGRAM_SIZE_MARK(LAUNCHER_SIZE_IN_BYTES);

LauncherRun launcherRun;

namespace {

const DWORD COPY_CHUNK_BYTES = 1 << 20;
// The copy's buffer: static, so that a large block needs no allocation.
char copyChunk[COPY_CHUNK_BYTES];
// How long the clean-up waits for an installer that has asked to close.
const DWORD INSTALLER_END_WAIT_MS = 30000;

// A failed system call as a positive error code; never 0, which would read
// as success.
int32_t lastIoError() {
  DWORD code = GetLastError();
  return code != 0 ? static_cast<int32_t>(code) : ERROR_GEN_FAILURE;
}

// Copies count bytes from source to target in chunks, so that a large
// appended part needs no buffer of its size. A positive result is an
// input/output error code.
int32_t copyBytes(HANDLE source, HANDLE target, int64_t count) {
  while (count > 0) {
    DWORD wanted = count < COPY_CHUNK_BYTES ? static_cast<DWORD>(count) : COPY_CHUNK_BYTES;
    DWORD got = 0, written = 0;
    if (!ReadFile(source, copyChunk, wanted, &got, nullptr)) return lastIoError();
    if (got < wanted) return STATUS_SHORT_READ;
    if (!WriteFile(target, copyChunk, got, &written, nullptr)) return lastIoError();
    if (written != got) return STATUS_SHORT_WRITE;
    count -= got;
  }
  return 0;
}

// Where the installer file ends in the launcher's file: at the launcher's
// certificate table when the launcher is signed, so that the copy is the
// installer file byte for byte and its own signature still verifies.
int32_t installerEnd(HANDLE source, int64_t imageEnd, int64_t fileSize, int64_t &end) {
  uint8_t header[SIGNATURE_HEADER_BYTES];
  DWORD got = 0;
  if (!ReadFile(source, header, sizeof header, &got, nullptr)) return lastIoError();
  SignatureFields fields;
  end = appendedDataEnd(readSignatureFields(header, got, fields) ? &fields : nullptr, imageEnd, fileSize);
  return 0;
}

// The installer bytes behind the launcher image into the copy. A positive
// result is an input/output error code.
int32_t copyAppendedInstaller() {
  HANDLE source = CreateFileA(launcherRun.launcherFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) return lastIoError();
  int32_t status = 0;
  LARGE_INTEGER fileSize, imageEnd;
  imageEnd.QuadPart = programSizeOf(LAUNCHER_SIZE_IN_BYTES);
  int64_t end = 0;
  if (!GetFileSizeEx(source, &fileSize)) status = lastIoError();
  if (status == 0) status = installerEnd(source, imageEnd.QuadPart, fileSize.QuadPart, end);
  int64_t count = status == 0 ? end - imageEnd.QuadPart : 0;
  logLine("bytes to read: " + std::to_string(count));
  if (status == 0 && count <= 0) status = STATUS_NOTHING_APPENDED;
  if (status == 0 && !SetFilePointerEx(source, imageEnd, nullptr, FILE_BEGIN)) status = lastIoError();
  if (status == 0) {
    HANDLE target = CreateFileA(launcherRun.installerCopy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
      status = lastIoError();
    } else {
      status = copyBytes(source, target, count);
      if (!CloseHandle(target) && status == 0) status = lastIoError();
    }
  }
  CloseHandle(source);
  return status;
}

// The copy is started by its full path, so that the shell cannot pick a file
// of the same name from anywhere else, such as the launcher itself.
int32_t startInstallerCopy(HWND mainWindow) {
  InstallerLaunchPlan plan =
      planInstallerLaunch(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(mainWindow)),
                          commandLineParameters(), launcherRun.log.path());
  for (const std::string &line : plan.traceLines) addTraceLine(line);
  launcherRun.log.write("starting the installer " + launcherRun.installerCopy + " " + plan.parameters);
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // our own box tells a failure
  execute.lpFile = launcherRun.installerCopy.c_str();
  execute.lpParameters = plan.parameters.c_str();
  execute.lpDirectory = pathWorkFolder.c_str();
  execute.nShow = plan.hidden ? SW_HIDE : plan.minimised ? SW_MINIMIZE : SW_SHOWNORMAL;
  const bool started = ShellExecuteExA(&execute) != FALSE;
  int32_t shellResult = static_cast<int32_t>(reinterpret_cast<intptr_t>(execute.hInstApp));
  if (!started && shellResult > 32) shellResult = 0;  // a failure never reads as a start
  launcherRun.installerProcess = started ? execute.hProcess : nullptr;
  addTraceLine("installer sublaunched: " + std::to_string(shellResult));
  // Nobody would ever ask a launcher whose installer did not start to close.
  if (shellResult <= 32) {
    reportLauncherError(STATUS_INSTALLER_NOT_STARTED, launcherRun.installerCopy,
                        installerNotStartedMessage(shellResult, programText));
    return STATUS_INSTALLER_NOT_STARTED;
  }
  return 0;
}

std::string ownProgramPath() {
  char path[MAX_PATH + 1] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);  // the last byte stays NUL even when cut short
  return path;
}

}  // namespace

void setInstallerCopyPaths(const std::string &launcherFile) {
  launcherRun.launcherFile = launcherFile;
  launcherRun.installerCopy = pathWorkFolder + fileNamePart(launcherFile);
}

int32_t extractInstallerToInstallerTempFile() {
  TraceScope trace("extractInstallerToInstallerTempFile");
  int32_t status = 0;
  if (GetFileAttributesA(launcherRun.installerCopy.c_str()) != INVALID_FILE_ATTRIBUTES) {
    status = deleteFileWithRetries(launcherRun.installerCopy, 1000);
  }
  if (status == 0) status = copyAppendedInstaller();
  if (status > 0) {
    reportLauncherError(status, launcherRun.installerCopy,
                        extractionIoErrorMessage(utf8FromAnsi(fileNamePart(launcherRun.installerCopy)),
                                                 systemErrorText(status), programText));
    status = negatedIoCode(status);
  }
  if (status != 0) reportLauncherInstallError(status, launcherRun.installerCopy);
  return trace.result(status);
}

int32_t initInInstallerMode(HWND mainWindow) {
  TraceScope trace("initInInstallerMode");
  launcherRun.controlPanelTitles = loadControlPanelTitles(detectLanguageIndex());
  const std::string launcherFile = ownProgramPath();
  int32_t status = initSystemPaths(launcherFile);
  if (status == 0) setInstallerCopyPaths(launcherFile);
  if (status == 0) launcherRun.log.write("extracting the installer to " + launcherRun.installerCopy);
  if (status == 0) status = extractInstallerToInstallerTempFile();
  if (status == 0) {
    status = startInstallerCopy(mainWindow);
  } else {
    reportLauncherError(status, "", corruptInstallerMessage(status, programText));
  }
  launcherRun.exitStatus = status;
  return trace.result(status);
}

HANDLE runningInstaller() { return launcherRun.installerProcess; }

int32_t launcherExitStatus() { return launcherRun.exitStatus; }

// The installer posts its close message while it is still ending, and the
// file of a running program cannot be deleted. Messages the installer sends
// on its way out are handled meanwhile, so that it never waits on us.
static void waitForInstallerEnd() {
  if (launcherRun.installerProcess == nullptr) return;
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < INSTALLER_END_WAIT_MS; waited = GetTickCount() - start) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &launcherRun.installerProcess, FALSE,
                                                  INSTALLER_END_WAIT_MS - waited, QS_SENDMESSAGE);
    if (woken != WAIT_OBJECT_0 + 1) break;  // ended, out of time, or no longer waitable
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  // An installer still running after the wait leaves the status as it is.
  DWORD installerExit = 0;
  if (GetExitCodeProcess(launcherRun.installerProcess, &installerExit) && installerExit != STILL_ACTIVE) {
    launcherRun.exitStatus = static_cast<int32_t>(installerExit);
    launcherRun.log.write("the installer ended with exit code " + std::to_string(launcherRun.exitStatus));
  }
  CloseHandle(launcherRun.installerProcess);
  launcherRun.installerProcess = nullptr;
}

void removeInstallerCopy() {
  waitForInstallerEnd();
  const std::string folder = folderOfFile(launcherRun.installerCopy);
  if (folder.empty()) return;
  releaseWorkFolder(folder);
  for (int round = 0; round < 100 && GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
       ++round) {
    deleteFileForced(launcherRun.installerCopy);
    deleteFileForced(folder + PACKAGE_COPY_NAME);
    RemoveDirectoryA(folder.c_str());
  }
}
