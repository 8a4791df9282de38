// Optimal implode: the shortest stream the format's fixed codes allow.
//
// Every token has a fixed price in bits, so the shortest stream is a
// shortest path through the input, from position to position: one edge for
// the literal at each position and one for every copy length the
// dictionary offers there. A copy of a given length is priced at the
// nearest distance that gives it, as a nearer distance never costs more.
// Positions are priced in order, each from all edges that reach it.
//
// The path is written out as far as it is settled: up to the last position
// that the cheapest ways to all still open positions pass through, since
// every continuation goes through one of them. So the memory stays small
// for an input of any size.
#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "codec/tokenCodes.h"

#include <string.h>

#include <algorithm>

namespace dcl {
namespace {

const unsigned HASH_BITS = 15;
const size_t RING_SIZE = 8192;  // more positions than the largest dictionary reaches back
const size_t NO_POSITION = ~static_cast<size_t>(0);
const size_t FIRST_SPAN = 1 << 16;
const uint32_t UNREACHED = 0xFFFFFFFF;

struct Copy {
  unsigned length;
  unsigned distance;
};

// Finds, at each position, the nearest distance for every copy length.
//
// Copies of 3 bytes and more come from binary trees, one per hash of the
// first 3 bytes, over the positions in the dictionary: ordered by the
// bytes that follow each position (up to MAX_MATCH of them, an input that
// ends first counting as smaller), and each node newer than those below
// it. Every position is searched for and then made the root. For any
// length, the nearest position matching that far lies on the search path:
// every node between the two in byte order matches as far, so none of
// them is newer. The path runs from new to old, so a copy longer than all
// before it on the path is the nearest of its length.
class MatchFinder {
 public:
  MatchFinder(const uint8_t *data, unsigned dictSize)
      : data_(data),
        dictSize_(dictSize),
        pairHead_(1u << 16, NO_POSITION),
        root_(1u << HASH_BITS, NO_POSITION),
        children_(2 * RING_SIZE) {}

  // The nearest 2-byte match in reach of the shortest copy; 0 for none.
  // Enters position for later searches.
  unsigned nearestPair(size_t position) {
    size_t &latest = pairHead_[data_[position] | data_[position + 1] << 8];
    const size_t distance = latest == NO_POSITION ? 0 : position - latest;
    latest = position;
    return distance <= MAX_DISTANCE_FOR_LENGTH_2 ? static_cast<unsigned>(distance) : 0;
  }

  // Copies of 3 bytes and longer, by growing length and distance: each
  // is the nearest for its length and every shorter one down to the last.
  // Enters position into its tree.
  unsigned findCopies(size_t position, unsigned maxLength, Copy *copies) {
    const uint8_t *here = data_ + position;
    size_t &root = root_[hashKey(here)];
    size_t candidate = root;
    root = position;
    // Where the next node below and above position in byte order goes,
    // and how far those bounds match: every node between matches as far.
    size_t *below = &children_[2 * (position % RING_SIZE)], *above = below + 1;
    unsigned belowLength = 0, aboveLength = 0, longest = MIN_MATCH, count = 0;
    while (candidate != NO_POSITION && position - candidate <= dictSize_) {
      const uint8_t *there = data_ + candidate;
      const unsigned length = commonLength(there, here, std::min(belowLength, aboveLength), maxLength);
      if (length > longest) copies[count++] = Copy{length, static_cast<unsigned>(position - candidate)};
      longest = std::max(longest, length);
      size_t *links = &children_[2 * (candidate % RING_SIZE)];
      if (length == MAX_MATCH) {  // position matches as far as any copy: it takes the node's place
        *below = links[0];
        *above = links[1];
        return count;
      }
      if (length == maxLength || here[length] < there[length]) {
        *above = candidate, above = &links[0], candidate = links[0], aboveLength = length;
      } else {
        *below = candidate, below = &links[1], candidate = links[1], belowLength = length;
      }
    }
    *below = *above = NO_POSITION;  // the rest is out of the dictionary's reach
    return count;
  }

 private:
  static unsigned hashKey(const uint8_t *bytes) {
    const uint32_t key = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
    return (key * 2654435761u) >> (32 - HASH_BITS);
  }

  static unsigned commonLength(const uint8_t *there, const uint8_t *here, unsigned length,
                               unsigned maxLength) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    while (length + 8 <= maxLength) {  // 8 bytes at a time; the lowest differing one ends the match
      uint64_t a, b;
      memcpy(&a, there + length, 8);
      memcpy(&b, here + length, 8);
      if (a != b) return length + static_cast<unsigned>(__builtin_ctzll(a ^ b)) / 8;
      length += 8;
    }
#endif
    while (length < maxLength && there[length] == here[length]) ++length;
    return length;
  }

  const uint8_t *data_;
  unsigned dictSize_;
  std::vector<size_t> pairHead_;  // latest position of each byte pair
  std::vector<size_t> root_;      // latest position of each 3-byte hash, its tree's root
  std::vector<size_t> children_;  // below and above each position in the ring
};

// The last token of the cheapest way found to a position.
struct Step {
  uint16_t length;  // 1: a literal
  uint16_t distance;
};

class OptimalImploder {
 public:
  OptimalImploder(const uint8_t *data, size_t size, bool ascii, unsigned dictSize, unsigned dictionaryBits,
                  std::vector<uint8_t> &output)
      : data_(data),
        size_(size),
        ascii_(ascii),
        dictionaryBits_(dictionaryBits),
        finder_(data, dictSize),
        cost_(FIRST_SPAN, UNREACHED),
        step_(FIRST_SPAN),
        output_(output),
        packer_{0, 0} {}

  void compress() {
    cost_[0] = 0;
    for (size_t position = 0; position < size_; ++position) {
      if (position + MAX_MATCH >= base_ + cost_.size()) settle(position);
      priceEdgesFrom(position);
    }
    writePath(size_);
    putToken(copyToken(END_OF_STREAM, 0, dictionaryBits_));
    packer_.finish([this](uint8_t byte) { output_.push_back(byte); });
  }

 private:
  void relax(size_t to, unsigned length, unsigned distance, uint32_t cost) {
    if (cost >= cost_[to - base_]) return;
    cost_[to - base_] = cost;
    step_[to - base_] = Step{static_cast<uint16_t>(length), static_cast<uint16_t>(distance)};
  }

  void priceEdgesFrom(size_t position) {
    const uint32_t here = cost_[position - base_];
    relax(position + 1, 1, 0, here + literalCost(data_[position], ascii_));
    const unsigned maxLength = static_cast<unsigned>(std::min<size_t>(MAX_MATCH, size_ - position));
    if (maxLength < MIN_MATCH) return;
    const unsigned pairDistance = finder_.nearestPair(position);
    if (pairDistance != 0)
      relax(position + MIN_MATCH, MIN_MATCH, pairDistance,
            here + copyCost(MIN_MATCH, pairDistance, dictionaryBits_));
    if (maxLength <= MIN_MATCH) return;
    const unsigned count = finder_.findCopies(position, maxLength, copies_);
    unsigned length = MIN_MATCH + 1;
    for (unsigned i = 0; i < count; ++i) {
      const unsigned distance = copies_[i].distance;
      const uint32_t start = here + 1 + distanceCost(length, distance, dictionaryBits_);
      for (; length <= copies_[i].length; ++length)
        relax(position + length, length, distance, start + LENGTH_WORDS.word[length].length);
    }
  }

  // The position that the cheapest ways to a and to b both pass through.
  size_t meet(size_t a, size_t b) const {
    while (a != b) {
      if (a > b)
        a -= step_[a - base_].length;
      else
        b -= step_[b - base_].length;
    }
    return a;
  }

  // Writes out the path as far as it is settled, before pricing from
  // position: any path on goes through one of the last MAX_MATCH
  // positions, so the point all their cheapest ways share is on it. Each
  // of those ways starts there or later, so the prices of the open
  // positions can be counted from there.
  void settle(size_t position) {
    size_t settled = position;
    for (size_t open = position; open > base_ && open + MAX_MATCH > position + 1;)
      settled = meet(settled, --open);
    writePath(settled);
    const ptrdiff_t from = static_cast<ptrdiff_t>(settled - base_);
    std::copy(cost_.begin() + from, cost_.end(), cost_.begin());
    std::copy(step_.begin() + from, step_.end(), step_.begin());
    std::fill(cost_.end() - from, cost_.end(), UNREACHED);
    const uint32_t offset = cost_[0];
    for (uint32_t &cost : cost_)
      if (cost != UNREACHED) cost -= offset;
    base_ = settled;
    if (position + MAX_MATCH >= base_ + cost_.size()) {  // the ways have not met yet: room for more
      cost_.resize(cost_.size() * 2, UNREACHED);
      step_.resize(step_.size() * 2);
    }
  }

  // Writes the cheapest way from base_ to end.
  void writePath(size_t end) {
    tokens_.clear();
    for (size_t position = end; position > base_; position -= step_[position - base_].length)
      tokens_.push_back(step_[position - base_]);
    size_t position = base_;
    for (auto token = tokens_.rbegin(); token != tokens_.rend(); ++token) {
      putToken(token->length == 1 ? literalToken(data_[position], ascii_)
                                  : copyToken(token->length, token->distance, dictionaryBits_));
      position += token->length;
    }
  }

  void putToken(TokenBits token) {
    packer_.add(token, [this](uint8_t byte) { output_.push_back(byte); });
  }

  const uint8_t *data_;
  size_t size_;
  bool ascii_;
  unsigned dictionaryBits_;
  MatchFinder finder_;
  size_t base_ = 0;             // the position of cost_[0] and step_[0]
  std::vector<uint32_t> cost_;  // bits of the cheapest way found from base_
  std::vector<Step> step_;
  std::vector<Step> tokens_;
  std::vector<uint8_t> &output_;
  BitPacker packer_;
  Copy copies_[MAX_MATCH];
};

}  // namespace

unsigned implodeOptimal(const uint8_t *data, size_t size, unsigned type, unsigned dictSize,
                        std::vector<uint8_t> &compressed) {
  const unsigned dictionaryBits = dictionaryBitsOf(dictSize);
  if (dictionaryBits == 0) return CMP_INVALID_DICTSIZE;
  if (type != CMP_BINARY && type != CMP_ASCII) return CMP_INVALID_MODE;
  compressed.assign({static_cast<uint8_t>(type), static_cast<uint8_t>(dictionaryBits)});
  OptimalImploder(data, size, type == CMP_ASCII, dictSize, dictionaryBits, compressed).compress();
  return CMP_NO_ERROR;
}

}  // namespace dcl
