// The bits of each token of a DCL stream, as both coders send and price
// them, and the packing of those bits into bytes.
#ifndef SAVER_CODEC_TOKEN_CODES_H
#define SAVER_CODEC_TOKEN_CODES_H

#include "codec/dclTables.h"

namespace dcl {

// The low distance bits of a dictionary size; 0 for a size the format
// does not have.
inline unsigned dictionaryBitsOf(unsigned dictSize) {
  switch (dictSize) {
    case 1024:
      return 4;
    case 2048:
      return 5;
    case 4096:
      return 6;
    default:
      return 0;
  }
}

// Length code word followed by its extra bits, for every length.
struct LengthBook {
  CodeWord word[END_OF_STREAM + 1];
};

constexpr LengthBook buildLengthBook() {
  LengthBook book{};
  for (unsigned symbol = 0; symbol < LENGTH_SYMBOLS; ++symbol) {
    const CodeWord code = LENGTH_CODES.word[symbol];
    for (unsigned extra = 0; extra < (1u << LENGTH_EXTRA_BITS[symbol]); ++extra)
      book.word[LENGTH_BASE[symbol] + extra] =
          CodeWord{static_cast<uint16_t>(code.bits | extra << code.length),
                   static_cast<uint8_t>(code.length + LENGTH_EXTRA_BITS[symbol])};
  }
  return book;
}

constexpr LengthBook LENGTH_WORDS = buildLengthBook();

// A token's bits in sending order, its flag first: at most 30.
struct TokenBits {
  uint32_t bits;
  unsigned count;
};

inline TokenBits literalToken(uint8_t byte, bool ascii) {
  if (!ascii) return TokenBits{static_cast<uint32_t>(byte) << 1, 9};
  const CodeWord word = LITERAL_CODES.word[byte];
  return TokenBits{static_cast<uint32_t>(word.bits) << 1, 1u + word.length};
}

inline unsigned literalCost(uint8_t byte, bool ascii) { return ascii ? 1u + LITERAL_CODE_BITS[byte] : 9u; }

// Low distance bits sent as they are: fewer for the shortest copies.
inline unsigned lowDistanceBits(unsigned length, unsigned dictionaryBits) {
  return length == MIN_MATCH ? 2 : dictionaryBits;
}

// A copy; with END_OF_STREAM as its length, the end code, which has no
// distance.
inline TokenBits copyToken(unsigned length, unsigned distance, unsigned dictionaryBits) {
  const CodeWord lengthWord = LENGTH_WORDS.word[length];
  TokenBits token = {1u | static_cast<uint32_t>(lengthWord.bits) << 1, 1u + lengthWord.length};
  if (length == END_OF_STREAM) return token;
  const unsigned lowBits = lowDistanceBits(length, dictionaryBits);
  const unsigned value = distance - 1;
  const CodeWord distanceWord = DISTANCE_CODES.word[value >> lowBits];
  token.bits |= (distanceWord.bits | (value & ((1u << lowBits) - 1)) << distanceWord.length) << token.count;
  token.count += distanceWord.length + lowBits;
  return token;
}

// The bits of a copy's distance, which a nearer distance never makes more.
inline unsigned distanceCost(unsigned length, unsigned distance, unsigned dictionaryBits) {
  const unsigned lowBits = lowDistanceBits(length, dictionaryBits);
  return DISTANCE_CODE_BITS[(distance - 1) >> lowBits] + lowBits;
}

inline unsigned copyCost(unsigned length, unsigned distance, unsigned dictionaryBits) {
  return 1 + LENGTH_WORDS.word[length].length + distanceCost(length, distance, dictionaryBits);
}

// Packs tokens into bytes, least significant bit first; hands them to
// putByte four at a time, as a loop over the one or two bytes each token
// fills would take a branch at random for every token.
struct BitPacker {
  uint64_t pending;  // bits not yet handed on: fewer than 32 between calls
  unsigned count;

  template <typename PutByte>
  void add(TokenBits token, PutByte putByte) {
    pending |= static_cast<uint64_t>(token.bits) << count;
    count += token.count;
    if (count < 32) return;
    for (unsigned byte = 0; byte < 4; ++byte) putByte(static_cast<uint8_t>(pending >> 8 * byte));
    pending >>= 32;
    count -= 32;
  }

  // The bytes left, the last one's unused bits zero.
  template <typename PutByte>
  void finish(PutByte putByte) {
    for (; count > 0; count = count > 8 ? count - 8 : 0, pending >>= 8)
      putByte(static_cast<uint8_t>(pending));
    pending = 0;
  }
};

}  // namespace dcl

#endif
