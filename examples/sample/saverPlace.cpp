#include "examples/sample/saverPlace.h"

#include "common/QRX_FileUtils.h"
#include "common/pathRules.h"
#include "common/runningProgram.h"
#include "common/saverScope.h"
#include "examples/sample/slideRules.h"
#include "package/codedShortName.h"
#include "package/dataStructures_shared.h"
#include "package/installedSaver.h"

#include <windows.h>

#include <algorithm>

static const int PICTURE_FOLDER_DEPTH = 8;

int32_t locateSaver(SaverPlace &place) {
  place.programPath = runningProgramPath();
  place.codedName = codedNameOfProgram(place.programPath);
  if (!isSafeEntryName(place.codedName) ||
      getCodedShortFilenameForScreensaver(place.codedName) != place.codedName)
    return STATUS_UNSAFE_NAME;
  const int32_t status = initInstalledSaverPaths(place.programPath);
  if (status == STATUS_OK) place.saverFolder = saverFolderOf(pathCommonAppData, place.codedName);
  return status;
}

SampleSettings readSampleSettings(const std::string &saverFolder) {
  std::vector<uint8_t> record;
  if (saverFolder.empty()) return sampleSettingsOf(record);
  HANDLE file = CreateFileA((saverFolder + SAVER_SETTINGS_FILE).c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return sampleSettingsOf(record);
  // Only a file of exactly one record is read at all.
  DWORD read = 0;
  if (GetFileSize(file, nullptr) == sizeof(SaverSettings)) {
    record.resize(sizeof(SaverSettings));
    if (!ReadFile(file, record.data(), sizeof(SaverSettings), &read, nullptr) || read != record.size())
      record.clear();
  }
  CloseHandle(file);
  return sampleSettingsOf(record);
}

static void collectPictures(const std::string &folder, int depth, size_t limit,
                            std::vector<std::string> &pictures) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      const std::string subfolder = subfolderEntryPath(folder, name);
      if (!link && subfolder != folder && depth < PICTURE_FOLDER_DEPTH)
        collectPictures(subfolder, depth + 1, limit, pictures);
    } else if (isPictureFileName(name)) {
      pictures.push_back(folder + name);
    }
  } while (pictures.size() < limit && FindNextFileA(search, &entry));
  FindClose(search);
}

std::vector<std::string> findPictures(const std::string &folder, size_t limit) {
  std::vector<std::string> pictures;
  if (!folder.empty()) collectPictures(folder, 0, limit, pictures);
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}
