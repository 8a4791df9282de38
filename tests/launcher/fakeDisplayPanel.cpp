// Stands in for the display control panel "desk.cpl", which Wine lacks. It
// records in FAKE_INSTALLER_RECORD how rundll32 opened it.
#include <windows.h>
#include <cpl.h>

#include <cstdio>

static void recordOpening(const char *how, const char *parameters) {
  char recordFile[MAX_PATH] = "";
  DWORD length = GetEnvironmentVariableA("FAKE_INSTALLER_RECORD", recordFile, sizeof recordFile);
  if (length == 0 || length >= sizeof recordFile) return;
  if (FILE *out = std::fopen(recordFile, "ab")) {
    std::fprintf(out, "controlPanel=%s %s\n", how, parameters);
    std::fclose(out);
  }
}

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND, UINT message, LPARAM, LPARAM lParam2) {
  switch (message) {
    case CPL_INIT:  // NOLINT(bugprone-branch-clone): success, where the next case counts one applet
      return TRUE;
    case CPL_GETCOUNT:
      return 1;
    case CPL_INQUIRE: {
      CPLINFO *info = reinterpret_cast<CPLINFO *>(lParam2);
      info->idIcon = CPL_DYNAMIC_RES;
      info->idName = CPL_DYNAMIC_RES;
      info->idInfo = CPL_DYNAMIC_RES;
      info->lData = 0;
      return 0;
    }
    case CPL_STARTWPARMSA:
      recordOpening("parameters", reinterpret_cast<const char *>(lParam2));
      return TRUE;
    case CPL_STARTWPARMSW: {
      char parameters[256] = "";
      WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t *>(lParam2), -1, parameters,
                          sizeof parameters, nullptr, nullptr);
      recordOpening("parameters", parameters);
      return TRUE;
    }
    case CPL_DBLCLK:
      recordOpening("double-click", "");
      return 0;
    default:
      return 0;
  }
}
