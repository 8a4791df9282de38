// Throughput and compressed size of our codec (its greedy and its optimal
// coder) beside StormLib and libdynamite, on the same mixed corpus and the same streams: C headers as
// text, shared libraries as binary data, and random bytes. MB/s counts
// uncompressed bytes.
#include "chunkedStreams.h"
#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "sampleData.h"
#include "stormLib.h"

extern "C" {
#include <libdynamite.h>
}

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

const size_t TEXT_BYTES = 6 << 20;
const size_t BINARY_BYTES = 6 << 20;
const size_t RANDOM_BYTES = 4 << 20;
const size_t MAX_BYTES_PER_FILE = 256 << 10;

// Files below root whose names pass the filter, in sorted order, up to size.
Bytes collectFiles(const fs::path &root, bool (*wanted)(const fs::path &), size_t size) {
  std::vector<fs::path> paths;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; it != end; it.increment(error))
    if (it->is_regular_file(error) && !it->is_symlink(error) && wanted(it->path()))
      paths.push_back(it->path());
  std::sort(paths.begin(), paths.end());
  Bytes out;
  for (const fs::path &path : paths) {
    std::ifstream in(path, std::ios::binary);
    Bytes content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    content.resize(std::min({content.size(), MAX_BYTES_PER_FILE, size - out.size()}));
    out.insert(out.end(), content.begin(), content.end());
    if (out.size() == size) break;
  }
  return out;
}

bool isHeader(const fs::path &path) { return path.extension() == ".h" || path.extension() == ""; }
bool isSharedLibrary(const fs::path &path) {
  return path.filename().string().find(".so") != std::string::npos;
}

const std::vector<Bytes> &corpus() {
  static const std::vector<Bytes> pieces = [] {
    std::vector<Bytes> result = {collectFiles("/usr/include", isHeader, TEXT_BYTES),
                                 collectFiles("/usr/lib/x86_64-linux-gnu", isSharedLibrary, BINARY_BYTES),
                                 sample::random(RANDOM_BYTES)};
    // Generated stand-ins where the system folders are thin.
    if (result[0].size() < TEXT_BYTES) result[0] = sample::text(TEXT_BYTES);
    if (result[1].size() < BINARY_BYTES) result[1] = sample::executableLike(BINARY_BYTES);
    return result;
  }();
  return pieces;
}

int64_t corpusBytes() {
  int64_t total = 0;
  for (const Bytes &piece : corpus()) total += static_cast<int64_t>(piece.size());
  return total;
}

using Implode = unsigned (*)(dcl::ReadBuffer, dcl::WriteBuffer, char *, void *, unsigned *, unsigned *);
using Explode = unsigned (*)(dcl::ReadBuffer, dcl::WriteBuffer, char *, void *);

std::vector<Bytes> implodeAll(Implode implode, unsigned type, unsigned dictSize) {
  std::vector<char> work(STORM_WORK_SIZE);
  std::vector<Bytes> streams;
  for (const Bytes &piece : corpus()) {
    ChunkedStreams io = streamsOver(piece, 4096);
    io.output.reserve(piece.size() * 2);
    unsigned typeArgument = type, dictArgument = dictSize;
    implode(readChunk, writeAll, work.data(), &io, &typeArgument, &dictArgument);
    streams.push_back(std::move(io.output));
  }
  return streams;
}

// Our streams, made once per mode and dictionary, for all decoders.
const std::vector<Bytes> &ourStreams(unsigned type, unsigned dictSize) {
  static std::vector<Bytes> cache[2][3];
  std::vector<Bytes> &streams = cache[type][dictSize >> 11];
  if (streams.empty()) streams = implodeAll(dcl::implode, type, dictSize);
  return streams;
}

const char *const PIECE_NAMES[] = {"text", "binary", "random"};

int64_t totalSize(const std::vector<Bytes> &streams) {
  int64_t total = 0;
  for (const Bytes &stream : streams) total += static_cast<int64_t>(stream.size());
  return total;
}

void reportSizes(benchmark::State &state, const std::vector<Bytes> &streams) {
  const int64_t compressed = totalSize(streams);
  for (size_t i = 0; i < streams.size(); ++i)
    state.counters[PIECE_NAMES[i]] = static_cast<double>(streams[i].size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * corpusBytes());
  state.counters["compressed"] = static_cast<double>(compressed);
  state.counters["ratio%"] = 100.0 * static_cast<double>(compressed) / static_cast<double>(corpusBytes());
}

// Our coders' output beside StormLib's, made once per mode and dictionary.
void reportAgainstStormLib(benchmark::State &state, const std::vector<Bytes> &streams, unsigned type,
                           unsigned dictSize) {
  static std::vector<Bytes> cache[2][3];
  std::vector<Bytes> &storm = cache[type][dictSize >> 11];
  if (storm.empty()) storm = implodeAll(::implode, type, dictSize);
  state.counters["vs_stormlib"] =
      static_cast<double>(totalSize(streams)) / static_cast<double>(totalSize(storm));
}

void benchImplode(benchmark::State &state, Implode implode, unsigned type, unsigned dictSize) {
  corpus();
  std::vector<Bytes> streams;
  for (auto _ : state) streams = implodeAll(implode, type, dictSize);
  reportSizes(state, streams);
  if (implode == dcl::implode) reportAgainstStormLib(state, streams, type, dictSize);
}

void benchOptimalImplode(benchmark::State &state, unsigned type, unsigned dictSize) {
  corpus();
  std::vector<Bytes> streams(corpus().size());
  for (auto _ : state)
    for (size_t i = 0; i < corpus().size(); ++i)
      dcl::implodeOptimal(corpus()[i].data(), corpus()[i].size(), type, dictSize, streams[i]);
  reportSizes(state, streams);
  reportAgainstStormLib(state, streams, type, dictSize);
}

// Expands every stream once; true when each gives back its corpus piece.
template <typename ExpandOne>
bool expandAll(const std::vector<Bytes> &streams, ExpandOne expandOne, bool verify) {
  for (size_t i = 0; i < streams.size(); ++i) {
    Bytes output;
    output.reserve(corpus()[i].size());
    if (!expandOne(streams[i], output) || (verify && output != corpus()[i])) return false;
  }
  return true;
}

// Checks the expansions once, then times them.
template <typename ExpandOne>
void timeExpansions(benchmark::State &state, const std::vector<Bytes> &streams, ExpandOne expandOne) {
  if (!expandAll(streams, expandOne, true)) {
    state.SkipWithError("wrong expansion");
    return;
  }
  for (auto _ : state) expandAll(streams, expandOne, false);
  reportSizes(state, streams);
}

void benchExplode(benchmark::State &state, Explode explode, unsigned type, unsigned dictSize) {
  std::vector<char> work(STORM_WORK_SIZE);
  timeExpansions(state, ourStreams(type, dictSize), [&](const Bytes &stream, Bytes &output) {
    ChunkedStreams io = streamsOver(stream, 4096);
    io.output.swap(output);
    const bool done = explode(readChunk, writeAll, work.data(), &io) == 0;
    output.swap(io.output);
    return done;
  });
}

struct DynamiteStreams {
  const Bytes *input;
  size_t position;
  Bytes output;
};

size_t dynamiteRead(void *buffer, size_t size, void *cookie) {
  DynamiteStreams &io = *static_cast<DynamiteStreams *>(cookie);
  const size_t count = std::min(size, io.input->size() - io.position);
  memcpy(buffer, io.input->data() + io.position, count);
  io.position += count;
  return count;
}

size_t dynamiteWrite(void *buffer, size_t size, void *cookie) {
  Bytes &output = static_cast<DynamiteStreams *>(cookie)->output;
  output.insert(output.end(), static_cast<uint8_t *>(buffer), static_cast<uint8_t *>(buffer) + size);
  return size;
}

// libdynamite reads binary-mode streams only.
void benchDynamiteExplode(benchmark::State &state, unsigned dictSize) {
  timeExpansions(state, ourStreams(dcl::CMP_BINARY, dictSize), [](const Bytes &stream, Bytes &output) {
    DynamiteStreams io = {&stream, 0, {}};
    io.output.swap(output);
    const bool done = dynamite_explode(dynamiteRead, dynamiteWrite, &io) == DYNAMITE_SUCCESS;
    output.swap(io.output);
    return done;
  });
}

const char *modeName(unsigned type) { return type == dcl::CMP_ASCII ? "ascii" : "binary"; }

void registerAll() {
  for (unsigned type : {dcl::CMP_BINARY, dcl::CMP_ASCII}) {
    for (unsigned dictSize : {1024u, 2048u, 4096u}) {
      const std::string suffix = std::string("/") + modeName(type) + "/" + std::to_string(dictSize);
      benchmark::RegisterBenchmark(("implode/ours" + suffix).c_str(), benchImplode, dcl::implode, type,
                                   dictSize);
      benchmark::RegisterBenchmark(("implode/optimal" + suffix).c_str(), benchOptimalImplode, type,
                                   dictSize);
      benchmark::RegisterBenchmark(("implode/stormlib" + suffix).c_str(), benchImplode, ::implode, type,
                                   dictSize);
      benchmark::RegisterBenchmark(("explode/ours" + suffix).c_str(), benchExplode, dcl::explode, type,
                                   dictSize);
      benchmark::RegisterBenchmark(("explode/stormlib" + suffix).c_str(), benchExplode, ::explode, type,
                                   dictSize);
      if (type == dcl::CMP_BINARY)
        benchmark::RegisterBenchmark(("explode/dynamite" + suffix).c_str(), benchDynamiteExplode, dictSize);
    }
  }
}

}  // namespace

int main(int argc, char **argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
