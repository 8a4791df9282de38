#include "common/unicodeText.h"

#include <windows.h>

namespace {

std::wstring wideFrom(UINT codePage, DWORD flags, const std::string &text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(
      static_cast<size_t>(MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

}  // namespace

std::wstring wideFromUtf8(const std::string &text) {
  if (text.empty()) return std::wstring();
  const std::wstring wide = wideFrom(CP_UTF8, MB_ERR_INVALID_CHARS, text);
  return wide.empty() ? wideFrom(CP_ACP, 0, text) : wide;
}

std::string utf8FromWide(const wchar_t *text, int length) {
  if (length <= 0) return std::string();
  std::string utf8(
      static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                      nullptr);
  return utf8;
}

std::string utf8OfEither(const std::string &text) {
  const std::wstring wide = wideFromUtf8(text);
  return utf8FromWide(wide.data(), static_cast<int>(wide.size()));
}

std::string utf8FromAnsi(const std::string &text) {
  const std::wstring wide = wideFrom(CP_ACP, 0, text);
  return utf8FromWide(wide.data(), static_cast<int>(wide.size()));
}

// A string table resource holds 16 texts, each a length and that many UTF-16
// units; the block of id is number id / 16 + 1.
std::string stringTableText(HMODULE module, unsigned id, uint16_t languageId) {
  HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), languageId);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const WORD *entry = loaded != nullptr ? static_cast<const WORD *>(LockResource(loaded)) : nullptr;
  if (entry == nullptr) return std::string();
  const WORD *const end = entry + SizeofResource(module, found) / sizeof(WORD);
  for (unsigned index = id % 16; index > 0 && entry < end; --index) entry += *entry + 1;
  if (entry >= end || entry + *entry + 1 > end) return std::string();
  return utf8FromWide(reinterpret_cast<const wchar_t *>(entry + 1), *entry);
}
