// Builds small SWF movies byte by byte for the reader tests.
#ifndef SAVER_TESTS_FLASH_SWF_BUILDER_H
#define SAVER_TESTS_FLASH_SWF_BUILDER_H

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void appendLittleEndian(Bytes &bytes, uint32_t value, int count) {
  for (int k = 0; k < count; ++k) bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

// A frame rectangle with field width N: the width in the top 5 bits, then
// all value bits set, so that a misjudged size shows as a garbled tag header.
inline Bytes frameRectangle(int fieldWidth) {
  Bytes rectangle((5 + 4 * fieldWidth + 7) / 8, 0xFF);
  rectangle[0] = static_cast<uint8_t>((fieldWidth << 3) | 0x07);
  return rectangle;
}

inline Bytes shortTag(int code, const Bytes &body) {
  Bytes tag;
  appendLittleEndian(tag, static_cast<uint32_t>(code << 6 | body.size()), 2);
  tag.insert(tag.end(), body.begin(), body.end());
  return tag;
}

inline Bytes longTag(int code, uint32_t length) {
  Bytes tag;
  appendLittleEndian(tag, static_cast<uint32_t>(code << 6 | 63), 2);
  appendLittleEndian(tag, length, 4);
  tag.resize(tag.size() + length, 0xAB);
  return tag;
}

inline Bytes backgroundColorTag() { return shortTag(9, {0x10, 0x20, 0x30}); }
inline Bytes endTag() { return {0, 0}; }

// An uncompressed movie: header with the given version, rectangle and tags.
// The stated length is the true length unless one is given.
inline Bytes fwsMovie(uint8_t version, const std::vector<Bytes> &tags, int fieldWidth = 15,
                      int64_t statedLength = -1) {
  Bytes movie = {'F', 'W', 'S', version, 0, 0, 0, 0};
  const Bytes rectangle = frameRectangle(fieldWidth);
  movie.insert(movie.end(), rectangle.begin(), rectangle.end());
  appendLittleEndian(movie, 0x1800, 2);  // 24 frames per second
  appendLittleEndian(movie, 1, 2);       // frame count
  for (const Bytes &tag : tags) movie.insert(movie.end(), tag.begin(), tag.end());
  const uint32_t length = static_cast<uint32_t>(statedLength < 0 ? movie.size() : statedLength);
  for (int k = 0; k < 4; ++k) movie[4 + k] = static_cast<uint8_t>(length >> (8 * k));
  return movie;
}

// The compressed form of an uncompressed movie: "CWS", the same version and
// stated length, then everything after byte 8 as one zlib stream.
inline Bytes cwsMovie(const Bytes &fws) {
  uLongf size = compressBound(fws.size() - 8);
  Bytes compressed(size);
  if (compress(compressed.data(), &size, fws.data() + 8, fws.size() - 8) != Z_OK)
    throw std::runtime_error("compress failed");
  Bytes movie(fws.begin(), fws.begin() + 8);
  movie[0] = 'C';
  movie.insert(movie.end(), compressed.begin(), compressed.begin() + static_cast<std::ptrdiff_t>(size));
  return movie;
}

// Filler tags that make a movie hold the given number of bytes.
inline Bytes padding(size_t count) { return Bytes(count, 0x5A); }

#endif
