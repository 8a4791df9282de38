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

}  // namespace

HWND createLicenseBox(HWND parent, HINSTANCE instance) {
  // The library stays loaded for the life of the program, as the box does.
  loadSystemLibrary("riched20.dll");
  return CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, L"",
                         WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
                         parent, nullptr, instance, nullptr);
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
