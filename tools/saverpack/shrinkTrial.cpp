#include "tools/saverpack/shrinkTrial.h"

#include "tools/saverpack/implodeFloor.h"
#include "tools/saverpack/packageBuilder.h"
#include "tools/saverpack/storedFile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace {

// Large enough that a file compressible on the whole shows it here; small
// enough that trying a thousand incompressible files costs about a copy.
const size_t TRIAL_BLOCK = size_t{16} << 10;

}  // namespace

bool firstBlockShrinks(std::FILE *file, int64_t offset, bool fast) {
  std::vector<uint8_t> block(TRIAL_BLOCK), imploded;
  if (!seekTo(file, offset)) return true;
  block.resize(std::fread(block.data(), 1, block.size(), file));
  if (std::ferror(file) != 0) return true;
  // Random and compressed data are shown not to shrink without the coder
  // (the packer's dictionary is 4096 bytes); the answer is the same.
  if (implodeCannotShrink(block.data(), block.size(), 4096)) return false;
  return implodeBytes(block, imploded, fast) && imploded.size() < block.size();
}

bool firstBlockShrinks(const std::string &source, bool fast) {
  std::FILE *file = std::fopen(source.c_str(), "rb");
  if (file == nullptr) return true;
  const bool shrinks = firstBlockShrinks(file, 0, fast);
  std::fclose(file);
  return shrinks;
}

std::vector<bool> firstBlocksShrink(const std::vector<std::string> &sources, bool fast) {
  std::vector<char> shrinks(sources.size(), 0);  // char: each thread writes its own element
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < sources.size();)
      if (!sources[i].empty()) shrinks[i] = firstBlockShrinks(sources[i], fast) ? 1 : 0;
  };
#ifdef _GLIBCXX_HAS_GTHREADS
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned i = 1; i < std::min<size_t>(cores, sources.size()); ++i) pool.emplace_back(work);
  work();
  for (std::thread &thread : pool) thread.join();
#else
  work();  // the Windows build's runtime has no threads: one file after the other
#endif
  return std::vector<bool>(shrinks.begin(), shrinks.end());
}
