#include "package/pk_stuff.h"

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/installNames.h"

#include <string.h>

#include <new>

namespace {

const DWORD FAILURE_NO_LIBRARY_FILE = 5;
const DWORD FAILURE_MISSING_ENTRY_POINT = 6;

// Input is read and output written in blocks of this size rather than per
// library call: under Wine each file call is a round trip to the server.
// Memory stays the same whatever the stream's length.
const size_t STREAM_BLOCK_BYTES = 1 << 20;

// The library's explode work area and the input and output blocks; shared,
// so one expansion at a time.
char WorkBuffer[dcl::EXPLODE_WORK_SIZE];
char InputBlock[STREAM_BLOCK_BYTES];
char OutputBlock[STREAM_BLOCK_BYTES];

}  // namespace

// An export as a plain address; the caller casts it to the export's own type.
static void *exportOf(HMODULE library, const char *name) {
  return reinterpret_cast<void *>(GetProcAddress(library, name));
}

// The library by its full path only, never found by a search; what it
// imports comes from the system folder.
static HMODULE loadCodecLibrary(const std::string &libraryPath) {
  return LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

TCompressor::TCompressor(const std::string &folder) {
  TraceScope trace("TCompressor.Create", folder);
  DWORD failure = 0;
  const std::string libraryPath = folder + CODEC_LIBRARY_FILE;
  if (!isFullPath(libraryPath) || !fileExists(libraryPath)) failure = FAILURE_NO_LIBRARY_FILE;
  logLine("libraryPath: " + libraryPath);
  if (failure == 0) {
    libraryHandle = loadCodecLibrary(libraryPath);
    if (libraryHandle == nullptr) {
      failure = GetLastError();
      if (failure == 0) failure = ERROR_MOD_NOT_FOUND;
    }
  }
  if (failure == 0) {
    isLoaded = true;
    // The installer never compresses, but a library without it is no whole one.
    const bool canImplode = exportOf(libraryHandle, "_implode") != nullptr;
    explodeEntry = reinterpret_cast<ExplodeEntry>(exportOf(libraryHandle, "_explode"));
    crc32Entry = reinterpret_cast<Crc32Entry>(exportOf(libraryHandle, "_crc32"));
    if (!canImplode || explodeEntry == nullptr || crc32Entry == nullptr)
      failure = FAILURE_MISSING_ENTRY_POINT;
  }
  if (failure != 0) {
    logLine("TCompressor.Create failed: " + std::to_string(failure));
    if (isLoaded) {
      FreeLibrary(libraryHandle);
      libraryHandle = nullptr;
      isLoaded = false;
    }
  }
}

TCompressor::~TCompressor() {
  releaseStreams();
  if (isLoaded) FreeLibrary(libraryHandle);
}

void TCompressor::writeOutput(const void *bytes, size_t count) {
  DWORD written = 0;
  if (writeStatus != STATUS_OK || count == 0) return;
  if (!WriteFile(outputStream, bytes, static_cast<DWORD>(count), &written, nullptr))
    writeStatus = static_cast<int32_t>(GetLastError());
  else if (written != count)
    writeStatus = STATUS_SHORT_ENTRY;
}

void TCompressor::flushOutput() {
  writeOutput(OutputBlock, pendingOutput);
  pendingOutput = 0;
}

void TCompressor::releaseStreams() {
  if (outputStream != INVALID_HANDLE_VALUE) flushOutput();
  pendingOutput = 0;
  outputStream = INVALID_HANDLE_VALUE;
  input = nullptr;
  inputPosition = 0;
  inputBlockLength = 0;
  inputBlockUsed = 0;
}

int32_t TCompressor::Expand(const std::string &targetPath, ByteSource &stored) {
  readStatus = STATUS_OK;
  writeStatus = STATUS_OK;
  if (!isLoaded) return ERROR_MOD_NOT_FOUND;  // callers test loaded() first
  TraceScope trace("TCompressor.Expand", targetPath);
  HANDLE output = CreateFileA(targetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return trace.result(static_cast<int32_t>(GetLastError()));
  ExpandInto(output, stored);
  CloseHandle(output);
  return trace.result(0);
}

int32_t TCompressor::Expand(const std::string &targetPath, const uint8_t *buffer, uint32_t length) {
  MemorySource stored(buffer, length);
  return Expand(targetPath, stored);
}

void TCompressor::ExpandInto(HANDLE output, ByteSource &stored) {
  outputChecksum = 0xFFFFFFFFul;
  readStatus = STATUS_OK;
  writeStatus = STATUS_OK;
  if (isLoaded) {
    input = &stored;
    outputStream = output;
    TCompressor *self = this;
    explodeEntry(readCallback, writeCallback, WorkBuffer, &self);
  }
  releaseStreams();
  outputChecksum = ~outputChecksum & 0xFFFFFFFFul;
}

// Refills InputBlock from the stream; a failed or short read ends the
// stream there, and the status says why.
void TCompressor::fillInputBlock() {
  inputBlockLength = 0;
  inputBlockUsed = 0;
  const int64_t remaining = input->size() - inputPosition;
  if (readStatus != STATUS_OK || remaining <= 0) return;
  readStatus = pauseBetweenBlocks(watching);
  if (readStatus != STATUS_OK) return;
  const uint32_t wanted =
      static_cast<uint32_t>(remaining < int64_t(STREAM_BLOCK_BYTES) ? remaining : STREAM_BLOCK_BYTES);
  uint32_t got = 0;
  readStatus = input->readAt(inputPosition, InputBlock, wanted, got);
  if (readStatus == STATUS_OK && got == 0) readStatus = STATUS_SHORT_ENTRY;
  inputPosition += got;
  inputBlockLength = got;
}

// The user pointer is the address of a variable holding the compressor.
unsigned TCompressor::readCallback(char *buf, unsigned *size, void *param) {
  TCompressor &compressor = **static_cast<TCompressor **>(param);
  if (compressor.inputBlockUsed == compressor.inputBlockLength) compressor.fillInputBlock();
  const size_t remaining = compressor.inputBlockLength - compressor.inputBlockUsed;
  const unsigned count = remaining < *size ? static_cast<unsigned>(remaining) : *size;
  memcpy(buf, InputBlock + compressor.inputBlockUsed, count);
  compressor.inputBlockUsed += count;
  return count;
}

// A failed write is kept in writeStatus; the caller also sees the short file.
void TCompressor::writeCallback(char *buf, unsigned *size, void *param) {
  TCompressor &compressor = **static_cast<TCompressor **>(param);
  if (compressor.pendingOutput + *size > STREAM_BLOCK_BYTES) compressor.flushOutput();
  if (*size > STREAM_BLOCK_BYTES) {
    compressor.writeOutput(buf, *size);
  } else {
    memcpy(OutputBlock + compressor.pendingOutput, buf, *size);
    compressor.pendingOutput += *size;
  }
  if (*size > 0) compressor.outputChecksum = compressor.crc32Entry(buf, size, &compressor.outputChecksum);
}

CodecLibraryHold::CodecLibraryHold(const std::string &folder) {
  const std::string libraryPath = folder + CODEC_LIBRARY_FILE;
  if (isFullPath(libraryPath) && fileExists(libraryPath)) library = loadCodecLibrary(libraryPath);
}

CodecLibraryHold::~CodecLibraryHold() {
  if (library != nullptr) FreeLibrary(library);
}
