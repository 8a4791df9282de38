// Where an installation puts a screen saver on this machine, and how a test
// takes one away again after it failed half way.
#include "testDriver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <system_error>

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
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? specialFolder(CSIDL_WINDOWS) + "Sysnative\\" : "";
}

std::string sharedSaverFolder() { return specialFolder(CSIDL_COMMON_APPDATA) + "Lumavane\\"; }

void removeInstalledSaver(const InstalledSaver &saver) {
  std::error_code ignored;
  std::filesystem::remove_all(sharedSaverFolder() + saver.codedName, ignored);
  DeleteFileA((systemFolder() + saver.program).c_str());
  if (!sysnativeFolder().empty()) DeleteFileA((sysnativeFolder() + saver.program).c_str());
  for (const std::string &file : saver.sharedFiles) DeleteFileA((sharedSaverFolder() + file).c_str());
  const std::string uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + saver.uninstallTitle;
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, uninstallKey.c_str());
  SHDeleteKeyA(HKEY_CURRENT_USER, uninstallKey.c_str());
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
  SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
}

}  // namespace driver
