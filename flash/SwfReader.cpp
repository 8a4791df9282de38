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
// The largest uncompressed copy written; no movie a saver carries comes near.
const uint32_t LARGEST_INFLATED_MOVIE = 256u << 20;
const int32_t LONG_TAG_LENGTH = 63;
const int32_t BACKGROUND_COLOR_BODY_SIZE = 3;

bool fileExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

// Every read, file and zlib failure ends the reading with one status; the
// trace keeps the reason.
int32_t unreadable(const char *reason) {
  logLine(std::string("movie unreadable: ") + reason);
  return SWF_UNREADABLE;
}

struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Others may read the movie while we do, but not change it.
int32_t openForReading(const std::string &path, FileHandle &file) {
#ifdef _WIN32
  file.reset(_fsopen(path.c_str(), "rb", _SH_DENYWR));
#else
  file.reset(std::fopen(path.c_str(), "rb"));
#endif
  return file ? 0 : unreadable("cannot open the movie");
}

int32_t createForWriting(const std::string &path, FileHandle &file) {
  file.reset(std::fopen(path.c_str(), "wb"));
  return file ? 0 : unreadable("cannot create the movie copy");
}

int32_t readExactly(FILE *file, void *buffer, size_t count) {
  return std::fread(buffer, 1, count, file) == count ? 0 : unreadable("read past the end of the movie");
}

int32_t writeExactly(FILE *file, const void *buffer, size_t count) {
  return std::fwrite(buffer, 1, count, file) == count ? 0 : unreadable("cannot write the movie copy");
}

// Tags are skipped by reading, in blocks, so that a long tag costs no memory.
int32_t skipBytes(FILE *file, uint32_t count) {
  uint8_t block[BLOCK_SIZE];
  int32_t status = 0;
  while (status == 0 && count > 0) {
    const size_t piece = count < BLOCK_SIZE ? count : BLOCK_SIZE;
    status = readExactly(file, block, piece);
    count -= static_cast<uint32_t>(piece);
  }
  return status;
}

// The frame rectangle: a 5-bit field width N, then four N-bit values, padded
// to whole bytes.
int32_t skipFrameRectangle(FILE *file) {
  uint8_t first = 0;
  const int32_t status = readExactly(file, &first, 1);
  if (status != 0) return status;
  const int fieldWidth = first >> 3;
  const int rectangleSize = (5 + 4 * fieldWidth + 7) / 8;
  return skipBytes(file, rectangleSize - 1);
}

struct TagHeader {
  int32_t length = 0;
  int32_t code = 0;
  bool isBackground = false;
};

int32_t readTagHeader(FILE *file, TagHeader &tag) {
  uint8_t header[2];
  const int32_t status = readExactly(file, header, sizeof header);
  if (status == 0) tag.isBackground = isBackgroundColorTag(header, tag.length, tag.code);
  return status;
}

// The 32-bit length that follows a tag header whose length field is 63.
int32_t readLongTagLength(FILE *file, int32_t &length) {
  uint8_t bytes[4];
  const int32_t status = readExactly(file, bytes, sizeof bytes);
  if (status != 0) return status;
  const uint64_t value = convertBytesToDecimal(bytes, sizeof bytes);
  if (value > INT32_MAX) return unreadable("tag length out of range");
  length = static_cast<int32_t>(value);
  return 0;
}

int32_t copyBlocks(FILE *from, FILE *to) {
  uint8_t block[BLOCK_SIZE];
  size_t count;
  int32_t status = 0;
  while (status == 0 && (count = std::fread(block, 1, sizeof block, from)) > 0)
    status = writeExactly(to, block, count);
  if (status == 0 && std::ferror(from)) status = unreadable("cannot read the movie");
  return status;
}

struct InflateStream {
  z_stream zlib;
  bool started;
  InflateStream() {
    std::memset(&zlib, 0, sizeof zlib);
    started = inflateInit(&zlib) == Z_OK;
  }
  ~InflateStream() {
    if (started) inflateEnd(&zlib);
  }
  InflateStream(const InflateStream &) = delete;
  InflateStream &operator=(const InflateStream &) = delete;
};

// Gives zlib the next block of `from` once it has used the last one.
int32_t refillInput(FILE *from, z_stream &zlib, uint8_t (&input)[BLOCK_SIZE]) {
  if (zlib.avail_in != 0) return 0;
  const size_t count = std::fread(input, 1, sizeof input, from);
  if (count == 0) return unreadable("compressed movie data ends early");
  zlib.next_in = input;
  zlib.avail_in = static_cast<uInt>(count);
  return 0;
}

// Inflates the zlib stream in `from` into `to`, one block at a time, and
// never writes more than `allowed` bytes: a few kilobytes can inflate to
// gigabytes.
int32_t inflateBlocks(FILE *from, FILE *to, uint32_t allowed) {
  InflateStream stream;
  if (!stream.started) return unreadable("cannot start decompression");
  uint8_t input[BLOCK_SIZE];
  uint8_t output[BLOCK_SIZE];
  int result = Z_OK;
  int32_t status = 0;
  while (status == 0 && result != Z_STREAM_END) {
    status = refillInput(from, stream.zlib, input);
    if (status != 0) break;
    stream.zlib.next_out = output;
    stream.zlib.avail_out = sizeof output;
    result = inflate(&stream.zlib, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) return unreadable("corrupt compressed movie data");
    const size_t produced = sizeof output - stream.zlib.avail_out;
    if (produced > allowed) return SWF_INFLATES_TOO_FAR;
    allowed -= static_cast<uint32_t>(produced);
    status = writeExactly(to, output, produced);
  }
  return status;
}

// Reads the header fields after the signature: a refusal code, or
// SWF_UNREADABLE.
int32_t readVersionAndFrameHeader(FILE *file, SwfMovieInfo &info) {
  int32_t status = readExactly(file, &info.swfVersion, 1);
  if (status != 0) return status;
  if (info.swfVersion > SWF_NEWEST_VERSION) return SWF_VERSION_TOO_NEW;
  if (info.swfVersion < SWF_OLDEST_VERSION) return SWF_VERSION_TOO_OLD;
  uint8_t length[4];
  status = readExactly(file, length, sizeof length);
  if (status != 0) return status;
  info.fileLength = static_cast<int32_t>(convertBytesToDecimal(length, sizeof length));
  status = skipFrameRectangle(file);
  if (status == 0) status = skipBytes(file, 4);  // frame rate and frame count
  return status;
}

// Skips the body of a tag other than the background colour.
int32_t skipTagBody(FILE *file, int32_t length) {
  int32_t status = 0;
  if (length == LONG_TAG_LENGTH) {
    logLine("tagLength = 63");
    status = readLongTagLength(file, length);
    if (status == 0) logLine("after convertBytesToDecimal tagLength:" + std::to_string(length));
  }
  if (status == 0) status = skipBytes(file, static_cast<uint32_t>(length));
  if (status == 0) logLine("read tag");
  return status;
}

// Walks the tags. foundBackground is false when End came first, true after
// the background colour.
int32_t skipToBackgroundColor(FILE *file, bool &foundBackground) {
  TagHeader tag;
  int32_t status = readTagHeader(file, tag);
  while (status == 0 && !tag.isBackground) {
    if (tag.code == SWF_END_TAG) {
      logLine("tagNumber = 0");
      foundBackground = false;
      return 0;
    }
    if (tag.length > 0) status = skipTagBody(file, tag.length);
    if (status == 0) status = readTagHeader(file, tag);
  }
  if (status != 0) return status;
  // Only the 6-bit length counts here, also when it announces a long header.
  if (tag.length < BACKGROUND_COLOR_BODY_SIZE) return unreadable("background colour tag too short");
  foundBackground = true;
  return skipBytes(file, static_cast<uint32_t>(tag.length));
}

// The bytes after the background colour up to the stated length, at most
// 2000 of them, must be present.
int32_t readWindowAfterBackground(FILE *file, int32_t fileLength) {
  const long position = std::ftell(file);
  if (position < 0) return unreadable("cannot read the movie");
  const int64_t remaining = static_cast<int64_t>(fileLength) - position;
  if (remaining <= 0) return unreadable("no data after the background colour");
  return skipBytes(file, static_cast<uint32_t>(remaining < LONGEST_WINDOW ? remaining : LONGEST_WINDOW));
}

int32_t readSignature(FILE *file, std::string &signature) {
  char bytes[SIGNATURE_SIZE];
  const int32_t status = readExactly(file, bytes, sizeof bytes);
  if (status == 0) signature.assign(bytes, sizeof bytes);
  return status;
}

// The plain movie's header and tags, from its open file.
int32_t readPlainMovie(FILE *file, SwfMovieInfo &info) {
  std::string signature;
  int32_t status = readSignature(file, signature);
  if (status == 0 && signature != "FWS") status = SWF_BAD_SIGNATURE;
  if (status == 0) status = readVersionAndFrameHeader(file, info);
  bool foundBackground = false;
  if (status == 0) status = skipToBackgroundColor(file, foundBackground);
  info.backgroundFound = foundBackground;
  // A movie that ends before any background colour is accepted as it is.
  if (status == 0 && foundBackground) status = readWindowAfterBackground(file, info.fileLength);
  return status;
}

// Copies everything after the compressed movie's plain header to
// segmentPath, and hands back that header.
int32_t copyCompressedSegment(const std::string &swfFilename, const std::string &segmentPath,
                              uint8_t (&header)[PLAIN_HEADER_SIZE]) {
  FileHandle movie, segment;
  int32_t status = openForReading(swfFilename, movie);
  if (status == 0) status = readExactly(movie.get(), header, sizeof header);
  if (status == 0) status = createForWriting(segmentPath, segment);
  if (status == 0) status = copyBlocks(movie.get(), segment.get());
  return status;
}

// The bytes behind the plain header that the header's stated length allows.
int32_t inflatedBodyLength(const uint8_t (&header)[PLAIN_HEADER_SIZE], uint32_t &length) {
  const uint64_t stated = convertBytesToDecimal(header + SIGNATURE_SIZE + 1, 4);
  if (stated > LARGEST_INFLATED_MOVIE) return SWF_INFLATES_TOO_FAR;
  length = stated > PLAIN_HEADER_SIZE ? static_cast<uint32_t>(stated - PLAIN_HEADER_SIZE) : 0;
  return 0;
}

// Writes the plain header and the inflated segment as the uncompressed copy.
int32_t writeUncompressedCopy(const std::string &segmentPath, const std::string &copyPath,
                              const uint8_t (&header)[PLAIN_HEADER_SIZE]) {
  FileHandle segment, copy;
  uint32_t bodyLength = 0;
  int32_t status = inflatedBodyLength(header, bodyLength);
  if (status == 0) status = openForReading(segmentPath, segment);
  if (status == 0) status = createForWriting(copyPath, copy);
  if (status == 0) status = writeExactly(copy.get(), "FWS", SIGNATURE_SIZE);
  if (status == 0)
    status = writeExactly(copy.get(), header + SIGNATURE_SIZE, PLAIN_HEADER_SIZE - SIGNATURE_SIZE);
  if (status == 0) logLine("BlockWrite");
  if (status == 0) status = inflateBlocks(segment.get(), copy.get(), bodyLength);
  if (status == 0 && std::fclose(copy.release()) != 0) status = unreadable("cannot write the movie copy");
  return status;
}

}  // namespace

int32_t readSWFFileFormatType(const std::string &path, SwfMovieInfo &info) {
  TraceScope trace("readSWFFileFormatType");
  if (!fileExists(path)) return trace.result(0);
  FileHandle file;
  int32_t status = openForReading(path, file);
  if (status == 0) status = readSignature(file.get(), info.formatSignature);
  if (status == 0 && info.formatSignature != "FWS" && info.formatSignature != "CWS")
    status = SWF_BAD_SIGNATURE;
  if (status != SWF_UNREADABLE) logLine("readSWFFileFormatType: successful");
  return trace.result(status);
}

int32_t readSWFFile_FWS_Format(const std::string &path, SwfMovieInfo &info) {
  TraceScope trace("readSWFFile_FWS_Format", path);
  info.swfVersion = 0;
  info.backgroundFound = false;
  if (!fileExists(path)) return trace.result(0);
  FileHandle file;
  int32_t status = openForReading(path, file);
  if (status == 0) status = readPlainMovie(file.get(), info);
  return trace.result(status);
}

int32_t inflateSWFFileToTempFile(const std::string &swfFilename, std::string &scratchFolder,
                                 ScratchFolderMaker makeScratchFolder) {
  TraceScope trace("inflateSWFFileToTempFile");
  int32_t status = 0;
  if (scratchFolder.empty()) status = makeScratchFolder(scratchFolder);
  if (status != 0 || !fileExists(swfFilename)) return trace.result(status);
  const std::string segmentPath = scratchFolder + COMPRESSED_SWF_SEGMENT_NAME;
  uint8_t header[PLAIN_HEADER_SIZE];
  logLine("AssignFile");
  status = copyCompressedSegment(swfFilename, segmentPath, header);
  if (status == 0) logLine("creating filestream");
  const std::string copyPath = scratchFolder + UNCOMPRESSED_SWF_NAME;
  if (status == 0) status = writeUncompressedCopy(segmentPath, copyPath, header);
  if (status == SWF_INFLATES_TOO_FAR) std::remove(copyPath.c_str());  // no half copy is read
  if (status == 0) logLine("CloseFile");
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
