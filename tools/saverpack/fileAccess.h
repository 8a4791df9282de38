// Whole-file reading and writing for the packer, with errors that say what
// the system said.
#ifndef SAVER_TOOLS_SAVERPACK_FILE_ACCESS_H
#define SAVER_TOOLS_SAVERPACK_FILE_ACCESS_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Paths and UTF-8 text (manifests and JSON are UTF-8 on every system).
inline std::string utf8Of(const std::filesystem::path &path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
inline std::string genericUtf8Of(const std::filesystem::path &path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}
inline std::filesystem::path pathOfUtf8(const std::string &text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// error := "cannot open "PATH": REASON" and the like.
bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error);

// Refuses, before it is read, a file larger than limit: error names key,
// path and the limit of what (e.g. "member"). True when its size is unknown:
// reading it tells what is wrong.
bool withinSizeLimit(const std::string &key, const std::string &path, int64_t limit, const char *what,
                     std::string &error);

// Writes a sibling file first and renames it over path, so that a failure
// never leaves a half-written output behind.
bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error);

// Writes a file that must not exist yet, creating its folders.
bool writeNewFile(const std::filesystem::path &path, const std::vector<uint8_t> &bytes, std::string &error);
bool writeNewFile(const std::filesystem::path &path, const std::string &text, std::string &error);

#endif
