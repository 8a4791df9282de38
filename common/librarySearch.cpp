#include "common/librarySearch.h"

namespace {

typedef BOOL(WINAPI *SetDefaultDllDirectoriesFunction)(DWORD);
typedef BOOL(WINAPI *SetDllDirectoryFunction)(LPCSTR);
const DWORD SEARCH_SYSTEM32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Libraries that Windows loads by name while the programs run, each beside
// the call that pulls it in. Loaded first from the system folder, they are
// found already mapped later, on systems without the restricted search too.
const char *const LIBRARIES_LOADED_BY_WINDOWS[] = {
    "uxtheme.dll",    // drawing the common controls of version 6 (the manifests)
    "dwmapi.dll",     // uxtheme, and window frames from Vista on
    "userenv.dll",    // SHGetFolderPath of the profile folders
    "apphelp.dll",    // ShellExecuteEx and CreateProcess, the compatibility check
    "propsys.dll",    // ShellExecuteEx from Vista on
    "clbcatq.dll",    // CoCreateInstance of the movie control, the class catalogue
    "version.dll",    // ShellExecuteEx, and our own reading of file versions
    "cryptbase.dll",  // SystemFunction036, the random names of the work folders
    "ntmarta.dll",    // SetFileSecurityA, the administrators-only folders
};

FARPROC kernelFunction(const char *name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }

}  // namespace

void restrictLibrarySearch() {
  // Both are looked up: Windows before 7 with its update lacks the first,
  // before XP SP1 the second.
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void *>(kernelFunction("SetDefaultDllDirectories")));
  if (setDefaultDllDirectories == nullptr || !setDefaultDllDirectories(SEARCH_SYSTEM32)) {
    // The current folder at least leaves the search.
    const auto setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
        reinterpret_cast<void *>(kernelFunction("SetDllDirectoryA")));
    if (setDllDirectory != nullptr) setDllDirectory("");
  }
  // Held for the life of the process.
  for (const char *name : LIBRARIES_LOADED_BY_WINDOWS) loadSystemLibrary(name);
}

std::string systemFolderFile(const char *name) {
  char folder[MAX_PATH] = "";
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

HMODULE loadSystemLibrary(const char *name) {
  const std::string path = systemFolderFile(name);
  if (path.empty()) return nullptr;
  // Its own imports are looked for in the system folder first, too.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
