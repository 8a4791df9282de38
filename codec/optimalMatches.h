// The input as the optimal coder reads it, and the copies it offers at
// each position: the nearest distance for every copy length, from binary
// trees over the dictionary. Part of optimalImplode.cpp, the one file that
// includes it: in an unnamed namespace, the search is inlined into the
// coder's loop as the file's own functions are, which the coder's speed
// depends on.
#ifndef SAVER_CODEC_OPTIMAL_MATCHES_H
#define SAVER_CODEC_OPTIMAL_MATCHES_H

#include "codec/dcl.h"
#include "codec/dclTables.h"

#include <stddef.h>
#include <stdint.h>
#include <string.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <vector>

namespace dcl {
namespace {

struct Copy {
  unsigned length;
  unsigned distance;
};

// The input from the oldest byte the coder may still look at to a match's
// length ahead of the position it prices: a whole buffer given at once, or
// read in blocks and slid along.
class InputWindow {
 public:
  InputWindow(const uint8_t *data, size_t size) : base_(data), end_(size), ended_(true) {}
  InputWindow(ReadBuffer read, void *param) : read_(read), param_(param), buffer_(READ_BLOCK) {
    base_ = buffer_.data();
  }

  const uint8_t *at(size_t position) const { return base_ + (position - first_); }

  // The bytes readable from position, at most MAX_MATCH; bytes before
  // keepFrom may be dropped to make room.
  size_t reach(size_t position, size_t keepFrom) {
    if (end_ < position + MAX_MATCH && !ended_) refill(keepFrom);
    return std::min<size_t>(MAX_MATCH, end_ - position);
  }

  bool holds(size_t position) const { return position < end_; }

 private:
  static const size_t READ_BLOCK = 1 << 20;

  void refill(size_t keepFrom) {
    const size_t kept = end_ - keepFrom;
    memmove(buffer_.data(), at(keepFrom), kept);
    first_ = keepFrom;
    if (buffer_.size() - kept < READ_BLOCK / 2) buffer_.resize(buffer_.size() * 2);
    base_ = buffer_.data();
    while (!ended_ && end_ - first_ < buffer_.size()) {
      unsigned size = static_cast<unsigned>(buffer_.size() - (end_ - first_));
      const unsigned count =
          read_(reinterpret_cast<char *>(buffer_.data() + (end_ - first_)), &size, param_);
      if (count == 0) ended_ = true;
      end_ += count;
    }
  }

  ReadBuffer read_ = nullptr;
  void *param_ = nullptr;
  std::vector<uint8_t> buffer_;
  const uint8_t *base_;
  size_t first_ = 0;  // the position of base_[0]
  size_t end_ = 0;    // the input read so far
  bool ended_ = false;
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
  MatchFinder(const InputWindow &input, unsigned dictSize)
      : input_(input),
        dictSize_(dictSize),
        pairHead_(1u << 16),
        root_(1u << HASH_BITS),
        children_(2 * RING_SIZE, NO_LINK) {}

  // The nearest 2-byte match in reach of the shortest copy; 0 for none.
  // Enters position for later searches.
  unsigned nearestPair(size_t position) {
    const uint8_t *here = input_.at(position);
    Mark &latest = pairHead_[here[0] | here[1] << 8];
    const size_t distance = sinceMark(position, latest);
    latest = static_cast<Mark>(position);
    if (distance == 0 || distance > MAX_DISTANCE_FOR_LENGTH_2 || distance > position) return 0;
    const uint8_t *there = here - distance;
    return there[0] == here[0] && there[1] == here[1] ? static_cast<unsigned>(distance) : 0;
  }

  // Copies of 3 bytes and longer, by growing length and distance: each
  // is the nearest for its length and every shorter one down to the last.
  // Enters position into its tree.
  //
  // The search goes by distance from position: a link adds to it, and
  // NO_LINK takes it out of the dictionary's reach like a link too long.
  unsigned findCopies(size_t position, unsigned maxLength, Copy *copies) {
    const uint8_t *here = input_.at(position);
    unsigned distance = rootDistance(position, here);
    Bounds bounds(linksOf(position));
    Staircase found{copies, MIN_MATCH, 0};
    unsigned run = 0;  // how far here repeats its first byte, counted when first needed
    while (distance <= dictSize_) {
      const uint8_t *there = here - distance;
      bool isAbove;
      unsigned length = compareFrom(there, here, bounds.shorterLength(), maxLength, isAbove);
      Link *links = linksOf(position - distance);
      if (length == MAX_MATCH) {  // position matches as far as any copy: it takes the node's place
        found.add(length, distance);
        *bounds.below = relink(bounds.belowDistance, distance, links[BELOW]);
        *bounds.above = relink(bounds.aboveDistance, distance, links[ABOVE]);
        return found.count;
      }
      Link link = bounds.pass(distance, links, length, isAbove);
      found.add(length, distance);  // after the side is taken, which then follows the comparison at once
      if (link == 1 && distance < dictSize_ && there[-1] == here[0] &&
          length + 1 < runLength(here, maxLength, run)) {
        const size_t candidate = position - distance;
        const size_t last = runEndsFrom(position, candidate - 1, length + 1, run, isAbove);
        const unsigned steps = static_cast<unsigned>(candidate - last);
        found.addRising(length, distance, steps);
        length += steps;
        distance += steps;
        // Along the chain as a search node by node would go: its links
        // point one back already.
        bounds.moveTo(distance - 1, linksOf(last + 1), length - 1, isAbove);
        link = bounds.pass(distance, linksOf(last), length, isAbove);
      }
      distance += link;
    }
    *bounds.below = *bounds.above = NO_LINK;  // the rest is out of the dictionary's reach
    return found.count;
  }

 private:
  static constexpr unsigned HASH_BITS = 15;
  static constexpr size_t RING_SIZE = 8192;  // more positions than the largest dictionary reaches back

  // A node's links to its children BELOW and ABOVE it: how far back each
  // lies, or NO_LINK for none or one out of the dictionary's reach, which
  // no search goes to. Short links keep the ring small enough for the
  // cache.
  typedef uint16_t Link;
  static constexpr Link NO_LINK = 0xFFFF;  // further than any dictionary reaches
  enum Side : unsigned { BELOW = 0, ABOVE = 1 };

  // The links where the next node below and above position in byte order
  // goes, how far back the nodes they belong to lie, and how far those
  // bounds match: every node between matches as far.
  struct Bounds {
    explicit Bounds(Link *positionLinks) : below(positionLinks + BELOW), above(positionLinks + ABOVE) {}

    unsigned shorterLength() const { return std::min(belowLength, aboveLength); }

    // Makes the node distance back, whose links are links and which
    // matches position for length bytes, the bound on its side; returns
    // the link on to the nodes between. The bytes pick the side at
    // random, so it selects rather than branches.
    Link pass(unsigned distance, Link *links, unsigned length, bool isAbove) {
      *(isAbove ? above : below) = static_cast<Link>(distance - (isAbove ? aboveDistance : belowDistance));
      return moveTo(distance, links, length, isAbove);
    }

    // The same where the link to the node is in place already.
    Link moveTo(unsigned distance, Link *links, unsigned length, bool isAbove) {
      above = isAbove ? &links[BELOW] : above;
      below = isAbove ? below : &links[ABOVE];
      aboveDistance = isAbove ? distance : aboveDistance;
      belowDistance = isAbove ? belowDistance : distance;
      aboveLength = isAbove ? length : aboveLength;
      belowLength = isAbove ? belowLength : length;
      return links[isAbove ? BELOW : ABOVE];
    }

    Link *below, *above;
    unsigned belowDistance = 0, aboveDistance = 0;  // position itself to begin with
    unsigned belowLength = 0, aboveLength = 0;
  };

  // The copies found so far, each longer than those before.
  struct Staircase {
    Copy *copies;
    unsigned longest;
    unsigned count;

    void add(unsigned length, size_t distance) {
      if (length <= longest) return;
      copies[count++] = Copy{length, static_cast<unsigned>(distance)};
      longest = length;
    }

    // Adds the copies of length + 1 to length + steps, each one further
    // back than the last.
    void addRising(unsigned length, size_t distance, unsigned steps) {
      for (unsigned step = longest >= length ? longest - length + 1 : 1; step <= steps; ++step)
        add(length + step, distance + step);
    }
  };

  static unsigned hashKey(const uint8_t *bytes) {
    const uint32_t key = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
    return (key * 2654435761u) >> (32 - HASH_BITS);
  }

  static unsigned commonLength(const uint8_t *there, const uint8_t *here, unsigned length,
                               unsigned maxLength) {
#if defined(__SSE2__)
    while (length + 16 <= maxLength) {  // 16 bytes at a time; the first differing one ends the match
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(there + length));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(here + length));
      const unsigned differ = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))) & 0xFFFF;
      if (differ != 0) return length + static_cast<unsigned>(__builtin_ctz(differ));
      length += 16;
    }
#endif
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

  // How far the node at there matches here from length on, at most
  // maxLength; isAbove tells whether the node sorts above here. The side
  // decides which way the search goes, a branch taken at random: comparing
  // the next eight bytes as one big-endian number settles it soonest,
  // which is what a mispredicted branch waits for.
  static unsigned compareFrom(const uint8_t *there, const uint8_t *here, unsigned length,
                              unsigned maxLength, bool &isAbove) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (length + 8 <= maxLength) {
      uint64_t a, b;
      memcpy(&a, there + length, 8);
      memcpy(&b, here + length, 8);
      if (a != b) {
        isAbove = __builtin_bswap64(b) < __builtin_bswap64(a);
        return length + static_cast<unsigned>(__builtin_ctzll(a ^ b)) / 8;
      }
      length += 8;
    }
#endif
    length = commonLength(there, here, length, maxLength);
    isAbove = length == maxLength || here[length] < there[length];
    return length;
  }

  // How far here repeats its first byte, at most maxLength; kept in run.
  static unsigned runLength(const uint8_t *here, unsigned maxLength, unsigned &run) {
    if (run == 0) run = 1 + commonLength(here, here + 1, 0, maxLength - 1);
    return run;
  }

  // Where an older run of the byte that position starts a run of run
  // bytes with ended, its last positions make a chain: each one before the
  // last, matching one byte further, on the same side. Returns the last
  // node of the chain from node, which matches for length bytes, that the
  // search from position passes; the links along it stay as they are.
  size_t runEndsFrom(size_t position, size_t node, unsigned length, unsigned run, bool isAbove) {
    const uint8_t runByte = *input_.at(position);
    const uint8_t *there = input_.at(node);
    const size_t oldest = position > dictSize_ ? position - dictSize_ : 0;
    const size_t runStart =
        node + length + 1 > run ? node + length + 1 - run : 0;  // a longer run would match
    const size_t last = std::max(oldest, runStart);
    const Link *links = linksOf(node) + (isAbove ? BELOW : ABOVE);
    for (; node > last && *links == 1 && there[-1] == runByte; --node, --there)
      links = node % RING_SIZE == 0 ? linksOf(node - 1) + (isAbove ? BELOW : ABOVE) : links - 2;
    return node;
  }

  Link *linksOf(size_t node) { return &children_[2 * (node % RING_SIZE)]; }

  // The link from the bound boundDistance back to the child that link
  // leads to from the node distance back.
  Link relink(unsigned boundDistance, unsigned distance, Link link) const {
    const unsigned fromBound = distance + link - boundDistance;
    return fromBound > dictSize_ ? NO_LINK : static_cast<Link>(fromBound);
  }

  // How far back the root of position's tree lies, which position then
  // becomes; more than the dictionary reaches when it has no node in
  // reach.
  unsigned rootDistance(size_t position, const uint8_t *here) {
    const unsigned hash = hashKey(here);
    const size_t distance = sinceMark(position, root_[hash]);
    root_[hash] = static_cast<Mark>(position);
    if (distance == 0 || distance > dictSize_ || distance > position || hashKey(here - distance) != hash)
      return NO_LINK;
    return static_cast<unsigned>(distance);
  }

  // The low bits of a position, enough to tell any two in the dictionary's
  // reach apart. A mark may belong to a position long gone whose low bits
  // come round again; a search takes it only when the bytes there still
  // have the mark's pair or hash, since such a position would have been
  // entered and marked itself.
  typedef uint16_t Mark;

  static size_t sinceMark(size_t position, Mark mark) { return static_cast<Mark>(position - mark); }

  const InputWindow &input_;
  unsigned dictSize_;
  std::vector<Mark> pairHead_;  // latest position of each byte pair
  std::vector<Mark> root_;      // latest position of each 3-byte hash, its tree's root
  std::vector<Link> children_;  // below and above each position in the ring
};

}  // namespace
}  // namespace dcl

#endif
