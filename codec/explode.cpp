// Explode: expands a DCL stream.
//
// The work area holds the input buffer and a window of two halves: the
// lower half keeps the last 4096 bytes as history for copies, the upper
// half collects new output. When the upper half is full it is written out
// and moved down. Every copy distance is checked against the bytes really
// produced, so no byte the stream did not create is ever read.
#include "codec/dcl.h"
#include "codec/dclTables.h"
#include "codec/workArea.h"

#include <string.h>

namespace dcl {
namespace {

const unsigned HISTORY_SIZE = 4096;
const unsigned FLUSH_MARK = 2 * HISTORY_SIZE;
const unsigned WINDOW_SIZE = FLUSH_MARK + MAX_MATCH;
const unsigned INPUT_SIZE = 2048;
const unsigned COPY_SLACK = 8;

// Decoding tables: indexed by the next bits of the stream, each entry holds
// a symbol and the length of its code word.
const unsigned LENGTH_LOOKUP_BITS = 7;
const unsigned DISTANCE_LOOKUP_BITS = 8;
const unsigned LITERAL_LOOKUP_BITS = 8;
const unsigned LITERAL_SUBTABLE_BITS = 13 - LITERAL_LOOKUP_BITS;
const uint16_t SUBTABLE_FLAG = 0x8000;

struct SymbolEntry {
  uint8_t symbol;
  uint8_t codeLength;
};

template <unsigned N, unsigned BITS>
struct DirectDecoder {
  SymbolEntry entry[1u << BITS];
};

template <unsigned N, unsigned BITS>
constexpr DirectDecoder<N, BITS> buildDirectDecoder(const CodeBook<N> &book) {
  DirectDecoder<N, BITS> decoder{};
  for (unsigned symbol = 0; symbol < N; ++symbol) {
    const CodeWord word = book.word[symbol];
    for (unsigned index = word.bits; index < (1u << BITS); index += 1u << word.length)
      decoder.entry[index] = SymbolEntry{static_cast<uint8_t>(symbol), word.length};
  }
  return decoder;
}

// Literal codes run to 13 bits: words up to 8 bits decode from the first
// table; longer words share an 8-bit prefix whose entry names a subtable
// indexed by the following 5 bits. Entries hold symbol | codeLength << 8.
constexpr unsigned countLiteralSubtables() {
  bool used[1u << LITERAL_LOOKUP_BITS] = {};
  unsigned count = 0;
  for (unsigned symbol = 0; symbol < LITERAL_SYMBOLS; ++symbol) {
    const CodeWord word = LITERAL_CODES.word[symbol];
    if (word.length <= LITERAL_LOOKUP_BITS) continue;
    const unsigned prefix = word.bits & ((1u << LITERAL_LOOKUP_BITS) - 1);
    if (!used[prefix]) ++count;
    used[prefix] = true;
  }
  return count;
}

const unsigned LITERAL_SUBTABLES = countLiteralSubtables();

struct LiteralDecoder {
  uint16_t first[1u << LITERAL_LOOKUP_BITS];
  uint16_t sub[LITERAL_SUBTABLES << LITERAL_SUBTABLE_BITS];
};

constexpr LiteralDecoder buildLiteralDecoder() {
  LiteralDecoder decoder{};
  unsigned subtables = 0;
  for (unsigned symbol = 0; symbol < LITERAL_SYMBOLS; ++symbol) {
    const CodeWord word = LITERAL_CODES.word[symbol];
    const uint16_t value = static_cast<uint16_t>(symbol | word.length << 8);
    if (word.length <= LITERAL_LOOKUP_BITS) {
      for (unsigned index = word.bits; index < (1u << LITERAL_LOOKUP_BITS); index += 1u << word.length)
        decoder.first[index] = value;
      continue;
    }
    const unsigned prefix = word.bits & ((1u << LITERAL_LOOKUP_BITS) - 1);
    if (!(decoder.first[prefix] & SUBTABLE_FLAG))
      decoder.first[prefix] = static_cast<uint16_t>(SUBTABLE_FLAG | subtables++);
    const unsigned base = (decoder.first[prefix] & ~SUBTABLE_FLAG) << LITERAL_SUBTABLE_BITS;
    const unsigned rest = word.bits >> LITERAL_LOOKUP_BITS;
    const unsigned restLength = word.length - LITERAL_LOOKUP_BITS;
    for (unsigned index = rest; index < (1u << LITERAL_SUBTABLE_BITS); index += 1u << restLength)
      decoder.sub[base + index] = value;
  }
  return decoder;
}

constexpr DirectDecoder<LENGTH_SYMBOLS, LENGTH_LOOKUP_BITS> LENGTH_DECODER =
    buildDirectDecoder<LENGTH_SYMBOLS, LENGTH_LOOKUP_BITS>(LENGTH_CODES);
constexpr DirectDecoder<DISTANCE_SYMBOLS, DISTANCE_LOOKUP_BITS> DISTANCE_DECODER =
    buildDirectDecoder<DISTANCE_SYMBOLS, DISTANCE_LOOKUP_BITS>(DISTANCE_CODES);
constexpr LiteralDecoder LITERAL_DECODER = buildLiteralDecoder();

// The widest register-sized buffer: on 64-bit hosts one refill serves a
// whole token.
typedef size_t BitBuffer;
const unsigned BIT_BUFFER_BITS = sizeof(BitBuffer) * 8;
// Longest token part decoded from one refill: 8 distance code bits and
// 6 low bits; a flag, 7 length code bits and 8 extra bits take 16.
const unsigned DISTANCE_PART_BITS = 14;

BitBuffer loadLittleEndian(const uint8_t *bytes) {
  BitBuffer value = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  memcpy(&value, bytes, sizeof value);  // one load on the hosts we build for
#else
  for (unsigned i = 0; i < sizeof(BitBuffer); ++i) value |= static_cast<BitBuffer>(bytes[i]) << (8 * i);
#endif
  return value;
}

struct Exploder {
  ReadBuffer read;
  WriteBuffer write;
  void *param;
  // Unread bits, next bit lowest. Above bitCount it holds zeros or the
  // bits of the bytes that follow, which a refill ORs in again unchanged.
  BitBuffer bitBuffer;
  unsigned bitCount;
  unsigned inputPos;
  unsigned inputEnd;
  bool inputEnded;
  unsigned outputPos;     // next free byte of the window
  unsigned historyStart;  // first byte of the window the stream has produced
  uint8_t input[INPUT_SIZE];
  uint8_t window[WINDOW_SIZE + COPY_SLACK];

  bool fillInput() {
    if (inputEnded) return false;
    unsigned size = INPUT_SIZE;
    unsigned count = read(reinterpret_cast<char *>(input), &size, param);
    if (count == 0) {
      inputEnded = true;
      return false;
    }
    inputPos = 0;
    inputEnd = count < INPUT_SIZE ? count : INPUT_SIZE;
    return true;
  }

  bool nextByte(uint8_t &byte) {
    if (inputPos == inputEnd && !fillInput()) return false;
    byte = input[inputPos++];
    return true;
  }

  // Tops the bit buffer up to within a byte of full while input lasts.
  void refill() {
    if (inputEnd - inputPos >= sizeof(BitBuffer)) {
      bitBuffer |= loadLittleEndian(input + inputPos) << bitCount;
      inputPos += (BIT_BUFFER_BITS - 1 - bitCount) / 8;
      bitCount |= BIT_BUFFER_BITS - 8;
      return;
    }
    while (bitCount <= BIT_BUFFER_BITS - 8) {
      if (inputPos == inputEnd && !fillInput()) return;
      bitBuffer |= static_cast<BitBuffer>(input[inputPos++]) << bitCount;
      bitCount += 8;
    }
  }

  // Drops bits the caller has decoded; false when the stream had fewer.
  bool consume(unsigned count) {
    if (count > bitCount) return false;
    bitBuffer >>= count;
    bitCount -= count;
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

  // The ASCII-mode literal that follows the flag bit, and the bits both take.
  unsigned decodeAsciiLiteral(unsigned &literal) const {
    const BitBuffer code = bitBuffer >> 1;
    uint16_t value = LITERAL_DECODER.first[code & 0xFF];
    if (value & SUBTABLE_FLAG)
      value = LITERAL_DECODER.sub[((value & ~SUBTABLE_FLAG) << LITERAL_SUBTABLE_BITS) |
                                  ((code >> LITERAL_LOOKUP_BITS) & ((1u << LITERAL_SUBTABLE_BITS) - 1))];
    literal = value & 0xFF;
    return 1 + (value >> 8);
  }

  // Binary-mode literals (a flag and 8 bits each), as many in a row as the
  // buffered bits and the window hold.
  void copyBinaryLiterals() {
    do {
      window[outputPos++] = static_cast<uint8_t>(bitBuffer >> 1);
      bitBuffer >>= 9;
      bitCount -= 9;
    } while (bitCount >= 9 && !(bitBuffer & 1) && outputPos < FLUSH_MARK);
  }

  unsigned decode(bool ascii, unsigned dictionaryBits) {
    for (;;) {
      refill();
      if (bitCount == 0) return CMP_BAD_DATA;  // no end code
      if (!(bitBuffer & 1)) {
        if (ascii) {
          unsigned literal;
          if (!consume(decodeAsciiLiteral(literal))) return CMP_BAD_DATA;
          window[outputPos++] = static_cast<uint8_t>(literal);
        } else {
          if (bitCount < 9) return CMP_BAD_DATA;
          copyBinaryLiterals();
        }
      } else {
        const BitBuffer code = bitBuffer >> 1;
        const SymbolEntry lengthEntry = LENGTH_DECODER.entry[code & ((1u << LENGTH_LOOKUP_BITS) - 1)];
        const unsigned extraBits = LENGTH_EXTRA_BITS[lengthEntry.symbol];
        const unsigned length =
            LENGTH_BASE[lengthEntry.symbol] + ((code >> lengthEntry.codeLength) & ((1u << extraBits) - 1));
        if (!consume(1 + lengthEntry.codeLength + extraBits)) return CMP_BAD_DATA;
        if (length == END_OF_STREAM) return CMP_NO_ERROR;

        if (bitCount < DISTANCE_PART_BITS) refill();
        const SymbolEntry distanceEntry = DISTANCE_DECODER.entry[bitBuffer & ((1u << DISTANCE_LOOKUP_BITS) - 1)];
        const unsigned lowBits = length == MIN_MATCH ? 2 : dictionaryBits;
        const unsigned distance = ((distanceEntry.symbol << lowBits) |
                                   ((bitBuffer >> distanceEntry.codeLength) & ((1u << lowBits) - 1))) + 1;
        if (!consume(distanceEntry.codeLength + lowBits)) return CMP_BAD_DATA;
        if (distance > outputPos - historyStart) return CMP_BAD_DATA;
        copyMatch(length, distance);
      }
      if (outputPos >= FLUSH_MARK) slideWindow();
    }
  }

  // Overlapping copies run forward, so a short distance repeats its
  // pattern. From a distance of COPY_SLACK on, whole chunks are copied;
  // the last may write up to COPY_SLACK - 1 bytes past the match, into
  // the slack, where later output overwrites them.
  void copyMatch(unsigned length, unsigned distance) {
    uint8_t *to = window + outputPos;
    const uint8_t *from = to - distance;
    outputPos += length;
    if (distance >= COPY_SLACK) {
      for (unsigned i = 0; i < length; i += COPY_SLACK) memcpy(to + i, from + i, COPY_SLACK);
    } else if (distance == 1) {
      memset(to, *from, length);
    } else {
      for (unsigned i = 0; i < length; ++i) to[i] = from[i];
    }
  }

  unsigned run() {
    uint8_t mode, dictionaryBits;
    if (!nextByte(mode) || !nextByte(dictionaryBits)) return CMP_BAD_DATA;
    if (mode > CMP_ASCII || dictionaryBits < 4 || dictionaryBits > 6) return CMP_BAD_DATA;
    const unsigned result = decode(mode == CMP_ASCII, dictionaryBits);
    // What was decoded goes out even when the stream turns out bad.
    writeOut(HISTORY_SIZE, outputPos);
    return result;
  }
};

static_assert(sizeof(Exploder) + WORK_AREA_ALIGNMENT <= EXPLODE_WORK_SIZE, "explode state exceeds its work area");

}  // namespace

unsigned explode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param) {
  Exploder &exploder = *new (alignWorkArea(workBuf)) Exploder;
  exploder.read = read;
  exploder.write = write;
  exploder.param = param;
  exploder.bitBuffer = 0;
  exploder.bitCount = 0;
  exploder.inputPos = 0;
  exploder.inputEnd = 0;
  exploder.inputEnded = false;
  exploder.outputPos = HISTORY_SIZE;
  exploder.historyStart = HISTORY_SIZE;
  return exploder.run();
}

}  // namespace dcl
