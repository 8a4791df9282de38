// The fixed prefix codes of the DCL format and the tables both coders
// derive from them at compile time.
//
// Each code is canonical (shorter codes first, ties by symbol order) with
// every bit inverted, and is sent least significant bit first, so the
// stored pattern is the inverted canonical code reversed.
#ifndef SAVER_CODEC_DCL_TABLES_H
#define SAVER_CODEC_DCL_TABLES_H

#include <stdint.h>

namespace dcl {

const unsigned MIN_MATCH = 2;
const unsigned MAX_MATCH = 518;
const unsigned END_OF_STREAM = 519;  // the length that ends a stream
const unsigned MAX_DISTANCE_FOR_LENGTH_2 = 256;
const unsigned LENGTH_SYMBOLS = 16;
const unsigned DISTANCE_SYMBOLS = 64;
const unsigned LITERAL_SYMBOLS = 256;

// Length symbols: base, extra bits and code length.
constexpr uint16_t LENGTH_BASE[LENGTH_SYMBOLS] = {3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
constexpr uint8_t LENGTH_EXTRA_BITS[LENGTH_SYMBOLS] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr uint8_t LENGTH_CODE_BITS[LENGTH_SYMBOLS] = {2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 7, 7};

// Distance symbols give the high bits of distance - 1.
constexpr uint8_t DISTANCE_CODE_BITS[DISTANCE_SYMBOLS] = {
    2, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};

// Literal code lengths of the ASCII mode, by byte value.
constexpr uint8_t LITERAL_CODE_BITS[LITERAL_SYMBOLS] = {
    11, 12, 12, 12, 12, 12, 12, 12, 12, 8,  7,  12, 12, 7,  12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,
    13, 12, 12, 12, 12, 12, 4,  10, 8,  12, 10, 12, 10, 8,  7,  7,  8,  9,  7,  6,  7,  8,  7,  6,  7,  7,
    7,  7,  8,  7,  7,  8,  8,  12, 11, 7,  9,  11, 12, 6,  7,  6,  6,  5,  7,  8,  8,  6,  11, 9,  6,  7,
    6,  6,  7,  11, 6,  6,  6,  7,  9,  8,  9,  9,  11, 8,  11, 9,  12, 8,  12, 5,  6,  6,  6,  5,  6,  6,
    6,  5,  11, 7,  5,  6,  5,  5,  6,  10, 5,  5,  5,  5,  8,  7,  8,  8,  10, 11, 11, 12, 12, 12, 13, 13,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 12, 12, 12, 12, 12, 12,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 13, 13, 13, 12, 13, 13, 13, 12,
    13, 13, 13, 13, 12, 13, 13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13};

// A code word as it goes into the stream: bits in sending order.
struct CodeWord {
  uint16_t bits;
  uint8_t length;
};

// Stored code words of a code given by its code lengths (at most 16 bits).
template <unsigned N>
struct CodeBook {
  CodeWord word[N];
};

template <unsigned N>
constexpr CodeBook<N> buildCodeBook(const uint8_t (&lengths)[N]) {
  CodeBook<N> book{};
  unsigned next = 0;
  for (unsigned length = 1; length <= 16; ++length) {
    next <<= 1;
    for (unsigned symbol = 0; symbol < N; ++symbol) {
      if (lengths[symbol] != length) continue;
      const unsigned inverted = ~next & ((1u << length) - 1);
      unsigned reversed = 0;
      for (unsigned bit = 0; bit < length; ++bit)
        reversed |= ((inverted >> bit) & 1u) << (length - 1 - bit);
      book.word[symbol] = CodeWord{static_cast<uint16_t>(reversed), static_cast<uint8_t>(length)};
      ++next;
    }
  }
  return book;
}

// A code is complete when every bit pattern starts with one of its words;
// then a decoder never meets an invalid code.
template <unsigned N>
constexpr bool isCompleteCode(const uint8_t (&lengths)[N]) {
  uint32_t space = 0;
  for (unsigned symbol = 0; symbol < N; ++symbol) space += 1u << (16 - lengths[symbol]);
  return space == (1u << 16);
}

static_assert(isCompleteCode(LENGTH_CODE_BITS), "length code must be complete");
static_assert(isCompleteCode(DISTANCE_CODE_BITS), "distance code must be complete");
static_assert(isCompleteCode(LITERAL_CODE_BITS), "literal code must be complete");

constexpr CodeBook<LENGTH_SYMBOLS> LENGTH_CODES = buildCodeBook(LENGTH_CODE_BITS);
constexpr CodeBook<DISTANCE_SYMBOLS> DISTANCE_CODES = buildCodeBook(DISTANCE_CODE_BITS);
constexpr CodeBook<LITERAL_SYMBOLS> LITERAL_CODES = buildCodeBook(LITERAL_CODE_BITS);

}  // namespace dcl

#endif
