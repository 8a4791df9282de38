// Explode: expands a DCL stream.
//
// The stream, as this decoder reads it:
//
// - Byte 0 is the literal mode: 0 (binary) sends a literal as its 8 bits,
//   1 (ASCII) sends it in the fixed literal code of dclTables.h.
// - Byte 1 is the dictionary size as the count of low distance bits:
//   4, 5 or 6 for 1024, 2048 or 4096 bytes.
// - Then come tokens, packed from the least significant bit of each byte
//   on, with no regard for byte boundaries. Every code word is sent as
//   dclTables.h stores it, every plain number low bit first.
// - A token starts with one flag bit. 0: a literal follows. 1: a copy of
//   earlier output follows, as
//     length:   a length code word, then the extra bits of its symbol,
//               added to the symbol's base: 2 to 518 bytes;
//     distance: a distance code word giving the high bits of distance - 1,
//               then its low bits: 2 of them for a length of 2, else as
//               many as byte 1 says.
//   A distance of up to 256 goes with a length of 2, up to the dictionary
//   size with longer ones.
// - The length 519 (the length code word of symbol 15 with all 8 extra
//   bits set) ends the stream; no distance follows it, and the bits after
//   it in its last byte mean nothing.
// - A copy may overlap the bytes it makes (distance < length), which
//   repeats a pattern, but may not reach back past the first byte made.
//
// The work area holds the input buffer and a window of two halves: the
// lower half keeps the last 4096 bytes as history for copies, the upper
// half collects new output. When the upper half is full it is written out
// and moved down.
#include "codec/dcl.h"
#include "codec/dclTables.h"
#include "codec/workArea.h"

#include <stddef.h>
#include <string.h>

namespace dcl {
namespace {

const unsigned HISTORY_SIZE = 4096;
const unsigned FLUSH_MARK = 2 * HISTORY_SIZE;
const unsigned INPUT_SIZE = 2048;
// Copies move chunks of this many bytes, which may run past their end.
const unsigned COPY_CHUNK = 16;
const unsigned SHORT_CHUNK = 8;

// Decoding tables: indexed by the next bits of the stream, each entry holds
// a symbol and the length of its code word.
const unsigned LENGTH_LOOKUP_BITS = 7;
const unsigned DISTANCE_LOOKUP_BITS = 8;

// Sets every entry of a table indexed by the next tableBits stream bits
// whose low bits are the code word `bits` of `length` bits.
template <typename Entry>
constexpr void fillCodeSlots(Entry *table, unsigned tableBits, unsigned bits, unsigned length,
                             Entry value) {
  for (unsigned index = bits; index < (1u << tableBits); index += 1u << length) table[index] = value;
}

struct SymbolEntry {
  uint8_t symbol;
  uint8_t codeLength;
};

struct DistanceDecoder {
  SymbolEntry entry[1u << DISTANCE_LOOKUP_BITS];
};

constexpr DistanceDecoder buildDistanceDecoder() {
  DistanceDecoder decoder{};
  for (unsigned symbol = 0; symbol < DISTANCE_SYMBOLS; ++symbol) {
    const CodeWord word = DISTANCE_CODES.word[symbol];
    fillCodeSlots(decoder.entry, DISTANCE_LOOKUP_BITS, word.bits, word.length,
                  SymbolEntry{static_cast<uint8_t>(symbol), word.length});
  }
  return decoder;
}

// A length code word, resolved: the symbol's base, the word's length and
// the count of extra bits after it.
struct LengthEntry {
  uint16_t base;
  uint8_t codeLength;
  uint8_t extraBits;
};

struct LengthDecoder {
  LengthEntry entry[1u << LENGTH_LOOKUP_BITS];
};

constexpr LengthDecoder buildLengthDecoder() {
  LengthDecoder decoder{};
  for (unsigned symbol = 0; symbol < LENGTH_SYMBOLS; ++symbol) {
    const CodeWord word = LENGTH_CODES.word[symbol];
    fillCodeSlots(decoder.entry, LENGTH_LOOKUP_BITS, word.bits, word.length,
                  LengthEntry{LENGTH_BASE[symbol], word.length, LENGTH_EXTRA_BITS[symbol]});
  }
  return decoder;
}

constexpr LengthDecoder LENGTH_DECODER = buildLengthDecoder();
constexpr DistanceDecoder DISTANCE_DECODER = buildDistanceDecoder();

// An ASCII-mode literal's code word follows its flag bit. The table,
// indexed by the code bits after the flag as far as the longest code word
// reaches, holds symbol << 8 | the token's bits, flag included: one lookup
// per literal. At 16 KiB it is too large for the work area and for the
// library's file, so each ASCII-mode call builds it on its stack.
constexpr unsigned longestLiteralCode() {
  unsigned longest = 0;
  for (unsigned symbol = 0; symbol < LITERAL_SYMBOLS; ++symbol)
    longest = LITERAL_CODE_BITS[symbol] > longest ? LITERAL_CODE_BITS[symbol] : longest;
  return longest;
}

const unsigned MAX_LITERAL_CODE_BITS = longestLiteralCode();
const unsigned MAX_ASCII_LITERAL_BITS = 1 + MAX_LITERAL_CODE_BITS;

// The literal symbols by growing code length.
struct SymbolsByLength {
  uint8_t symbol[LITERAL_SYMBOLS];
  uint16_t firstOfLength[MAX_LITERAL_CODE_BITS + 2];  // index into symbol; the last is the count
};

constexpr SymbolsByLength sortSymbolsByLength() {
  SymbolsByLength sorted{};
  unsigned count = 0;
  for (unsigned length = 0; length <= MAX_LITERAL_CODE_BITS; ++length) {
    sorted.firstOfLength[length] = static_cast<uint16_t>(count);
    for (unsigned symbol = 0; symbol < LITERAL_SYMBOLS; ++symbol)
      if (LITERAL_CODE_BITS[symbol] == length) sorted.symbol[count++] = static_cast<uint8_t>(symbol);
  }
  sorted.firstOfLength[MAX_LITERAL_CODE_BITS + 1] = static_cast<uint16_t>(count);
  return sorted;
}

constexpr SymbolsByLength LITERALS_BY_LENGTH = sortSymbolsByLength();

struct AsciiLiteralTable {
  uint16_t entry[1u << MAX_LITERAL_CODE_BITS];

  // Built one bit at a time, as a table of the first bits doubled, with
  // the code words exactly that long written in: copies of whole blocks,
  // which are quick enough to do at every call.
  AsciiLiteralTable() {
    entry[0] = 0;  // every code word is longer than none
    for (unsigned bits = 1; bits <= MAX_LITERAL_CODE_BITS; ++bits) {
      memcpy(entry + (1u << (bits - 1)), entry, sizeof entry[0] << (bits - 1));
      for (unsigned i = LITERALS_BY_LENGTH.firstOfLength[bits];
           i < LITERALS_BY_LENGTH.firstOfLength[bits + 1]; ++i) {
        const unsigned symbol = LITERALS_BY_LENGTH.symbol[i];
        entry[LITERAL_CODES.word[symbol].bits] = static_cast<uint16_t>(symbol << 8 | (1 + bits));
      }
    }
  }

  // The literal whose flag bit is the lowest of tokenBits, known to be 0.
  // With 2-byte entries, the code bits' index doubled is tokenBits itself,
  // so the lookup needs no shift on the path from one literal to the next.
  unsigned operator[](uint64_t tokenBits) const {
    const size_t offset = static_cast<size_t>(tokenBits) & ((sizeof entry - 1) & ~static_cast<size_t>(1));
    uint16_t literal;
    memcpy(&literal, reinterpret_cast<const uint8_t *>(entry) + offset, sizeof literal);
    return literal;
  }
};

// One 64-bit buffer on every host: a refill leaves at least 56 bits in
// it, more than the 30 of the longest copy.
typedef uint64_t BitBuffer;
const unsigned BIT_BUFFER_BITS = 64;
const unsigned REFILLED_BITS = BIT_BUFFER_BITS - 8;
// Binary-mode literals that a refilled buffer always holds (a flag and 8
// bits each), and the mask of their flags.
const unsigned LITERAL_GROUP = REFILLED_BITS / 9;
const unsigned LITERAL_GROUP_BITS = 9 * LITERAL_GROUP;
constexpr BitBuffer literalGroupFlags() {
  BitBuffer flags = 0;
  for (unsigned i = 0; i < LITERAL_GROUP; ++i) flags |= static_cast<BitBuffer>(1) << (9 * i);
  return flags;
}
const BitBuffer LITERAL_GROUP_FLAGS = literalGroupFlags();
// ASCII-mode literals that a refilled buffer always holds.
const unsigned ASCII_LITERAL_GROUP = REFILLED_BITS / MAX_ASCII_LITERAL_BITS;

inline uint64_t load64(const uint8_t *bytes) {
  uint64_t value = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  memcpy(&value, bytes, sizeof value);  // one load on the hosts we build for
#else
  for (unsigned i = 0; i < sizeof value; ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
#endif
  return value;
}

// The reading position. Above count the buffer holds zeros or the bits of
// the bytes that follow, which a refill ORs in again unchanged; so bits
// past the end of the input read as zeros, and count goes below zero once
// a token has used them.
struct BitCursor {
  BitBuffer bits;  // unread bits, next bit lowest
  int count;
  const uint8_t *next;  // next byte of the input buffer
  const uint8_t *end;

  // Room for two refills without reaching the end of the input buffer.
  bool holdsTwoWords() const { return end - next >= static_cast<ptrdiff_t>(2 * sizeof(BitBuffer)); }

  void refill() {
    bits |= load64(next) << count;
    next += (BIT_BUFFER_BITS - 1 - count) / 8;
    count |= REFILLED_BITS;
  }

  void skip(unsigned bitCount) {
    bits >>= bitCount;
    count -= static_cast<int>(bitCount);
  }
};

// The longest copy: a flag, a length code word with its extra bits, and a
// distance code word with its low bits.
const unsigned MAX_COPY_BITS = 1 + 7 + 8 + 8 + 6;

// Result of a decoding step that has not ended the stream.
const unsigned GOING_ON = ~0u;

// Reads a copy's flag, length code word and extra bits.
inline unsigned readLength(BitCursor &in) {
  const BitBuffer code = in.bits >> 1;
  const LengthEntry entry = LENGTH_DECODER.entry[code & ((1u << LENGTH_LOOKUP_BITS) - 1)];
  const unsigned length = entry.base + ((code >> entry.codeLength) & ((1u << entry.extraBits) - 1));
  in.skip(1 + entry.codeLength + entry.extraBits);
  return length;
}

inline unsigned readDistance(BitCursor &in, unsigned length, unsigned dictionaryBits) {
  const SymbolEntry entry = DISTANCE_DECODER.entry[in.bits & ((1u << DISTANCE_LOOKUP_BITS) - 1)];
  const unsigned lowBits = length == MIN_MATCH ? 2 : dictionaryBits;
  const unsigned distance =
      ((entry.symbol << lowBits) | ((in.bits >> entry.codeLength) & ((1u << lowBits) - 1))) + 1;
  in.skip(entry.codeLength + lowBits);
  return distance;
}

// Overlapping copies run forward, so a short distance repeats its pattern.
// From a distance of 8 on, whole chunks that never overlap their source
// are moved; the last may write up to COPY_CHUNK - 1 bytes past the copy,
// into the window's slack, where later output overwrites them.
inline void copyMatch(uint8_t *to, unsigned length, unsigned distance) {
  const uint8_t *from = to - distance;
  if (distance >= COPY_CHUNK) {
    for (unsigned i = 0; i < length; i += COPY_CHUNK) memcpy(to + i, from + i, COPY_CHUNK);
  } else if (distance >= SHORT_CHUNK) {
    for (unsigned i = 0; i < length; i += SHORT_CHUNK) memcpy(to + i, from + i, SHORT_CHUNK);
  } else if (distance == 1) {
    memset(to, *from, length);
  } else {
    for (unsigned i = 0; i < length; ++i) to[i] = from[i];
  }
}

struct Exploder {
  ReadBuffer read;
  WriteBuffer write;
  void *param;
  BitCursor cursor;  // while a callback runs; the decoder keeps its own copy
  bool inputEnded;
  unsigned outputPos;     // next free byte of the window
  unsigned historyStart;  // first byte of the window the stream has produced
  uint8_t input[INPUT_SIZE];
  // A step starts below FLUSH_MARK and adds at most a literal group and
  // the longest copy; the last chunk of that may run COPY_CHUNK further.
  uint8_t window[FLUSH_MARK + LITERAL_GROUP + MAX_MATCH + COPY_CHUNK];

  bool fillInput() {
    if (inputEnded) return false;
    unsigned size = INPUT_SIZE;
    unsigned count = read(reinterpret_cast<char *>(input), &size, param);
    if (count == 0) {
      inputEnded = true;
      return false;
    }
    cursor.next = input;
    cursor.end = input + (count < INPUT_SIZE ? count : INPUT_SIZE);
    return true;
  }

  bool nextByte(uint8_t &byte) {
    if (cursor.next == cursor.end && !fillInput()) return false;
    byte = *cursor.next++;
    return true;
  }

  void writeOut(unsigned from, unsigned to) {
    unsigned size = to - from;
    if (size != 0) write(reinterpret_cast<char *>(window + from), &size, param);
  }

  // Writes the new half and keeps its last HISTORY_SIZE bytes as history.
  void slideWindow() {
    writeOut(HISTORY_SIZE, outputPos);
    memcpy(window, window + outputPos - HISTORY_SIZE, HISTORY_SIZE);
    outputPos = HISTORY_SIZE;
    historyStart = 0;
  }

  // Tops the bit buffer up byte by byte near the end of the input buffer,
  // reading more input as needed; stops when the input has ended.
  void refillSlowly() {
    while (cursor.count <= static_cast<int>(REFILLED_BITS)) {
      if (cursor.next == cursor.end && !fillInput()) return;
      cursor.bits |= static_cast<BitBuffer>(*cursor.next++) << cursor.count;
      cursor.count += 8;
    }
  }

  // Decodes a copy after its flag bit is known to be set.
  unsigned putCopy(BitCursor &in, unsigned &out, unsigned firstProduced, unsigned dictionaryBits) {
    const unsigned length = readLength(in);
    if (length == END_OF_STREAM) return in.count < 0 ? CMP_BAD_DATA : CMP_NO_ERROR;
    const unsigned distance = readDistance(in, length, dictionaryBits);
    if (in.count < 0 || distance > out - firstProduced) return CMP_BAD_DATA;
    copyMatch(window + out, length, distance);
    out += length;
    return GOING_ON;
  }

  // One token of either mode, from whatever bits the buffer holds.
  template <bool ASCII>
  unsigned putToken(BitCursor &in, unsigned &out, unsigned firstProduced, unsigned dictionaryBits,
                    const AsciiLiteralTable *literals) {
    if (in.bits & 1) return putCopy(in, out, firstProduced, dictionaryBits);
    const unsigned literal = ASCII ? (*literals)[in.bits] : (in.bits & 0x1FE) << 7 | 9u;
    in.skip(literal & 0xFF);
    if (in.count < 0) return CMP_BAD_DATA;
    window[out++] = static_cast<uint8_t>(literal >> 8);
    return GOING_ON;
  }

  // A binary-mode step away from the end of the input buffer: the literals
  // up to the next copy, at most a group of them, and that copy. The group
  // is written whole, without a test per literal; those past the copy's
  // start are overwritten by it.
  unsigned putLiteralsAndCopy(BitCursor &in, unsigned &out, unsigned firstProduced,
                              unsigned dictionaryBits) {
    in.refill();
    uint8_t *to = window + out;
    for (unsigned i = 0; i < LITERAL_GROUP; ++i) to[i] = static_cast<uint8_t>(in.bits >> (9 * i + 1));
    const BitBuffer flags = in.bits & LITERAL_GROUP_FLAGS;
    if (flags == 0) {  // data that does not repeat: no copy in sight
      out += LITERAL_GROUP;
      in.skip(LITERAL_GROUP_BITS);
      return GOING_ON;
    }
    const unsigned literalBits = static_cast<unsigned>(__builtin_ctzll(flags));
    out += literalBits / 9;
    in.skip(literalBits);
    if (in.count < static_cast<int>(MAX_COPY_BITS)) return GOING_ON;  // the copy starts the next step
    return putCopy(in, out, firstProduced, dictionaryBits);
  }

  // An ASCII-mode step away from the end of the input buffer: the
  // literals up to the next copy, at most a group of them, and that copy.
  unsigned putAsciiLiteralsAndCopy(BitCursor &in, unsigned &out, unsigned firstProduced,
                                   unsigned dictionaryBits, const AsciiLiteralTable &literals) {
    in.refill();
    for (unsigned i = 0; i < ASCII_LITERAL_GROUP; ++i) {
      if (in.bits & 1) {
        if (in.count < static_cast<int>(MAX_COPY_BITS)) return GOING_ON;  // the copy starts the next step
        return putCopy(in, out, firstProduced, dictionaryBits);
      }
      const unsigned literal = literals[in.bits];
      window[out++] = static_cast<uint8_t>(literal >> 8);
      in.skip(literal & 0xFF);
    }
    return GOING_ON;
  }

  // The loop keeps the cursor and the positions in locals: the callbacks
  // may see the work area, so the compiler would otherwise store them back
  // after every token. They go back into the members only where a callback
  // may run. literals: ASCII mode's table.
  template <bool ASCII>
  unsigned decode(unsigned dictionaryBits, const AsciiLiteralTable *literals) {
    BitCursor in = cursor;
    unsigned out = outputPos, firstProduced = historyStart, result = GOING_ON;
    while (result == GOING_ON) {
      if (in.holdsTwoWords()) {
        result = ASCII ? putAsciiLiteralsAndCopy(in, out, firstProduced, dictionaryBits, *literals)
                       : putLiteralsAndCopy(in, out, firstProduced, dictionaryBits);
      } else {
        cursor = in;
        refillSlowly();
        in = cursor;
        result = putToken<ASCII>(in, out, firstProduced, dictionaryBits, literals);
      }
      if (out >= FLUSH_MARK) {
        outputPos = out, cursor = in;
        slideWindow();
        out = outputPos, firstProduced = historyStart;
      }
    }
    outputPos = out;
    return result;
  }

  unsigned decodeAscii(unsigned dictionaryBits) {
    const AsciiLiteralTable literals;
    return decode<true>(dictionaryBits, &literals);
  }

  unsigned run() {
    uint8_t mode, dictionaryBits;
    if (!nextByte(mode) || !nextByte(dictionaryBits)) return CMP_BAD_DATA;
    if (mode > CMP_ASCII || dictionaryBits < 4 || dictionaryBits > 6) return CMP_BAD_DATA;
    const unsigned result =
        mode == CMP_ASCII ? decodeAscii(dictionaryBits) : decode<false>(dictionaryBits, nullptr);
    // What was decoded goes out even when the stream turns out bad.
    writeOut(HISTORY_SIZE, outputPos);
    return result;
  }
};

static_assert(sizeof(Exploder) + WORK_AREA_ALIGNMENT <= EXPLODE_WORK_SIZE,
              "explode state exceeds its work area");

}  // namespace

unsigned explode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param) {
  Exploder &exploder = *new (alignWorkArea(workBuf)) Exploder;
  exploder.read = read;
  exploder.write = write;
  exploder.param = param;
  exploder.cursor = BitCursor{0, 0, exploder.input, exploder.input};
  exploder.inputEnded = false;
  exploder.outputPos = HISTORY_SIZE;
  exploder.historyStart = HISTORY_SIZE;
  return exploder.run();
}

}  // namespace dcl
