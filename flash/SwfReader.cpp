#include "flash/SwfReader.h"

#include <sys/stat.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <share.h>
#endif

#include "common/logFile.h"

const char *const COMPRESSED_SWF_SEGMENT_NAME = "compressedSWFSegment.swf";
const char *const UNCOMPRESSED_SWF_NAME = "unCompressedSWF.swf";

namespace {

const size_t SIGNATURE_SIZE = 3;
const size_t PLAIN_HEADER_SIZE = 8;  // signature, version, stated length
const int32_t LONGEST_WINDOW = 2000;
const size_t BLOCK_SIZE = 2048;
const int32_t LONG_TAG_LENGTH = 63;
const int32_t BACKGROUND_COLOR_BODY_SIZE = 3;
const uint8_t OLDEST_VERSION = 3;
const uint8_t NEWEST_VERSION = 11;

bool fileExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Others may read the movie while we do, but not change it.
FileHandle openForReading(const std::string &path) {
#ifdef _WIN32
  FILE *file = _fsopen(path.c_str(), "rb", _SH_DENYWR);
#else
  FILE *file = std::fopen(path.c_str(), "rb");
#endif
  if (!file) throw SwfReadError("cannot open " + path);
  return FileHandle(file);
}

FileHandle createForWriting(const std::string &path) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) throw SwfReadError("cannot create " + path);
  return FileHandle(file);
}

void readExactly(FILE *file, void *buffer, size_t count) {
  if (std::fread(buffer, 1, count, file) != count) throw SwfReadError("read past the end of the movie");
}

uint8_t readByte(FILE *file) {
  uint8_t value;
  readExactly(file, &value, 1);
  return value;
}

void writeExactly(FILE *file, const void *buffer, size_t count) {
  if (std::fwrite(buffer, 1, count, file) != count) throw SwfReadError("cannot write the movie copy");
}

// Tags are skipped by reading, in blocks, so that a long tag costs no memory.
void skipBytes(FILE *file, uint32_t count) {
  uint8_t block[BLOCK_SIZE];
  while (count > 0) {
    const size_t piece = count < BLOCK_SIZE ? count : BLOCK_SIZE;
    readExactly(file, block, piece);
    count -= static_cast<uint32_t>(piece);
  }
}

// The frame rectangle: a 5-bit field width N, then four N-bit values, padded
// to whole bytes.
void skipFrameRectangle(FILE *file) {
  const int fieldWidth = readByte(file) >> 3;
  const int rectangleSize = (5 + 4 * fieldWidth + 7) / 8;
  skipBytes(file, rectangleSize - 1);
}

void readTagHeader(FILE *file, int32_t &length, int32_t &code, bool &isBackground) {
  uint8_t header[2];
  readExactly(file, header, sizeof header);
  isBackground = isBackgroundColorTag(header, length, code);
}

// The 32-bit length that follows a tag header whose length field is 63.
int32_t readLongTagLength(FILE *file) {
  uint8_t bytes[4];
  readExactly(file, bytes, sizeof bytes);
  const uint64_t length = convertBytesToDecimal(bytes, sizeof bytes);
  if (length > INT32_MAX) throw SwfReadError("tag length out of range");
  return static_cast<int32_t>(length);
}

void copyBlocks(FILE *from, FILE *to) {
  uint8_t block[BLOCK_SIZE];
  size_t count;
  while ((count = std::fread(block, 1, sizeof block, from)) > 0) writeExactly(to, block, count);
  if (std::ferror(from)) throw SwfReadError("cannot read the movie");
}

struct InflateStream {
  z_stream zlib;
  InflateStream() {
    std::memset(&zlib, 0, sizeof zlib);
    if (inflateInit(&zlib) != Z_OK) throw SwfReadError("cannot start decompression");
  }
  ~InflateStream() { inflateEnd(&zlib); }
  InflateStream(const InflateStream &) = delete;
  InflateStream &operator=(const InflateStream &) = delete;
};

// Inflates the zlib stream in `from` into `to`, one block at a time.
void inflateBlocks(FILE *from, FILE *to) {
  InflateStream stream;
  uint8_t input[BLOCK_SIZE];
  uint8_t output[BLOCK_SIZE];
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    if (stream.zlib.avail_in == 0) {
      const size_t count = std::fread(input, 1, sizeof input, from);
      if (count == 0) throw SwfReadError("compressed movie data ends early");
      stream.zlib.next_in = input;
      stream.zlib.avail_in = static_cast<uInt>(count);
    }
    stream.zlib.next_out = output;
    stream.zlib.avail_out = sizeof output;
    result = inflate(&stream.zlib, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) throw SwfReadError("corrupt compressed movie data");
    writeExactly(to, output, sizeof output - stream.zlib.avail_out);
  }
}

// Reads the header fields after the signature; the status is a refusal code.
int32_t readVersionAndFrameHeader(FILE *file, SwfMovieInfo &info) {
  info.swfVersion = readByte(file);
  if (info.swfVersion > NEWEST_VERSION) return SWF_VERSION_TOO_NEW;
  if (info.swfVersion < OLDEST_VERSION) return SWF_VERSION_TOO_OLD;
  uint8_t length[4];
  readExactly(file, length, sizeof length);
  info.fileLength = static_cast<int32_t>(convertBytesToDecimal(length, sizeof length));
  skipFrameRectangle(file);
  skipBytes(file, 4);  // frame rate and frame count
  return 0;
}

// Walks the tags. False when End came first, true after the background colour.
bool skipToBackgroundColor(FILE *file) {
  int32_t length, code;
  bool isBackground;
  readTagHeader(file, length, code, isBackground);
  while (!isBackground) {
    if (code == SWF_END_TAG) {
      logLine("tagNumber = 0");
      return false;
    }
    if (length > 0) {
      if (length == LONG_TAG_LENGTH) {
        logLine("tagLength = 63");
        length = readLongTagLength(file);
        logLine("after convertBytesToDecimal tagLength:" + std::to_string(length));
      }
      skipBytes(file, static_cast<uint32_t>(length));
      logLine("read tag");
    }
    readTagHeader(file, length, code, isBackground);
  }
  // Only the 6-bit length counts here, also when it announces a long header.
  if (length < BACKGROUND_COLOR_BODY_SIZE) throw SwfReadError("background colour tag too short");
  skipBytes(file, static_cast<uint32_t>(length));
  return true;
}

// The bytes after the background colour up to the stated length, at most
// 2000 of them, must be present.
void readWindowAfterBackground(FILE *file, int32_t fileLength) {
  const long position = std::ftell(file);
  if (position < 0) throw SwfReadError("cannot read the movie");
  const int64_t remaining = static_cast<int64_t>(fileLength) - position;
  if (remaining <= 0) throw SwfReadError("no data after the background colour");
  skipBytes(file, static_cast<uint32_t>(remaining < LONGEST_WINDOW ? remaining : LONGEST_WINDOW));
}

}  // namespace

int32_t readSWFFileFormatType(const std::string &path, SwfMovieInfo &info) {
  TraceScope trace("readSWFFileFormatType");
  int32_t status = 0;
  if (fileExists(path)) {
    FileHandle file = openForReading(path);
    char signature[SIGNATURE_SIZE];
    readExactly(file.get(), signature, sizeof signature);
    info.formatSignature.assign(signature, sizeof signature);
    if (info.formatSignature != "FWS" && info.formatSignature != "CWS") status = SWF_BAD_SIGNATURE;
    logLine("readSWFFileFormatType: successful");
  }
  return trace.result(status);
}

int32_t readSWFFile_FWS_Format(const std::string &path, SwfMovieInfo &info) {
  TraceScope trace("readSWFFile_FWS_Format", path);
  int32_t status = 0;
  info.swfVersion = 0;
  if (fileExists(path)) {
    FileHandle file = openForReading(path);
    char signature[SIGNATURE_SIZE];
    readExactly(file.get(), signature, sizeof signature);
    if (std::memcmp(signature, "FWS", SIGNATURE_SIZE) != 0) status = SWF_BAD_SIGNATURE;
    if (status == 0) status = readVersionAndFrameHeader(file.get(), info);
    // A movie that ends before any background colour is accepted as it is.
    if (status == 0 && !skipToBackgroundColor(file.get())) return trace.result(status);
    if (status == 0) readWindowAfterBackground(file.get(), info.fileLength);
  }
  return trace.result(status);
}

int32_t inflateSWFFileToTempFile(const std::string &swfFilename, std::string &scratchFolder,
                                 ScratchFolderMaker makeScratchFolder) {
  TraceScope trace("inflateSWFFileToTempFile");
  int32_t status = 0;
  if (scratchFolder.empty()) status = makeScratchFolder(scratchFolder);
  if (status == 0 && fileExists(swfFilename)) {
    const std::string segmentPath = scratchFolder + COMPRESSED_SWF_SEGMENT_NAME;
    uint8_t header[PLAIN_HEADER_SIZE];
    logLine("AssignFile");
    {
      FileHandle movie = openForReading(swfFilename);
      readExactly(movie.get(), header, sizeof header);
      FileHandle segment = createForWriting(segmentPath);
      copyBlocks(movie.get(), segment.get());
    }
    logLine("creating filestream");
    FileHandle segment = openForReading(segmentPath);
    FileHandle copy = createForWriting(scratchFolder + UNCOMPRESSED_SWF_NAME);
    writeExactly(copy.get(), "FWS", SIGNATURE_SIZE);
    writeExactly(copy.get(), header + SIGNATURE_SIZE, PLAIN_HEADER_SIZE - SIGNATURE_SIZE);
    logLine("BlockWrite");
    inflateBlocks(segment.get(), copy.get());
    if (std::fclose(copy.release()) != 0) throw SwfReadError("cannot write the movie copy");
    logLine("CloseFile");
  }
  return trace.result(status);
}

bool isBackgroundColorTag(const uint8_t header[2], int32_t &length, int32_t &code) {
  TraceScope trace("isBackgroundColorTag");
  const unsigned value = header[0] | (header[1] << 8);
  code = static_cast<int32_t>(value >> 6);
  length = static_cast<int32_t>(value & 63);
  logLine("tagNumber:" + std::to_string(code));
  logLine("tagLength:" + std::to_string(length));
  return code == SWF_BACKGROUND_COLOR_TAG;
}

uint64_t convertBytesToDecimal(const uint8_t *bytes, int count) {
  uint64_t value = 0;
  uint64_t weight = 1;  // 256^k, wrapping to 0 beyond eight bytes
  for (int k = 0; k < count; ++k) {
    value += bytes[k] * weight;
    weight *= 256;
  }
  return value;
}
