// Implode: compresses into a DCL stream.
//
// Matches are found through hash chains over 3-byte prefixes, plus short
// chains over 2-byte prefixes for the 2-byte matches the format allows
// within 256 bytes. Each choice between a literal, a match and a
// lazily deferred match is made on its cost in bits, since the fixed
// codes make short matches far away dearer than literals.
#include "codec/dcl.h"
#include "codec/tokenCodes.h"
#include "codec/workArea.h"

#include <string.h>

namespace dcl {
namespace {

const unsigned HISTORY_SIZE = 4096;  // the largest dictionary
const unsigned BLOCK_END = 2 * HISTORY_SIZE;
const unsigned WINDOW_SIZE = BLOCK_END + MAX_MATCH;
const unsigned HASH_BITS = 12;
const unsigned HASH_SIZE = 1u << HASH_BITS;
const uint16_t NO_POSITION = 0xFFFF;
const unsigned OUTPUT_SIZE = 2048;

// Search effort: candidates tried per position (here every one in the
// dictionary), and the length that ends the search early.
const unsigned MAX_CHAIN = 4096;
const unsigned NICE_LENGTH = 128;

struct Match {
  unsigned length;  // 0: none
  unsigned distance;
};

struct Imploder {
  ReadBuffer read;
  WriteBuffer write;
  void *param;
  bool ascii;
  unsigned dictionaryBits;
  unsigned dictionarySize;
  BitPacker packer;
  unsigned outputCount;
  unsigned filled;  // bytes of the window holding input
  bool inputEnded;
  uint16_t head3[HASH_SIZE];                      // latest position of each 3-byte hash
  uint16_t head2[HASH_SIZE];                      // latest position of each 2-byte hash
  uint16_t previous[HISTORY_SIZE];                // earlier position with the same 3-byte hash
  uint16_t previous2[MAX_DISTANCE_FOR_LENGTH_2];  // the same for 2-byte hashes, near positions only
  uint8_t window[WINDOW_SIZE];
  uint8_t output[OUTPUT_SIZE];

  void fillWindow() {
    while (!inputEnded && filled < WINDOW_SIZE) {
      unsigned size = WINDOW_SIZE - filled;
      const unsigned count = read(reinterpret_cast<char *>(window + filled), &size, param);
      if (count == 0)
        inputEnded = true;
      else
        filled += count < WINDOW_SIZE - filled ? count : WINDOW_SIZE - filled;
    }
  }

  static uint16_t slidePosition(uint16_t position) {
    return position == NO_POSITION || position < HISTORY_SIZE
               ? NO_POSITION
               : static_cast<uint16_t>(position - HISTORY_SIZE);
  }

  // Drops the oldest HISTORY_SIZE bytes; positions move down with them.
  void slideWindow() {
    memmove(window, window + HISTORY_SIZE, filled - HISTORY_SIZE);
    filled -= HISTORY_SIZE;
    for (unsigned i = 0; i < HASH_SIZE; ++i) {
      head3[i] = slidePosition(head3[i]);
      head2[i] = slidePosition(head2[i]);
    }
    for (unsigned i = 0; i < HISTORY_SIZE; ++i) previous[i] = slidePosition(previous[i]);
    for (unsigned i = 0; i < MAX_DISTANCE_FOR_LENGTH_2; ++i) previous2[i] = slidePosition(previous2[i]);
  }

  unsigned hash2(unsigned position) const {
    return (window[position] << 4 ^ window[position + 1]) & (HASH_SIZE - 1);
  }

  unsigned hash3(unsigned position) const {
    const uint32_t key = window[position] << 16 | window[position + 1] << 8 | window[position + 2];
    return (key * 2654435761u) >> (32 - HASH_BITS);
  }

  void insert(unsigned position) {
    if (position + 1 < filled) {
      const unsigned hash = hash2(position);
      previous2[position % MAX_DISTANCE_FOR_LENGTH_2] = head2[hash];
      head2[hash] = static_cast<uint16_t>(position);
    }
    if (position + 2 < filled) {
      const unsigned hash = hash3(position);
      previous[position & (HISTORY_SIZE - 1)] = head3[hash];
      head3[hash] = static_cast<uint16_t>(position);
    }
  }

  Match findMatch(unsigned position) const {
    Match best = {0, 0};
    const unsigned available = filled - position;
    const unsigned maxLength = available < MAX_MATCH ? available : MAX_MATCH;
    if (maxLength < MIN_MATCH) return best;
    const uint8_t *here = window + position;
    if (maxLength > MIN_MATCH) {
      unsigned bestLength = MIN_MATCH - 1;
      unsigned candidate = head3[hash3(position)];
      for (unsigned chain = MAX_CHAIN; candidate != NO_POSITION && chain != 0; --chain) {
        const unsigned distance = position - candidate;
        if (distance > dictionarySize) break;
        const uint8_t *there = window + candidate;
        if (there[bestLength] == here[bestLength] && there[0] == here[0] && there[1] == here[1]) {
          unsigned length = 2;
          while (length < maxLength && there[length] == here[length]) ++length;
          if (length > bestLength && (length > MIN_MATCH || distance <= MAX_DISTANCE_FOR_LENGTH_2)) {
            bestLength = length;
            best = Match{length, distance};
            if (length >= NICE_LENGTH || length == maxLength) break;
          }
        }
        const unsigned next = previous[candidate & (HISTORY_SIZE - 1)];
        if (next == NO_POSITION || next >= candidate) break;
        candidate = next;
      }
    }
    if (best.length == 0) {
      unsigned candidate = head2[hash2(position)];
      while (candidate != NO_POSITION && position - candidate <= MAX_DISTANCE_FOR_LENGTH_2) {
        if (window[candidate] == here[0] && window[candidate + 1] == here[1])
          return Match{MIN_MATCH, position - candidate};
        const unsigned next = previous2[candidate % MAX_DISTANCE_FOR_LENGTH_2];
        if (next == NO_POSITION || next >= candidate) break;
        candidate = next;
      }
    }
    return best;
  }

  Match findAndInsert(unsigned position) {
    const Match match = findMatch(position);
    insert(position);
    return match;
  }

  unsigned literalCost(unsigned position) const { return dcl::literalCost(window[position], ascii); }

  unsigned matchCost(Match match) const { return copyCost(match.length, match.distance, dictionaryBits); }

  // A short match may cost more bits than the literals it replaces. From 8
  // bytes on it never does: a match takes at most 30 bits, a literal 5 or more.
  bool isWorthwhile(Match match, unsigned position) const {
    if (match.length == 0) return false;
    if (match.length >= 8) return true;
    unsigned literals = 0;
    for (unsigned i = 0; i < match.length; ++i) literals += literalCost(position + i);
    return matchCost(match) < literals;
  }

  // Compares bits per covered byte: the match here, or a literal here and
  // the match at the next position.
  bool isBetterDeferred(Match here, Match next, unsigned position) const {
    if (!isWorthwhile(next, position + 1)) return false;
    const unsigned deferredCost = literalCost(position) + matchCost(next);
    return deferredCost * here.length < matchCost(here) * (1 + next.length);
  }

  void flushOutput() {
    unsigned size = outputCount;
    if (size != 0) write(reinterpret_cast<char *>(output), &size, param);
    outputCount = 0;
  }

  void putByte(uint8_t byte) {
    output[outputCount++] = byte;
    if (outputCount == OUTPUT_SIZE) flushOutput();
  }

  void putToken(TokenBits token) {
    packer.add(token, [this](uint8_t byte) { putByte(byte); });
  }

  void putLiteral(unsigned position) { putToken(literalToken(window[position], ascii)); }

  void putMatch(Match match) { putToken(copyToken(match.length, match.distance, dictionaryBits)); }

  void compress() {
    fillWindow();
    unsigned position = 0;
    Match pending = {0, 0};  // match already found at position
    bool havePending = false;
    for (;;) {
      if (position >= BLOCK_END) {
        slideWindow();
        position -= HISTORY_SIZE;
        fillWindow();
      }
      if (position >= filled) break;
      Match match = havePending ? pending : findAndInsert(position);
      havePending = false;
      if (!isWorthwhile(match, position)) {
        putLiteral(position++);
        continue;
      }
      unsigned inserted = position + 1;
      if (match.length < MAX_MATCH && position + 1 < filled) {
        const Match next = findAndInsert(position + 1);
        if (isBetterDeferred(match, next, position)) {
          putLiteral(position++);
          pending = next;
          havePending = true;
          continue;
        }
        inserted = position + 2;
      }
      putMatch(match);
      position += match.length;
      for (; inserted < position; ++inserted) insert(inserted);
    }
    putToken(copyToken(END_OF_STREAM, 0, dictionaryBits));
    packer.finish([this](uint8_t byte) { putByte(byte); });
    flushOutput();
  }
};

static_assert(sizeof(Imploder) + WORK_AREA_ALIGNMENT <= IMPLODE_WORK_SIZE,
              "implode state exceeds its work area");

}  // namespace

unsigned implode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param, unsigned *type,
                 unsigned *dictSize) {
  const unsigned dictionaryBits = dictionaryBitsOf(*dictSize);
  if (dictionaryBits == 0) return CMP_INVALID_DICTSIZE;
  if (*type != CMP_BINARY && *type != CMP_ASCII) return CMP_INVALID_MODE;

  Imploder &imploder = *new (alignWorkArea(workBuf)) Imploder;
  imploder.read = read;
  imploder.write = write;
  imploder.param = param;
  imploder.ascii = *type == CMP_ASCII;
  imploder.dictionaryBits = dictionaryBits;
  imploder.dictionarySize = *dictSize;
  imploder.packer = BitPacker{0, 0};
  imploder.filled = 0;
  imploder.inputEnded = false;
  for (unsigned i = 0; i < HASH_SIZE; ++i) imploder.head3[i] = imploder.head2[i] = NO_POSITION;
  imploder.output[0] = static_cast<uint8_t>(*type);
  imploder.output[1] = static_cast<uint8_t>(dictionaryBits);
  imploder.outputCount = 2;
  imploder.compress();
  return CMP_NO_ERROR;
}

}  // namespace dcl
