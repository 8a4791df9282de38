// Files through the Win32 API: a read-only file as a ByteSource, a work file
// read back through the handle that wrote it, writing a
// whole buffer to a new file, looking a file up, copying a file whatever its
// attributes, and creating a folder chain.
#ifndef SAVER_PACKAGE_WIN32_FILE_H
#define SAVER_PACKAGE_WIN32_FILE_H

#include "package/packageFormat.h"

#include <windows.h>

#include <cstdint>
#include <string>

class ReadOnlyFile : public ByteSource {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile &) = delete;
  ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;
  ~ReadOnlyFile() override { close(); }

  // 0 or the system's error code.
  int32_t open(const std::string &path);
  // 0 or the system's error code; a closed file closes again without error.
  int32_t close();
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

  int64_t size() const override { return size_; }
  int32_t readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) override;

 protected:
  // The size as the file has it now: 0 or the system's code.
  int32_t readSize();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  int64_t size_ = 0;
};

// A work file written and then read back through the same handle, so that
// what is read is what was written; others may only read it meanwhile.
class ScratchFile : public ReadOnlyFile {
 public:
  // Creates path anew for reading and writing: 0 or the system's code.
  int32_t create(const std::string &path);
  HANDLE handle() const { return handle_; }
  // Takes the size after writing: 0 or the system's code.
  int32_t written() { return readSize(); }
};

// Creates path (replacing any file) and writes count bytes: 0, STATUS_SHORT_ENTRY when
// fewer were written, or the system's error code. created tells whether the
// file came into being.
int32_t writeNewFile(const std::string &path, const void *bytes, uint32_t count, bool &created);

// Looks a file up with any attributes: false when it does not exist.
bool lookUpFileSize(const std::string &path, int64_t &size);

// Clears the attributes of source and of an existing target, creates the
// target's folders when missing, then copies (keeping an existing target when
// failIfExists). Returns the copy's success.
bool CopyFileForced(const std::string &source, const std::string &target, bool failIfExists);

// Creates path (with or without a trailing "\") and every missing parent.
// Failures are not reported; the caller finds out when it uses the folder.
void ForceFolders(const std::string &path);

#endif
