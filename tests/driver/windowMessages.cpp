// Messages to the windows of other programs.
#include "testDriver.h"

namespace driver {

bool sendCopyData(HWND target, HWND sender, ULONG_PTR tag, const void *bytes, DWORD byteCount,
                  DWORD timeoutMs, LRESULT *reply) {
  if (!IsWindow(target)) return false;
  COPYDATASTRUCT record = {tag, byteCount, const_cast<void *>(bytes)};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                           reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, timeoutMs, &result))
    return false;
  *reply = static_cast<LRESULT>(result);
  return true;
}

bool sendCopyDataText(HWND target, HWND sender, const std::string &text, DWORD timeoutMs, LRESULT *reply) {
  return sendCopyData(target, sender, 0, text.c_str(), static_cast<DWORD>(text.size()) + 1, timeoutMs,
                      reply);
}

bool postMessageTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsWindow(target) && PostMessageA(target, message, wParam, lParam) != 0;
}

}  // namespace driver
