#include "tools/saverpack/implodeFloor.h"

#include "codec/tokenCodes.h"

#include <algorithm>
#include <vector>

namespace {

const unsigned LITERAL_BITS = 9;  // flag and byte, binary mode
const uint32_t NO_POSITION = UINT32_MAX;
// A block with this many earlier starts of one pair in reach repeats too
// much to be shown incompressible; imploding it answers sooner.
const unsigned MAX_CANDIDATES = 64;

// For each length, the most bits a copy of at most that length saves
// against sending its bytes as literals: each at its cheapest code.
struct SavingBook {
  unsigned bits[dcl::MAX_MATCH + 1];
};

SavingBook savingBook(unsigned dictionaryBits) {
  const unsigned cheapestDistance =
      *std::min_element(std::begin(dcl::DISTANCE_CODE_BITS), std::end(dcl::DISTANCE_CODE_BITS));
  SavingBook book{};
  unsigned best = 0;
  for (unsigned length = dcl::MIN_MATCH; length <= dcl::MAX_MATCH; ++length) {
    const unsigned copyBits = 1 + dcl::LENGTH_WORDS.word[length].length + cheapestDistance +
                              dcl::lowDistanceBits(length, dictionaryBits);
    if (LITERAL_BITS * length > copyBits) best = std::max(best, LITERAL_BITS * length - copyBits);
    book.bits[length] = best;
  }
  return book;
}

// The earlier positions of each byte pair, newest first, and the longest
// copy the format allows from a position: 2 bytes only from near enough,
// longer ones from anywhere in the dictionary.
class PairChains {
 public:
  PairChains(const uint8_t *data, size_t size, unsigned dictSize)
      : data_(data), size_(size), dictSize_(dictSize), head_(1u << 16, NO_POSITION), previous_(size) {}

  // The longest copy from position, which is then entered; false when
  // there were too many candidates to follow.
  bool longestCopy(size_t position, unsigned &longest) {
    const unsigned reach = static_cast<unsigned>(std::min<size_t>(dcl::MAX_MATCH, size_ - position));
    uint32_t &head = head_[data_[position] | data_[position + 1] << 8];
    longest = 0;
    unsigned followed = 0;
    for (uint32_t candidate = head; candidate != NO_POSITION && position - candidate <= dictSize_;
         candidate = previous_[candidate]) {
      if (++followed > MAX_CANDIDATES) return false;
      unsigned length = 2;
      while (length < reach && data_[candidate + length] == data_[position + length]) ++length;
      if (length == dcl::MIN_MATCH && position - candidate > dcl::MAX_DISTANCE_FOR_LENGTH_2) continue;
      longest = std::max(longest, length);
      if (longest == reach) break;
    }
    previous_[position] = head;
    head = static_cast<uint32_t>(position);
    return true;
  }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t dictSize_;
  std::vector<uint32_t> head_;
  std::vector<uint32_t> previous_;
};

}  // namespace

bool implodeCannotShrink(const uint8_t *data, size_t size, unsigned dictSize) {
  const unsigned dictionaryBits = dcl::dictionaryBitsOf(dictSize);
  if (dictionaryBits == 0 || size < 2 || size >= NO_POSITION) return false;
  const SavingBook book = savingBook(dictionaryBits);
  const int64_t endBits = dcl::copyToken(dcl::END_OF_STREAM, 0, dictionaryBits).count;
  const int64_t headerBytes = 2, literalBits = static_cast<int64_t>(LITERAL_BITS * size);
  // The stream is never shorter than this many bits of copies saved allow.
  const int64_t allowance = literalBits + endBits - 8 * (static_cast<int64_t>(size) - headerBytes - 1);
  PairChains chains(data, size, dictSize);
  int64_t saved = 0;
  for (size_t position = 0; position + 1 < size; ++position) {
    unsigned longest = 0;
    if (!chains.longestCopy(position, longest)) return false;
    saved += book.bits[longest];
    if (saved >= allowance) return false;
  }
  return true;
}
