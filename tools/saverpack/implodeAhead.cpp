#include "tools/saverpack/implodeAhead.h"

#ifdef _GLIBCXX_HAS_GTHREADS
#include "package/integrityRecord.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/packageBuilder.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace {

// Members above this stream through the writer: their input and stream
// would crowd the others out of the bytes held ahead.
const int64_t AHEAD_MEMBER_CAP = int64_t{16} << 20;
// The input bytes of the members taken and not yet stored. A member held
// is its input while it is imploded, then its stream, no longer than that;
// with the coders' own memory the packer stays well under 256 MiB.
const int64_t AHEAD_BYTES = int64_t{64} << 20;

enum class Stage : char { WRITER, WAITING, TAKEN, READY, UNREADABLE };

// Reads and implodes one member, as storeFile would store it.
bool readAndImplode(const std::string &source, bool fast, ReadFile &file) {
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  if (!readWholeFile(source, file.bytes, error)) return false;
  file.readSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  file.size = static_cast<int64_t>(file.bytes.size());
  file.crc = crc32Of(file.bytes.data(), file.bytes.size());
  if (!implodeWhenSmaller(file.bytes, file.stream, fast)) return true;
  file.bytes = std::vector<uint8_t>();
  file.stream.shrink_to_fit();  // held until stored: no room the stream grew into
  return true;
}

}  // namespace

struct ImplodeAhead::Pool {
  std::vector<std::string> sources;
  bool fast = false;
  std::vector<int64_t> sizes;
  std::vector<Stage> stages;
  std::vector<ReadFile> files;
  size_t nextToTake = 0;
  int64_t bytesHeld = 0;
  bool stopping = false;
  std::mutex lock;
  std::condition_variable changed;
  std::vector<std::thread> workers;

  // The next member in table order once the bytes held leave room for it;
  // false when there is none or the pool stops.
  bool takeNext(std::unique_lock<std::mutex> &held, size_t &index) {
    for (;;) {
      while (nextToTake < stages.size() && stages[nextToTake] != Stage::WAITING) ++nextToTake;
      if (stopping || nextToTake == stages.size()) return false;
      index = nextToTake;
      // One member is always let through: those held are all before it,
      // and the writer frees them.
      if (bytesHeld == 0 || bytesHeld + sizes[index] <= AHEAD_BYTES) break;
      changed.wait(held);
    }
    bytesHeld += sizes[index];
    stages[index] = Stage::TAKEN;
    ++nextToTake;
    return true;
  }

  void work() {
    std::unique_lock<std::mutex> held(lock);
    for (size_t index; takeNext(held, index);) {
      held.unlock();
      ReadFile file;
      const bool read = readAndImplode(sources[index], fast, file);
      held.lock();
      files[index] = std::move(file);
      stages[index] = read ? Stage::READY : Stage::UNREADABLE;
      changed.notify_all();
    }
  }
};

ImplodeAhead::ImplodeAhead(const std::vector<std::string> &sources, bool fast)
    : pool_(std::make_unique<Pool>()) {
  Pool &pool = *pool_;
  pool.sources = sources;
  pool.fast = fast;
  pool.sizes.assign(sources.size(), 0);
  pool.stages.assign(sources.size(), Stage::WRITER);
  pool.files.resize(sources.size());
  size_t ahead = 0;
  for (size_t i = 0; i < sources.size(); ++i) {
    std::error_code fault;
    if (sources[i].empty()) continue;
    pool.sizes[i] = static_cast<int64_t>(std::filesystem::file_size(pathOfUtf8(sources[i]), fault));
    if (fault || pool.sizes[i] == 0 || pool.sizes[i] > AHEAD_MEMBER_CAP) continue;
    pool.stages[i] = Stage::WAITING;
    ++ahead;
  }
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  for (size_t i = 0; i < std::min(cores, ahead); ++i) pool.workers.emplace_back([&pool] { pool.work(); });
}

ImplodeAhead::~ImplodeAhead() {
  {
    const std::lock_guard<std::mutex> held(pool_->lock);
    pool_->stopping = true;
  }
  pool_->changed.notify_all();
  for (std::thread &worker : pool_->workers) worker.join();
}

bool ImplodeAhead::take(size_t index, ReadFile &file) {
  Pool &pool = *pool_;
  std::unique_lock<std::mutex> held(pool.lock);
  if (pool.stages[index] == Stage::WRITER) return false;
  pool.changed.wait(held, [&] { return pool.stages[index] >= Stage::READY; });
  const bool read = pool.stages[index] == Stage::READY;
  file = std::move(pool.files[index]);
  pool.files[index] = ReadFile();
  pool.stages[index] = Stage::WRITER;
  pool.bytesHeld -= pool.sizes[index];
  pool.changed.notify_all();
  return read;
}

#else

// The Windows build's runtime has no threads: the writer stores every
// member from its file, one after the other.
struct ImplodeAhead::Pool {};

ImplodeAhead::ImplodeAhead(const std::vector<std::string> & /*sources*/, bool /*fast*/) {}
ImplodeAhead::~ImplodeAhead() = default;

bool ImplodeAhead::take(size_t /*index*/, ReadFile & /*file*/) { return false; }

#endif
