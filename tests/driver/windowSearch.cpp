// Finding top-level windows and reading their captions and classes.
#include "testDriver.h"

#include "common/unicodeText.h"

namespace driver {
namespace {

// Long enough for a busy Wine program to answer, short enough that a hung
// one does not stall the test.
const UINT kTextTimeoutMs = 5000;
const DWORD kPollMs = 50;

struct Search {
  const WindowQuery *query;
  bool firstOnly;
  std::vector<HWND> found;
};

// The caption the system keeps for a top-level window: reading it sends no
// message, so searching many windows stays quick.
std::string captionOf(HWND window) {
  wchar_t caption[512];
  return utf8FromWide(caption, GetWindowTextW(window, caption, 512));
}

bool matches(HWND window, const WindowQuery &query) {
  if (query.mustBeVisible && !IsWindowVisible(window)) return false;
  if (query.processId && processIdOfWindow(window) != query.processId) return false;
  if (!query.className.empty() && lstrcmpiA(windowClassName(window).c_str(), query.className.c_str()) != 0)
    return false;
  return query.title.empty() || captionOf(window) == query.title;
}

BOOL CALLBACK checkWindow(HWND window, LPARAM searchAddress) {
  Search *search = reinterpret_cast<Search *>(searchAddress);
  if (!matches(window, *search->query)) return TRUE;
  search->found.push_back(window);
  return !search->firstOnly;
}

}  // namespace

HWND findTopLevelWindow(const WindowQuery &query) {
  Search search = {&query, true, {}};
  EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> findTopLevelWindows(const WindowQuery &query) {
  Search search = {&query, false, {}};
  EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForTopLevelWindow(const WindowQuery &query, DWORD timeoutMs) {
  const DWORD startedAt = GetTickCount();
  for (;;) {
    if (HWND window = findTopLevelWindow(query)) return window;
    if (GetTickCount() - startedAt >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

bool waitForWindowGone(HWND window, DWORD timeoutMs) {
  const DWORD startedAt = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - startedAt >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

DWORD processIdOfWindow(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

std::string windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
    return std::string();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied))
    return std::string();
  return utf8FromWide(text.data(), static_cast<int>(copied < length ? copied : length));
}

std::string windowClassName(HWND window) {
  char name[256];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

}  // namespace driver
