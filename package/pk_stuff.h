// TCompressor: binds the decompression library that travels in the package
// ("impborl.dll" in the work folder) and expands one implode stream, read
// from a ByteSource in blocks, into a file. Each expansion uses its own TCompressor, so the
// library is loaded and freed once per compressed entry or member; a
// CodecLibraryHold keeps it mapped across many of them.
#ifndef SAVER_PACKAGE_PK_STUFF_H
#define SAVER_PACKAGE_PK_STUFF_H

#include "codec/dcl.h"
#include "package/installObserver.h"
#include "package/packageFormat.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The library's entry points, C calling convention.
typedef unsigned (*ImplodeEntry)(dcl::ReadBuffer read, dcl::WriteBuffer write, char *workBuf, void *param,
                                 unsigned *type, unsigned *dictSize);
typedef unsigned (*ExplodeEntry)(dcl::ReadBuffer read, dcl::WriteBuffer write, char *workBuf, void *param);
typedef unsigned long (*Crc32Entry)(char *buffer, unsigned *size, unsigned long *oldCrc);

class TCompressor {
 public:
  // folder is the work folder by its full path with its trailing "\"; any
  // other folder loads nothing. Never fails: loaded() tells.
  explicit TCompressor(const std::string &folder);
  ~TCompressor();
  TCompressor(const TCompressor &) = delete;
  TCompressor &operator=(const TCompressor &) = delete;

  bool loaded() const { return isLoaded; }
  // The CRC-32 of the bytes the last Expand received from the library.
  uint32_t expandedCrc() const { return static_cast<uint32_t>(outputChecksum); }
  // How reading the stored bytes of the last Expand went: 0, the status of
  // a failed read, STATUS_SHORT_ENTRY when the source ended early, or
  // STATUS_USER_ABORT when the watching observer was cancelled.
  int32_t inputStatus() const { return readStatus; }
  // How writing the expansion went: 0, or the system's code of the first
  // failed write (a full disk among them), after which nothing more is written.
  int32_t outputStatus() const { return writeStatus; }
  // The observer paused before each block the expansions read, so that
  // "Cancel" ends a long one; nullptr for none.
  void watch(InstallObserver *observer) { watching = observer; }

  // Writes the expansion of the whole of stored into a new file targetPath.
  // 0, or the system error code of creating it, for the caller to tell. The
  // library's own result is not looked at: callers judge the written file
  // by its size.
  int32_t Expand(const std::string &targetPath, ByteSource &stored);
  int32_t Expand(const std::string &targetPath, const uint8_t *buffer, uint32_t length);
  // The same into a file the caller holds open for writing, at its position.
  void ExpandInto(HANDLE output, ByteSource &stored);

 private:
  static unsigned readCallback(char *buf, unsigned *size, void *param);
  static void writeCallback(char *buf, unsigned *size, void *param);
  void fillInputBlock();
  void flushOutput();
  void writeOutput(const void *bytes, size_t count);
  void releaseStreams();

  ExplodeEntry explodeEntry = nullptr;
  Crc32Entry crc32Entry = nullptr;
  HANDLE outputStream = INVALID_HANDLE_VALUE;  // the caller's, during an expansion only
  size_t pendingOutput = 0;                    // expanded bytes held back for the next block write
  ByteSource *input = nullptr;                 // the caller's stored bytes, during Expand only
  int64_t inputPosition = 0;                   // of the next block to read
  size_t inputBlockLength = 0;                 // bytes of the stream in the input block
  size_t inputBlockUsed = 0;                   // of those, handed to the library
  int32_t readStatus = 0;
  int32_t writeStatus = 0;
  InstallObserver *watching = nullptr;
  unsigned long outputChecksum = 0;  // of bytes received from the library
  bool isLoaded = false;
  HMODULE libraryHandle = nullptr;
};

// Keeps the library in folder loaded while it lives, so that the load and
// free of each TCompressor meanwhile only count a reference instead of
// mapping the library again. Without the library it holds nothing.
class CodecLibraryHold {
 public:
  explicit CodecLibraryHold(const std::string &folder);
  ~CodecLibraryHold();
  CodecLibraryHold(const CodecLibraryHold &) = delete;
  CodecLibraryHold &operator=(const CodecLibraryHold &) = delete;

 private:
  HMODULE library = nullptr;
};

#endif
