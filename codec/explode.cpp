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
const unsigned COPY_SLACK = 16;
const unsigned SHORT_CHUNK = 8;

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

// The ASCII-mode literal at the start of code: symbol | code length << 8.
uint16_t asciiLiteral(size_t code) {
  const uint16_t value = LITERAL_DECODER.first[code & 0xFF];
  if (!(value & SUBTABLE_FLAG)) return value;
  return LITERAL_DECODER.sub[((value & ~SUBTABLE_FLAG) << LITERAL_SUBTABLE_BITS) |
                             ((code >> LITERAL_LOOKUP_BITS) & ((1u << LITERAL_SUBTABLE_BITS) - 1))];
}

// The widest register-sized buffer: on 64-bit hosts one refill serves a
// whole token.
typedef size_t BitBuffer;
const unsigned BIT_BUFFER_BITS = sizeof(BitBuffer) * 8;
// Longest token part decoded from one refill: 8 distance code bits and
// 6 low bits; a flag, 7 length code bits and 8 extra bits take 16.
const unsigned DISTANCE_PART_BITS = 14;
// Binary-mode literals that a full buffer always holds (a flag and 8 bits
// each), and the mask of their flags.
const unsigned LITERAL_GROUP = (BIT_BUFFER_BITS - 8) / 9;
const unsigned LITERAL_GROUP_BITS = 9 * LITERAL_GROUP;
constexpr BitBuffer literalGroupFlags() {
  BitBuffer flags = 0;
  for (unsigned i = 0; i < LITERAL_GROUP; ++i) flags |= static_cast<BitBuffer>(1) << (9 * i);
  return flags;
}
const BitBuffer LITERAL_GROUP_FLAGS = literalGroupFlags();

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

  // Tops bits up byte by byte near the end of the input buffer, reading
  // more input as needed; stops when the input has ended.
  void refillSlowly(BitBuffer &bits, unsigned &count, const uint8_t *&next, const uint8_t *&end) {
    while (count <= BIT_BUFFER_BITS - 8) {
      if (next == end) {
        if (!fillInput()) return;
        next = input;
        end = input + inputEnd;
      }
      bits |= static_cast<BitBuffer>(*next++) << count;
      count += 8;
    }
  }

  unsigned finish(unsigned out, unsigned result) {
    outputPos = out;
    return result;
  }

  // The decoding loop keeps the bit buffer, the input position and the
  // output position in locals: the callbacks may see the work area, so the
  // compiler would otherwise store them back after every token. They go
  // back into the members only where a callback runs.
  unsigned decode(bool ascii, unsigned dictionaryBits) {
    BitBuffer bits = bitBuffer;
    unsigned count = bitCount;
    const uint8_t *next = input + inputPos;
    const uint8_t *end = input + inputEnd;
    unsigned out = outputPos;
    unsigned firstProduced = historyStart;
    for (;;) {
      // Tops the bit buffer up to within a byte of full while input lasts.
      if (static_cast<size_t>(end - next) >= sizeof(BitBuffer)) {
        bits |= loadLittleEndian(next) << count;
        next += (BIT_BUFFER_BITS - 1 - count) / 8;
        count |= BIT_BUFFER_BITS - 8;
      } else {
        refillSlowly(bits, count, next, end);
        if (count == 0) return finish(out, CMP_BAD_DATA);  // no end code
      }
      if (!(bits & 1)) {
        if (ascii) {
          const uint16_t literal = asciiLiteral(bits >> 1);
          const unsigned used = 1 + (literal >> 8);
          if (used > count) return finish(out, CMP_BAD_DATA);
          window[out++] = static_cast<uint8_t>(literal);
          bits >>= used;
          count -= used;
        } else {
          if (count < 9) return finish(out, CMP_BAD_DATA);
          // A full buffer of literals, the common case in data that does
          // not repeat, is written without a test per byte.
          if (count >= LITERAL_GROUP_BITS && !(bits & LITERAL_GROUP_FLAGS) && out + LITERAL_GROUP <= FLUSH_MARK) {
            for (unsigned i = 0; i < LITERAL_GROUP; ++i) window[out + i] = static_cast<uint8_t>(bits >> (9 * i + 1));
            out += LITERAL_GROUP;
            bits >>= LITERAL_GROUP_BITS;
            count -= LITERAL_GROUP_BITS;
            if (out >= FLUSH_MARK || count < 9 || (bits & 1)) continue;
          }
          // As many literals in a row as the buffered bits and the window hold.
          do {
            window[out++] = static_cast<uint8_t>(bits >> 1);
            bits >>= 9;
            count -= 9;
          } while (count >= 9 && !(bits & 1) && out < FLUSH_MARK);
        }
      } else {
        const BitBuffer code = bits >> 1;
        const SymbolEntry lengthEntry = LENGTH_DECODER.entry[code & ((1u << LENGTH_LOOKUP_BITS) - 1)];
        const unsigned extraBits = LENGTH_EXTRA_BITS[lengthEntry.symbol];
        const unsigned length =
            LENGTH_BASE[lengthEntry.symbol] + ((code >> lengthEntry.codeLength) & ((1u << extraBits) - 1));
        const unsigned lengthBits = 1 + lengthEntry.codeLength + extraBits;
        if (lengthBits > count) return finish(out, CMP_BAD_DATA);
        bits >>= lengthBits;
        count -= lengthBits;
        if (length == END_OF_STREAM) return finish(out, CMP_NO_ERROR);

        if (count < DISTANCE_PART_BITS) refillSlowly(bits, count, next, end);
        const SymbolEntry distanceEntry = DISTANCE_DECODER.entry[bits & ((1u << DISTANCE_LOOKUP_BITS) - 1)];
        const unsigned lowBits = length == MIN_MATCH ? 2 : dictionaryBits;
        const unsigned distance =
            ((distanceEntry.symbol << lowBits) | ((bits >> distanceEntry.codeLength) & ((1u << lowBits) - 1))) + 1;
        const unsigned distanceBits = distanceEntry.codeLength + lowBits;
        if (distanceBits > count) return finish(out, CMP_BAD_DATA);
        bits >>= distanceBits;
        count -= distanceBits;
        if (distance > out - firstProduced) return finish(out, CMP_BAD_DATA);
        copyMatch(window + out, length, distance);
        out += length;
      }
      if (out >= FLUSH_MARK) {
        outputPos = out;
        slideWindow();
        out = outputPos;
        firstProduced = historyStart;
      }
    }
  }

  // Overlapping copies run forward, so a short distance repeats its
  // pattern. From a distance of 8 on, whole chunks of up to COPY_SLACK
  // bytes that never overlap their source are copied; the last may write up
  // to COPY_SLACK - 1 bytes past the match, into the slack, where later
  // output overwrites them.
  static void copyMatch(uint8_t *to, unsigned length, unsigned distance) {
    const uint8_t *from = to - distance;
    if (distance >= COPY_SLACK) {
      for (unsigned i = 0; i < length; i += COPY_SLACK) memcpy(to + i, from + i, COPY_SLACK);
    } else if (distance >= SHORT_CHUNK) {
      for (unsigned i = 0; i < length; i += SHORT_CHUNK) memcpy(to + i, from + i, SHORT_CHUNK);
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
