#include "installer/licenseText.h"

#include <richedit.h>

#include <cstring>
#include <vector>

#include "common/unicodeText.h"
#include "common/librarySearch.h"
#include "common/wholeFile.h"
#include "installer/stringTable.h"

namespace {

const char RICH_TEXT_SIGNATURE[] = "{\\rtf";

struct StreamSource {
  const std::vector<uint8_t> *bytes;
  size_t next;
};

DWORD CALLBACK readChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given) {
  auto *source = reinterpret_cast<StreamSource *>(cookie);
  const size_t left = source->bytes->size() - source->next;
  const size_t count = left < static_cast<size_t>(wanted) ? left : static_cast<size_t>(wanted);
  std::memcpy(buffer, source->bytes->data() + source->next, count);
  source->next += count;
  *given = static_cast<LONG>(count);
  return 0;
}

const char BOX_PROCEDURE[] = "licenseBoxProcedure";

// A multi-line box asks the window's keyboard handling for every key; the
// licence is only read, so Tab, Enter and Esc move on, press the default
// button and cancel as elsewhere in the window, and the arrows still scroll.
LRESULT CALLBACK keysLeftToWindow(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto boxProcedure = reinterpret_cast<WNDPROC>(GetPropA(box, BOX_PROCEDURE));
  const LRESULT result = CallWindowProcW(boxProcedure, box, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemovePropA(box, BOX_PROCEDURE);
  if (message != WM_GETDLGCODE) return result;
  return result & ~(DLGC_WANTTAB | DLGC_WANTMESSAGE);
}

}  // namespace

HWND createLicenseBox(HWND parent, HINSTANCE instance, HWND after) {
  // The library stays loaded for the life of the program, as the box does.
  loadSystemLibrary("riched20.dll");
  // Screen readers name a box by the static text before it.
  HWND label =
      CreateWindowExW(0, L"STATIC", wideFromUtf8(programText(IDS_LICENSE_LABEL)).c_str(),
                      WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
  HWND box =
      CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, L"",
                      WS_CHILD | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                      0, 0, 0, parent, nullptr, instance, nullptr);
  if (box == nullptr) return nullptr;
  const UINT placeOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(label, after, 0, 0, 0, 0, placeOnly);
  SetWindowPos(box, label, 0, 0, 0, 0, placeOnly);
  SetPropA(box, BOX_PROCEDURE, reinterpret_cast<HANDLE>(GetWindowLongPtrW(box, GWLP_WNDPROC)));
  SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keysLeftToWindow));
  return box;
}

LicenseLoad loadLicenseFile(HWND box, const std::string &path) {
  std::vector<uint8_t> bytes;
  FileReadFault fault = {};
  if (!readWholeFile(path, bytes, &fault, LARGEST_LICENSE_BYTES)) {
    if (std::strcmp(fault.step, "size") != 0) return LicenseLoad::Unreadable;
    SetWindowTextW(
        box, wideFromUtf8(expandText(programText(IDS_LICENSE_TOO_LARGE), {utf8FromAnsi(path)})).c_str());
    return LicenseLoad::TooLarge;
  }
  const size_t signatureLength = sizeof RICH_TEXT_SIGNATURE - 1;
  const bool richText = bytes.size() >= signatureLength &&
                        std::memcmp(bytes.data(), RICH_TEXT_SIGNATURE, signatureLength) == 0;
  StreamSource source = {&bytes, 0};
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = readChunk;
  SendMessageA(box, EM_STREAMIN, richText ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0 ? LicenseLoad::Shown : LicenseLoad::Unreadable;
}
