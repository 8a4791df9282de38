// A listing of what an installation may change, to compare a machine before
// an install with the same machine after the uninstall.
#include "testDriver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "package/installedSaver.h"

namespace driver {

namespace {

const char SESSION_MANAGER[] = "System\\CurrentControlSet\\Control\\Session Manager";

// Every path below folder. The launcher's own folder of work folders stays by
// design, and temporary files come and go with Wine itself: both are left out.
void listTree(const std::string &folder, std::set<std::string> &listing) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName, path = folder + name;
    if (name == "." || name == ".." || path == specialFolder(CSIDL_LOCAL_APPDATA) + "Lumavane" ||
        lstrcmpiA(name.c_str(), "Temp") == 0)
      continue;
    listing.insert(path);
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      listTree(path + "\\", listing);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

void listSubkeys(HKEY root, const char *key, const std::string &prefix, std::set<std::string> &listing) {
  HKEY list;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &list) != ERROR_SUCCESS) return;
  char name[256];
  for (DWORD i = 0, length = sizeof name;
       RegEnumKeyExA(list, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof name)
    listing.insert(prefix + name);
  RegCloseKey(list);
}

void listValues(HKEY root, const char *key, const std::string &prefix, std::set<std::string> &listing) {
  HKEY list;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &list) != ERROR_SUCCESS) return;
  char name[MAX_PATH];
  BYTE data[64] = {};
  DWORD type = 0;
  for (DWORD i = 0, length = sizeof name, size = sizeof data;
       RegEnumValueA(list, i, name, &length, nullptr, &type, data, &size) != ERROR_NO_MORE_ITEMS;
       ++i, length = sizeof name, size = sizeof data)
    listing.insert(prefix + name +
                   (type == REG_DWORD ? " = " + std::to_string(*reinterpret_cast<DWORD *>(data)) : ""));
  RegCloseKey(list);
}

}  // namespace

std::set<std::string> prefixListing() {
  std::set<std::string> listing;
  listTree("C:\\", listing);
  if (!sysnativeFolder().empty()) listTree(sysnativeFolder(), listing);
  listSubkeys(HKEY_LOCAL_MACHINE, UNINSTALL_LIST_KEY, "HKLM ", listing);
  listSubkeys(HKEY_CURRENT_USER, UNINSTALL_LIST_KEY, "HKCU ", listing);
  listValues(HKEY_LOCAL_MACHINE, SHARED_LIBRARY_COUNTS_KEY, "SharedDLLs ", listing);
  listing.insert("next start: " +
                 registryText(HKEY_LOCAL_MACHINE, SESSION_MANAGER, "PendingFileRenameOperations"));
  char inSystemIni[MAX_PATH] = "";
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", inSystemIni, sizeof inSystemIni, "system.ini");
  listing.insert(std::string("system.ini: ") + inSystemIni);
  listing.insert("desktop: " + registryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"));
  return listing;
}

std::string listingDifference(const std::set<std::string> &before, const std::set<std::string> &after) {
  std::string text;
  for (const std::string &line : before)
    if (!after.contains(line)) text += "  gone: " + line + "\n";
  for (const std::string &line : after)
    if (!before.contains(line)) text += "  new:  " + line + "\n";
  return text;
}

}  // namespace driver
