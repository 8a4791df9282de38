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
// every continuation goes through one of them. The input is read in blocks
// and kept only as far back as the dictionary and the unsettled path
// reach, so the memory stays small for an input of any size.
//
// Most offers of a long copy cannot win: the position before offered a
// copy one byte longer to the same position, and where that offer started
// no dearer and the longer length costs no more, it is at least as cheap
// and came first. Only the lengths where the length code grows are offered
// then, which changes nothing in the result; a run of a few lengths is
// offered whole, which costs less than picking and changes nothing either.
// Where all copies from a position are short, every length is offered:
// looking for the twins costs more there than the offers they spare.
#include "codec/optimalImplode.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "codec/optimalMatches.h"
#include "codec/tokenCodes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>

namespace dcl {
namespace {

const size_t FIRST_SPAN = 1 << 16;
const uint32_t UNREACHED = 0xFFFFFFFF;
const unsigned SHORT_COPY = 24;   // a position whose copies reach no further offers every length
const unsigned FEW_LENGTHS = 12;  // up to this many lengths are offered all at once, not picked

// The last token of the cheapest way found to a position: its length (1
// for a literal) in the low half, its distance in the high half.
typedef uint32_t Step;

inline Step packStep(unsigned length, unsigned distance) { return length | distance << 16; }
inline unsigned stepLength(Step step) { return step & 0xFFFF; }
inline unsigned stepDistance(Step step) { return step >> 16; }

// The bits of each copy length's code word and extra bits, as wide as the
// prices they are added to.
struct LengthCost {
  uint32_t bits[END_OF_STREAM + 1];
};

constexpr LengthCost buildLengthCost() {
  LengthCost cost{};
  for (unsigned length = MIN_MATCH; length <= END_OF_STREAM; ++length)
    cost.bits[length] = LENGTH_WORDS.word[length].length;
  return cost;
}

constexpr LengthCost LENGTH_COST = buildLengthCost();

// From each length on, the first that costs less than the next one; past
// the longest copy where there is none.
struct RisingLengths {
  uint16_t length[END_OF_STREAM + 1];
};

constexpr RisingLengths buildNextRising() {
  RisingLengths next{};
  unsigned rising = END_OF_STREAM;
  for (unsigned length = END_OF_STREAM + 1; length-- > 0;) {
    if (length >= MIN_MATCH && length < MAX_MATCH &&
        LENGTH_COST.bits[length] < LENGTH_COST.bits[length + 1])
      rising = length;
    next.length[length] = static_cast<uint16_t>(rising);
  }
  return next;
}

constexpr RisingLengths NEXT_RISING = buildNextRising();

// The copies offered from a position, by growing length, and the price
// each offer started from.
struct OfferedCopies {
  unsigned count;
  Copy copy[MAX_MATCH];
  uint32_t start[MAX_MATCH];
};

// The stream, handed to the caller's writer in blocks.
class OutputBlocks {
 public:
  OutputBlocks(WriteBuffer write, void *param) : write_(write), param_(param) {}

  void put(uint8_t byte) {
    block_[count_++] = byte;
    if (count_ == sizeof block_) flush();
  }

  void flush() {
    unsigned size = count_;
    if (size != 0) write_(reinterpret_cast<char *>(block_), &size, param_);
    count_ = 0;
  }

 private:
  WriteBuffer write_;
  void *param_;
  uint8_t block_[1 << 16];
  unsigned count_ = 0;
};

class OptimalImploder {
 public:
  OptimalImploder(InputWindow &input, bool ascii, unsigned dictSize, unsigned dictionaryBits,
                  OutputBlocks &output)
      : input_(input),
        ascii_(ascii),
        dictSize_(dictSize),
        dictionaryBits_(dictionaryBits),
        finder_(input, dictSize),
        cost_(FIRST_SPAN, UNREACHED),
        step_(FIRST_SPAN),
        output_(output),
        packer_{0, 0},
        offered_{} {}

  void compress() {
    cost_[0] = 0;
    size_t position = 0;
    for (;; ++position) {
      const size_t dictionaryStart = position > dictSize_ ? position - dictSize_ : 0;
      const unsigned ahead =
          static_cast<unsigned>(input_.reach(position, std::min(base_, dictionaryStart)));
      if (ahead == 0) break;
      if (position + MAX_MATCH >= base_ + cost_.size()) settle(position);
      priceEdgesFrom(position, ahead);
    }
    writePath(position);
    putToken(copyToken(END_OF_STREAM, 0, dictionaryBits_));
    packer_.finish([this](uint8_t byte) { output_.put(byte); });
    output_.flush();
  }

 private:
  void relax(size_t to, unsigned length, unsigned distance, uint32_t cost) {
    if (cost >= cost_[to - base_]) return;
    cost_[to - base_] = cost;
    step_[to - base_] = packStep(length, distance);
  }

  // maxLength: the input's bytes from position, at most MAX_MATCH.
  void priceEdgesFrom(size_t position, unsigned maxLength) {
    const uint32_t here = cost_[position - base_];
    relax(position + 1, 1, 0, here + literalCost(*input_.at(position), ascii_));
    const OfferedCopies &previous = offered_[position & 1];
    OfferedCopies &current = offered_[~position & 1];
    current.count = 0;
    if (maxLength < MIN_MATCH) return;
    const unsigned pairDistance = finder_.nearestPair(position);
    if (pairDistance != 0)
      relax(position + MIN_MATCH, MIN_MATCH, pairDistance,
            here + copyCost(MIN_MATCH, pairDistance, dictionaryBits_));
    if (maxLength <= MIN_MATCH) return;
    current.count = finder_.findCopies(position, maxLength, current.copy);
    offerCopies(position, here, previous, current);
  }

  // Offers current's copies from position, whose price is here; previous
  // holds the offers from the position before.
  void offerCopies(size_t position, uint32_t here, const OfferedCopies &previous, OfferedCopies &current) {
    unsigned length = MIN_MATCH + 1, twin = 0;
    const bool isShort = current.count != 0 && current.copy[current.count - 1].length <= SHORT_COPY;
    for (unsigned i = 0; i < current.count; ++i) {
      const unsigned distance = current.copy[i].distance;
      current.start[i] = here + 1 + distanceCost(length, distance, dictionaryBits_);
      if (isShort) {
        relaxLengths(position, length, current.copy[i].length, distance, current.start[i]);
        length = current.copy[i].length + 1;
        continue;
      }
      while (length <= current.copy[i].length) {
        // The previous position's offer one byte longer reaches the same
        // position; where it started no dearer and the longer length
        // costs no more, this offer cannot beat it. A few lengths are
        // offered all at once for less than picking out those that can.
        while (twin < previous.count && previous.copy[twin].length <= length) ++twin;
        if (twin == previous.count) {
          relaxLengths(position, length, current.copy[i].length, distance, current.start[i]);
          break;
        }
        const unsigned last = std::min(current.copy[i].length, previous.copy[twin].length - 1);
        if (previous.start[twin] <= current.start[i] && last + 1 - length > FEW_LENGTHS)
          relaxRisingLengths(position, length, last, distance, current.start[i]);
        else
          relaxLengths(position, length, last, distance, current.start[i]);
        length = last + 1;
      }
      length = current.copy[i].length + 1;
    }
  }

  // Offers, of the lengths first to last, those that cost less than one
  // byte more.
  void relaxRisingLengths(size_t position, unsigned first, unsigned last, unsigned distance,
                          uint32_t start) {
    for (unsigned length = NEXT_RISING.length[first]; length <= last;
         length = NEXT_RISING.length[length + 1])
      relax(position + length, length, distance, start + LENGTH_COST.bits[length]);
  }

  // Offers the copies of lengths first to last at one distance. Written
  // without branches: how many lengths there are, and which of them win,
  // varies at random from one call to the next.
  void relaxLengths(size_t position, unsigned first, unsigned last, unsigned distance, uint32_t start) {
    uint32_t *__restrict cost = cost_.data() + (position - base_);
    Step *__restrict step = step_.data() + (position - base_);
#if defined(__SSE2__)
    // Four lengths at a time, the last four ending at last (copies are 3
    // bytes or longer, so they start at 0 or later); those before first
    // are masked off. A length offered twice at one price changes nothing
    // the second time.
    const __m128i sign = _mm_set1_epi32(INT32_MIN);  // unsigned order by signed compares
    const __m128i offerStart = _mm_set1_epi32(static_cast<int>(start));
    const __m128i stepDistance = _mm_set1_epi32(static_cast<int>(packStep(0, distance)));
    const __m128i firstLength = _mm_set1_epi32(static_cast<int>(first));
    for (unsigned block = first;; block += 4) {
      const unsigned at = std::min(block, last - 3);
      const __m128i lengths =
          _mm_add_epi32(_mm_set1_epi32(static_cast<int>(at)), _mm_setr_epi32(0, 1, 2, 3));
      const __m128i offer = _mm_add_epi32(offerStart, load(LENGTH_COST.bits + at));
      const __m128i old = load(cost + at);
      const __m128i better =
          _mm_andnot_si128(_mm_cmpgt_epi32(firstLength, lengths),
                           _mm_cmpgt_epi32(_mm_xor_si128(old, sign), _mm_xor_si128(offer, sign)));
      store(cost + at, select(better, offer, old));
      store(step + at, select(better, _mm_or_si128(lengths, stepDistance), load(step + at)));
      if (at + 3 >= last) break;
    }
#else
    for (unsigned length = first; length <= last; ++length) {
      const uint32_t offer = start + LENGTH_COST.bits[length];
      const bool better = offer < cost[length];
      cost[length] = better ? offer : cost[length];
      step[length] = better ? packStep(length, distance) : step[length];
    }
#endif
  }

#if defined(__SSE2__)
  static __m128i load(const uint32_t *values) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(values));
  }
  static void store(uint32_t *values, __m128i vector) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(values), vector);
  }
  static __m128i select(__m128i mask, __m128i ifSet, __m128i otherwise) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
  }
#endif

  // The position that the cheapest ways to a and to b both pass through.
  size_t meet(size_t a, size_t b) const {
    while (a != b) {
      if (a > b)
        a -= stepLength(step_[a - base_]);
      else
        b -= stepLength(step_[b - base_]);
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
    for (auto cost = cost_.begin(); cost != cost_.end() - from; ++cost)  // the rest is unreached now
      if (*cost != UNREACHED) *cost -= offset;
    base_ = settled;
    offered_[position & 1].count = 0;                    // its prices counted from the old base
    if (position + MAX_MATCH >= base_ + cost_.size()) {  // the ways have not met yet: room for more
      cost_.resize(cost_.size() * 2, UNREACHED);
      step_.resize(step_.size() * 2);
    }
  }

  // Writes the cheapest way from base_ to end.
  void writePath(size_t end) {
    tokens_.clear();
    for (size_t position = end; position > base_; position -= stepLength(step_[position - base_]))
      tokens_.push_back(step_[position - base_]);
    size_t position = base_;
    for (auto token = tokens_.rbegin(); token != tokens_.rend(); ++token) {
      const unsigned length = stepLength(*token);
      putToken(length == 1 ? literalToken(*input_.at(position), ascii_)
                           : copyToken(length, stepDistance(*token), dictionaryBits_));
      position += length;
    }
  }

  void putToken(TokenBits token) {
    packer_.add(token, [this](uint8_t byte) { output_.put(byte); });
  }

  InputWindow &input_;
  bool ascii_;
  unsigned dictSize_;
  unsigned dictionaryBits_;
  MatchFinder finder_;
  size_t base_ = 0;             // the position of cost_[0] and step_[0]
  std::vector<uint32_t> cost_;  // bits of the cheapest way found from base_
  std::vector<Step> step_;
  std::vector<Step> tokens_;
  OutputBlocks &output_;
  BitPacker packer_;
  OfferedCopies offered_[2];  // by position parity: the copies offered from it
};

// Codes input into write after the stream's two header bytes.
unsigned implodeFrom(InputWindow &input, WriteBuffer write, void *param, unsigned type, unsigned dictSize) {
  const unsigned dictionaryBits = dictionaryBitsOf(dictSize);
  if (dictionaryBits == 0) return CMP_INVALID_DICTSIZE;
  if (type != CMP_BINARY && type != CMP_ASCII) return CMP_INVALID_MODE;
  OutputBlocks output(write, param);
  output.put(static_cast<uint8_t>(type));
  output.put(static_cast<uint8_t>(dictionaryBits));
  OptimalImploder(input, type == CMP_ASCII, dictSize, dictionaryBits, output).compress();
  return CMP_NO_ERROR;
}

void appendToVector(char *buf, unsigned *size, void *param) {
  std::vector<uint8_t> &output = *static_cast<std::vector<uint8_t> *>(param);
  output.insert(output.end(), buf, buf + *size);
}

}  // namespace

unsigned implodeOptimal(const uint8_t *data, size_t size, unsigned type, unsigned dictSize,
                        std::vector<uint8_t> &compressed) {
  InputWindow input(data, size);
  compressed.clear();
  return implodeFrom(input, appendToVector, &compressed, type, dictSize);
}

unsigned implodeOptimalStream(ReadBuffer read, WriteBuffer write, void *param, unsigned type,
                              unsigned dictSize) {
  InputWindow input(read, param);
  return implodeFrom(input, write, param, type, dictSize);
}

}  // namespace dcl
