// Storing one file into an output file as it is read in blocks: imploded
// when that makes it smaller, else plain. The CRC of its bytes is taken on
// the way, and an implode stream is exploded back from the output to check
// that it gives those bytes again.
#ifndef SAVER_TOOLS_SAVERPACK_STORED_FILE_H
#define SAVER_TOOLS_SAVERPACK_STORED_FILE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct StoredFile {
  bool compressed = false;
  int64_t expandedSize = 0;
  uint32_t expandedCrc = 0;
  int64_t storedSize = 0;
  uint32_t storedCrc = 0;
  double readSeconds = 0;  // spent reading the source alone, a plain copy's pace
};

// A file read whole, and its implode stream when that is smaller (else
// empty, and the bytes are stored plain).
struct ReadFile {
  int64_t size = 0;
  uint32_t crc = 0;
  std::vector<uint8_t> bytes;  // dropped once the stream is made
  std::vector<uint8_t> stream;
  double readSeconds = 0;
};

// Stores source at output's current position (output open for reading and
// writing) and leaves the position behind it. With compress, the bytes are
// imploded (fast: by the greedy coder) unless the stream would not be
// smaller; the bytes left behind an abandoned stream are for the caller to
// cut off. False, with the reason, when a file cannot be read or written or
// the stream does not expand to the source.
bool storeFile(const std::string &source, bool compress, bool fast, std::FILE *output, StoredFile &stored,
               std::string &error);

// Stores file, read from source, at output's position the same as
// storeFile would, its stream checked the same way.
bool storeReadFile(const std::string &source, const ReadFile &file, std::FILE *output, StoredFile &stored,
                   std::string &error);

// Implodes size bytes of source from offset to output's position when that
// makes them smaller: true, with stored filled and the position behind the
// stream, when it did. False when it did not pay, or with error set when
// the stream does not expand to the bytes.
bool implodeSpan(std::FILE *source, int64_t offset, int64_t size, bool fast, std::FILE *output,
                 StoredFile &stored, std::string &error);

// Stores source, an implode stream, as it is; exploding it gives the
// expanded size and CRC. False when it is no complete stream.
bool storeImploded(const std::string &source, std::FILE *output, StoredFile &stored, std::string &error);

// Moves file to offset from its start: false when the system refuses.
bool seekTo(std::FILE *file, int64_t offset);
int64_t positionOf(std::FILE *file);

// Copies count bytes of from, at its position, to output's: false when a
// read comes short or a write fails. crc, when given, is continued.
bool copyBytes(std::FILE *from, std::FILE *output, int64_t count, uint32_t *crc = nullptr);

#endif
