#include "installer/keptVersion.h"

#include "common/QRX_FileUtils.h"
#include "common/adminFolder.h"
#include "common/logFile.h"
#include "common/statusCodes.h"
#include "common/workFolder.h"

namespace {

const char KEEP_FOLDER_PREFIX[] = "QRK";
const char JOURNAL_FILE[] = "journal";
// A journal lists a few paths and one entry's values; a larger file is
// none of ours.
const DWORD LARGEST_JOURNAL = 1 << 20;

HKEY entryRoot(const RollbackJournal &journal) {
  return journal.machineEntry ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::string withoutTrailingBackslash(const std::string &path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

int32_t lastError() { return static_cast<int32_t>(GetLastError()); }

// Every value of the key; false when one cannot be read.
bool readValues(HKEY root, const std::string &keyPath, std::vector<KeptValue> &values) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD count = 0, longestName = 0, longestData = 0;
  bool read = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                               &longestName, &longestData, nullptr, nullptr) == ERROR_SUCCESS;
  std::string name(longestName + 1, '\0'), data(longestData + 1, '\0');
  for (DWORD index = 0; read && index < count; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()),
          type = 0;
    read = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                         reinterpret_cast<BYTE *>(data.data()), &dataLength) == ERROR_SUCCESS;
    if (read) values.push_back({name.substr(0, nameLength), type, data.substr(0, dataLength)});
  }
  RegCloseKey(key);
  return read;
}

// The entry as it was: the values the new install wrote go, the kept ones
// come back.
int32_t restoreEntry(const RollbackJournal &journal) {
  if (journal.entryKey.empty()) return STATUS_OK;
  HKEY key;
  LONG result =
      RegCreateKeyExA(entryRoot(journal), journal.entryKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return result;
  // Each value the key holds now goes, the first one each time.
  char name[16384];
  DWORD length = sizeof name;
  while (result == ERROR_SUCCESS &&
         RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    result = RegDeleteValueA(key, name);
    length = sizeof name;
  }
  for (size_t i = 0; i < journal.values.size() && result == ERROR_SUCCESS; ++i) {
    const KeptValue &value = journal.values[i];
    result = RegSetValueExA(key, value.name.c_str(), 0, value.type,
                            reinterpret_cast<const BYTE *>(value.data.data()),
                            static_cast<DWORD>(value.data.size()));
  }
  RegCloseKey(key);
  return result;
}

int32_t moveAside(const KeptMove &move) {
  const std::string original = withoutTrailingBackslash(move.original);
  if (!pathExists(original)) return STATUS_OK;
  if (MoveFileExA(original.c_str(), withoutTrailingBackslash(move.kept).c_str(), MOVEFILE_COPY_ALLOWED))
    return STATUS_OK;
  return lastError();
}

// A file others may be using, such as a shared library, stays in place
// until the install writes over it; its copy waits in the keep folder. One
// that another program holds without letting it be read is busy: the
// install leaves it as it is, so there is nothing to keep.
int32_t copyAside(const KeptMove &copy) {
  if (!pathExists(copy.original)) return STATUS_OK;
  if (CopyFileA(copy.original.c_str(), copy.kept.c_str(), TRUE)) return STATUS_OK;
  const int32_t error = lastError();
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return STATUS_OK;
  return error;
}

// What the new install placed goes first, links removed and never
// followed. A kept path that is gone was never moved, or is back already.
int32_t putBack(const KeptMove &move) {
  const std::string kept = withoutTrailingBackslash(move.kept);
  if (!pathExists(kept)) return STATUS_OK;
  const bool folder = move.original.back() == '\\';
  int32_t status = folder ? deleteFolderTree(move.original) : deleteFileForced(move.original);
  if (status == STATUS_OK &&
      !MoveFileExA(kept.c_str(), withoutTrailingBackslash(move.original).c_str(), MOVEFILE_COPY_ALLOWED))
    status = lastError();
  return status;
}

// Last moved, first back; the entry after the files.
int32_t rollBack(const RollbackJournal &journal) {
  int32_t status = STATUS_OK;
  for (auto move = journal.moves.rbegin(); move != journal.moves.rend() && status == STATUS_OK; ++move)
    status = putBack(*move);
  if (status == STATUS_OK) status = restoreEntry(journal);
  return status;
}

// The journal goes first: without it, what is left of the folder is
// nobody's.
void removeKeepFolder(const std::string &folder) {
  deleteFileForced(folder + JOURNAL_FILE);
  deleteFolderTree(folder);
}

bool holdsOnlyJournal(const std::string &folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool only = true;
  do {
    const std::string name = entry.cFileName;
    only = name == "." || name == ".." || name == JOURNAL_FILE;
  } while (only && FindNextFileA(search, &entry));
  FindClose(search);
  return only;
}

// The whole text, through the handle that keeps another run from rolling
// the same journal back meanwhile; false when it cannot be read.
bool readLeftOverJournal(HANDLE file, std::string &text) {
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE || size > LARGEST_JOURNAL) return false;
  text.assign(size, '\0');
  DWORD got = 0;
  return size == 0 || (ReadFile(file, text.data(), size, &got, nullptr) && got == size);
}

void finishInterrupted(const std::string &folder) {
  TraceScope trace("finishInterrupted", folder);
  const HANDLE file = CreateFileA((folder + JOURNAL_FILE).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // Without a journal the kept version was done with, or nothing was
    // moved yet; a running install holds its own.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) deleteFolderTree(folder);
    return;
  }
  std::string text;
  RollbackJournal journal;
  const JournalReading reading =
      readLeftOverJournal(file, text) ? readJournal(text, journal) : JournalReading::damaged;
  int32_t status = STATUS_NOT_DONE;
  if (reading == JournalReading::complete) status = rollBack(journal);
  CloseHandle(file);
  // What a journal that cannot be read kept stays for an administrator;
  // one cut short was written before anything was moved.
  if (status == STATUS_OK || holdsOnlyJournal(folder)) removeKeepFolder(folder);
  trace.result(status);
}

}  // namespace

KeptVersion::~KeptVersion() {
  if (journal_ != INVALID_HANDLE_VALUE) CloseHandle(journal_);
}

int32_t KeptVersion::keep(const InstallPlan &plan, bool machineEntry, std::string &failedPath) {
  TraceScope trace("KeptVersion::keep", plan.saverName);
  replacing_ = true;
  record_.machineEntry = machineEntry;
  record_.entryKey = plan.uninstallKey;
  failedPath = plan.uninstallKey;
  if (!readValues(entryRoot(record_), record_.entryKey, record_.values))
    return trace.result(STATUS_NOT_DONE);
  failedPath = pathCommonAppData;
  int32_t status = createRandomAdminFolder(pathCommonAppData, KEEP_FOLDER_PREFIX, folder_);
  const EntryTarget &program = plan.entries[ENTRY_SAVER_PROGRAM];
  const std::string originals[] = {plan.folders.saver, program.status == STATUS_OK ? program.path : "",
                                   program.nativeCopy};
  for (const std::string &original : originals) {
    if (original.empty()) continue;
    const std::string kept = folder_ + std::to_string(record_.moves.size());
    record_.moves.push_back({original, original.back() == '\\' ? kept + '\\' : kept});
  }
  // Copied, not moved; put back alike.
  const size_t movedCount = record_.moves.size();
  for (const std::string &file : plan.filesOutsideSaverFolder)
    record_.moves.push_back({file, folder_ + std::to_string(record_.moves.size())});
  if (status == STATUS_OK) status = writeJournal();
  if (status != STATUS_OK) failedPath = folder_ + JOURNAL_FILE;
  for (size_t i = 0; i < record_.moves.size() && status == STATUS_OK; ++i) {
    status = i < movedCount ? moveAside(record_.moves[i]) : copyAside(record_.moves[i]);
    if (status != STATUS_OK) failedPath = record_.moves[i].original;
  }
  return trace.result(status);
}

// Written whole and flushed before the first move, and held open, readable
// only, until the install's end.
int32_t KeptVersion::writeJournal() {
  journal_ = CreateFileA((folder_ + JOURNAL_FILE).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (journal_ == INVALID_HANDLE_VALUE) return lastError();
  const std::string text = journalText(record_);
  DWORD written = 0;
  if (!WriteFile(journal_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      !FlushFileBuffers(journal_))
    return lastError();
  return written == text.size() ? STATUS_OK : STATUS_SHORT_WRITE;
}

void KeptVersion::end(bool installed) {
  if (folder_.empty()) return;
  TraceScope trace("KeptVersion::end", installed ? "installed" : "rolled back");
  const int32_t status = installed || journal_ == INVALID_HANDLE_VALUE ? STATUS_OK : rollBack(record_);
  CloseHandle(journal_);
  journal_ = INVALID_HANDLE_VALUE;
  // A roll-back that stopped keeps its journal: the next run finishes it.
  if (status == STATUS_OK) removeKeepFolder(folder_);
  folder_.clear();
  trace.result(status);
}

void finishInterruptedReplacements() {
  if (pathCommonAppData.empty()) return;
  for (const std::string &folder : foldersNamedBelow(pathCommonAppData, KEEP_FOLDER_PREFIX))
    finishInterrupted(folder);
}
