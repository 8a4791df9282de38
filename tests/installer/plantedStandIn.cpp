// Stands in for a library or a program that another program of the user
// planted where ours might look for one: loaded or started, it records its
// own path in FAKE_INSTALLER_RECORD as "planted=<path>".
//
// A library mapped at the program's start counts only when the program's
// own file imports it: Wine's own user32 and shlwapi import version.dll and
// shcore.dll, and map them from the program's folder before any of its code
// has run, where Windows' do not.
#include <windows.h>

#include <cstdio>
#include <cstring>

static void recordOwnPath(HMODULE self) {
  char recordFile[MAX_PATH] = "", ownPath[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("FAKE_INSTALLER_RECORD", recordFile, sizeof recordFile);
  if (length == 0 || length >= sizeof recordFile) return;
  GetModuleFileNameA(self, ownPath, sizeof ownPath);
  if (FILE *out = std::fopen(recordFile, "ab")) {
    std::fprintf(out, "planted=%s\n", ownPath);
    std::fclose(out);
  }
}

#ifdef PLANTED_PROGRAM
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  recordOwnPath(nullptr);
  return 0;
}
#else
// Whether the import table of the program's own file names the library.
static bool programImports(HMODULE library) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(library, path, sizeof path);
  const char *name = std::strrchr(path, '\\') != nullptr ? std::strrchr(path, '\\') + 1 : path;
  const auto *base = reinterpret_cast<const BYTE *>(GetModuleHandleA(nullptr));
  const auto *headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (const auto *entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
       entry->Name != 0; ++entry)
    if (lstrcmpiA(reinterpret_cast<const char *>(base + entry->Name), name) == 0) return true;
  return false;
}

// The system passes a non-null third argument for a library mapped at start.
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID mappedAtStart) {
  if (reason == DLL_PROCESS_ATTACH && (mappedAtStart == nullptr || programImports(self)))
    recordOwnPath(self);
  return TRUE;
}
#endif
