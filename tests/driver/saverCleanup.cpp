// Where an installation puts a screen saver on this machine, and how a test
// takes one away again after it failed half way.
#include "testDriver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <system_error>

#include "package/installedSaver.h"

namespace driver {

std::string specialFolder(int csidl) {
  char folder[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, folder);
  return std::string(folder) + "\\";
}

std::string systemFolder() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\";
}

std::string sysnativeFolder() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? specialFolder(CSIDL_WINDOWS) + "Sysnative\\"
                                                              : "";
}

std::string sharedSaverFolder() { return specialFolder(CSIDL_COMMON_APPDATA) + "Lumavane\\"; }

void removeInstalledSaver(const InstalledSaver &saver) {
  std::error_code ignored;
  std::filesystem::remove_all(saverFolderOf(sharedSaverFolder(), saver.codedName), ignored);
  const std::string program = saverProgramName(saver.codedName);
  DeleteFileA((systemFolder() + program).c_str());
  if (!sysnativeFolder().empty()) DeleteFileA((sysnativeFolder() + program).c_str());
  for (const std::string &file : saver.sharedFiles) DeleteFileA((sharedSaverFolder() + file).c_str());
  const std::string uninstallKey = uninstallKeyPath(saver.uninstallTitle);
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, uninstallKey.c_str());
  SHDeleteKeyA(HKEY_CURRENT_USER, uninstallKey.c_str());
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
  SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
}

bool pathExists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string registryText(HKEY root, const std::string &key, const char *name) {
  char text[MAX_PATH] = "";
  DWORD size = sizeof text;
  return SHGetValueA(root, key.c_str(), name, nullptr, text, &size) == ERROR_SUCCESS ? text : "";
}

void removeWorkFoldersOfEndedRuns() {
  std::error_code ignored;
  for (const std::string &parent : {specialFolder(CSIDL_LOCAL_APPDATA) + "Lumavane\\", sharedSaverFolder()})
    for (const auto &item : std::filesystem::directory_iterator(parent, ignored))
      if (item.is_directory(ignored) && std::filesystem::exists(item.path() / "run.lock", ignored))
        std::filesystem::remove_all(item.path(), ignored);
}

}  // namespace driver
