#include "tools/saverpack/storedFile.h"

#include "codec/dcl.h"
#include "codec/optimalImplode.h"
#include "package/integrityRecord.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/packageBuilder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const size_t BLOCK_SIZE = size_t{1} << 20;

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// The source as the codec reads it: its CRC and the time spent reading.
struct SourceReader {
  std::FILE *file;
  int64_t size;
  int64_t consumed = 0;
  uint32_t crc = 0;
  double seconds = 0;
  bool failed = false;

  unsigned read(char *buffer, unsigned count) {
    count = static_cast<unsigned>(std::min<int64_t>(count, size - consumed));
    const auto start = std::chrono::steady_clock::now();
    const size_t got = std::fread(buffer, 1, count, file);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    failed = failed || std::ferror(file) != 0;
    crc = crc32Update(crc, buffer, got);
    consumed += static_cast<int64_t>(got);
    return static_cast<unsigned>(got);
  }
};

// An implode run into the output, ended early once it cannot pay.
struct ImplodeRun {
  SourceReader &source;
  std::FILE *output;
  int64_t written = 0;
  bool gaveUp = false;
  bool writeFailed = false;
};

unsigned readWhileShrinking(char *buffer, unsigned *size, void *param) {
  ImplodeRun &run = *static_cast<ImplodeRun *>(param);
  if (implodeGivesUp(static_cast<uint64_t>(run.written), static_cast<uint64_t>(run.source.consumed),
                     static_cast<uint64_t>(run.source.size))) {
    run.gaveUp = true;
    return 0;
  }
  return run.source.read(buffer, *size);
}

void writeStream(char *buffer, unsigned *size, void *param) {
  ImplodeRun &run = *static_cast<ImplodeRun *>(param);
  run.writeFailed = run.writeFailed || std::fwrite(buffer, 1, *size, run.output) != *size;
  run.written += *size;
}

// Reading a stored stream back from the output, and what it expands to.
struct ExplodeRun {
  std::FILE *file;
  int64_t left;
  uint32_t storedCrc = 0;
  int64_t expandedSize = 0;
  uint32_t expandedCrc = 0;
};

unsigned readStored(char *buffer, unsigned *size, void *param) {
  ExplodeRun &run = *static_cast<ExplodeRun *>(param);
  const size_t wanted = static_cast<size_t>(std::min<int64_t>(*size, run.left));
  const size_t got = std::fread(buffer, 1, wanted, run.file);
  run.left -= static_cast<int64_t>(got);
  run.storedCrc = crc32Update(run.storedCrc, buffer, got);
  return static_cast<unsigned>(got);
}

void takeExpanded(char *buffer, unsigned *size, void *param) {
  ExplodeRun &run = *static_cast<ExplodeRun *>(param);
  run.expandedCrc = crc32Update(run.expandedCrc, buffer, *size);
  run.expandedSize += *size;
}

// Explodes the storedSize bytes of file from its position: false when they
// are no complete stream.
bool explodeFrom(std::FILE *file, int64_t storedSize, ExplodeRun &run) {
  run = ExplodeRun{file, storedSize};
  std::vector<char> work(dcl::EXPLODE_WORK_SIZE);
  return dcl::explode(readStored, takeExpanded, work.data(), &run) == dcl::CMP_NO_ERROR && run.left == 0 &&
         std::ferror(file) == 0;
}

// Checks the stream stored wrote at start in output: it must explode to
// the bytes it was made from. Takes its CRC and leaves the position behind it.
bool streamExpands(std::FILE *output, int64_t start, StoredFile &stored, std::string &error) {
  ExplodeRun check{};
  if (std::fflush(output) != 0 || !seekTo(output, start) ||
      !explodeFrom(output, stored.storedSize, check) || check.expandedSize != stored.expandedSize ||
      check.expandedCrc != stored.expandedCrc) {
    error = "its implode stream does not expand to it";
    return false;
  }
  stored.storedCrc = check.storedCrc;
  return seekTo(output, start + stored.storedSize);
}

OpenFile openSource(const std::string &source, int64_t &size, std::string &error) {
  OpenFile file(std::fopen(source.c_str(), "rb"));
  std::error_code fault;
  size = static_cast<int64_t>(std::filesystem::file_size(pathOfUtf8(source), fault));
  if (file != nullptr && !fault) return file;
  error = "cannot open \"" + source + "\": " + std::strerror(errno);
  return nullptr;
}

}  // namespace

bool seekTo(std::FILE *file, int64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, offset, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t positionOf(std::FILE *file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

bool copyBytes(std::FILE *from, std::FILE *output, int64_t count, uint32_t *crc) {
  std::vector<uint8_t> block(static_cast<size_t>(std::min<int64_t>(count, BLOCK_SIZE)));
  for (int64_t left = count; left > 0;) {
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(left, BLOCK_SIZE));
    if (std::fread(block.data(), 1, wanted, from) != wanted ||
        std::fwrite(block.data(), 1, wanted, output) != wanted)
      return false;
    if (crc != nullptr) *crc = crc32Update(*crc, block.data(), wanted);
    left -= static_cast<int64_t>(wanted);
  }
  return true;
}

bool implodeSpan(std::FILE *source, int64_t offset, int64_t size, bool fast, std::FILE *output,
                 StoredFile &stored, std::string &error) {
  SourceReader reader{source, size};
  const int64_t start = positionOf(output);
  if (!seekTo(source, offset)) return false;
  ImplodeRun run{reader, output};
  unsigned type = dcl::CMP_BINARY, dictSize = 4096;
  std::vector<char> work(fast ? dcl::IMPLODE_WORK_SIZE : 0);
  const unsigned result =
      fast ? dcl::implode(readWhileShrinking, writeStream, work.data(), &run, &type, &dictSize)
           : dcl::implodeOptimalStream(readWhileShrinking, writeStream, &run, type, dictSize);
  stored.readSeconds = reader.seconds;
  if (result != dcl::CMP_NO_ERROR || run.gaveUp || run.written >= size || reader.failed || run.writeFailed)
    return false;
  stored = {true, reader.consumed, reader.crc, run.written, 0, reader.seconds};
  return streamExpands(output, start, stored, error);
}

bool storeFile(const std::string &source, bool compress, bool fast, std::FILE *output, StoredFile &stored,
               std::string &error) {
  int64_t size = 0;
  OpenFile file = openSource(source, size, error);
  if (file == nullptr) return false;
  const int64_t start = positionOf(output);
  stored = StoredFile();
  if (compress && size > 0) {
    std::string fault;  // set only when a stream came out wrong, not when it did not pay
    if (implodeSpan(file.get(), 0, size, fast, output, stored, fault)) return true;
    if (!fault.empty()) {
      error = fault;
      return false;
    }
  }
  const double trying = stored.readSeconds;
  stored = StoredFile();
  const auto began = std::chrono::steady_clock::now();
  if (!seekTo(file.get(), 0) || !seekTo(output, start) ||
      !copyBytes(file.get(), output, size, &stored.expandedCrc)) {
    error = "cannot copy \"" + source + "\" into the output: " + std::strerror(errno);
    return false;
  }
  stored.expandedSize = stored.storedSize = size;
  stored.storedCrc = stored.expandedCrc;
  stored.readSeconds =
      trying + std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return true;
}

bool storeReadFile(const std::string &source, const ReadFile &file, std::FILE *output, StoredFile &stored,
                   std::string &error) {
  const int64_t start = positionOf(output);
  const std::vector<uint8_t> &written = file.stream.empty() ? file.bytes : file.stream;
  if (std::fwrite(written.data(), 1, written.size(), output) != written.size()) {
    error = "cannot copy \"" + source + "\" into the output: " + std::strerror(errno);
    return false;
  }
  const int64_t size = static_cast<int64_t>(written.size());
  stored = {!file.stream.empty(), file.size, file.crc, size, file.crc, file.readSeconds};
  return file.stream.empty() || streamExpands(output, start, stored, error);
}

bool storeImploded(const std::string &source, std::FILE *output, StoredFile &stored, std::string &error) {
  int64_t size = 0;
  OpenFile file = openSource(source, size, error);
  if (file == nullptr) return false;
  const int64_t start = positionOf(output);
  ExplodeRun check{};
  if (!copyBytes(file.get(), output, size) || std::fflush(output) != 0 || !seekTo(output, start)) {
    error = "cannot copy \"" + source + "\" into the output: " + std::strerror(errno);
    return false;
  }
  if (!explodeFrom(output, size, check)) {
    error = "\"" + source + "\" is no complete implode stream";
    return false;
  }
  stored = {true, check.expandedSize, check.expandedCrc, size, check.storedCrc, 0};
  return seekTo(output, start + size);
}
