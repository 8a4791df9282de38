// saverpack build of big packages, against copying their inputs in the same
// run: one 700 MB member of random bytes (as compressed video is), and 1000
// members of 700 MB in all. The build runs as a child process, so that
// peak_rss_MiB is its own high-water mark; build_vs_copy is its time over
// the copy's, the medians of five rounds that take turns. An untimed copy comes
// first: whichever step first writes 700 MB after a pause finds the
// system's free memory cold and takes several times as long. The inputs
// are made in a temporary folder and removed.
#include "packFixture.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

extern char **environ;

namespace fs = std::filesystem;

namespace {

const uint64_t TOTAL_BYTES = 700ull * 1000 * 1000;
const int ROUNDS = 5;

// Random bytes in blocks, so that making the inputs needs little memory.
void writeRandomFile(const fs::path &path, uint64_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> block(1 << 18);
  std::FILE *file = std::fopen(path.c_str(), "wb");
  for (uint64_t left = size; left > 0;) {
    for (uint32_t &word : block) word = random();
    const size_t count = static_cast<size_t>(std::min<uint64_t>(left, block.size() * 4));
    std::fwrite(block.data(), 1, count, file);
    left -= count;
  }
  std::fclose(file);
}

// The sample package source, its members folder holding the big members.
void writeSource(const fs::path &folder, int memberCount) {
  writeSamplePackageSource(folder);
  for (int i = 0; i < memberCount; ++i)
    writeRandomFile(folder / "members" / ("clip" + std::to_string(i) + ".mov"), TOTAL_BYTES / memberCount,
                    static_cast<uint32_t>(i));
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double copySeconds(const fs::path &folder) {
  const auto start = std::chrono::steady_clock::now();
  fs::copy(folder / "members", folder / "copy");
  const double seconds = secondsSince(start);
  fs::remove_all(folder / "copy");
  return seconds;
}

// The build's time and its process's peak resident memory in KiB.
bool runBuild(const fs::path &folder, double &seconds, long &peakKiB) {
  const std::string manifest = (folder / "manifest.json").string(),
                    output = (folder / "Setup.exe").string();
  const char *argv[] = {SAVERPACK_PROGRAM, "build",   manifest.c_str(), "-o",
                        output.c_str(),    "--quiet", nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t child;
  if (posix_spawn(&child, SAVERPACK_PROGRAM, nullptr, nullptr, const_cast<char **>(argv), environ) != 0)
    return false;
  int status = 0;
  rusage usage;
  if (wait4(child, &status, 0, &usage) != child) return false;
  seconds = secondsSince(start);
  peakKiB = usage.ru_maxrss;
  fs::remove(output);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_BuildBigPackage(benchmark::State &state) {
  ScratchFolder folder;
  writeSource(folder.path(), static_cast<int>(state.range(0)));
  copySeconds(folder.path());
  std::vector<double> copies, builds;
  long peakKiB = 0;
  for (auto _ : state) {
    for (int round = 0; round < ROUNDS; ++round) {
      double seconds = 0;
      long roundKiB = 0;
      copies.push_back(copySeconds(folder.path()));
      if (!runBuild(folder.path(), seconds, roundKiB)) {
        state.SkipWithError("saverpack build failed");
        return;
      }
      builds.push_back(seconds);
      peakKiB = std::max(peakKiB, roundKiB);
    }
    state.SetIterationTime(median(builds));
  }
  const double copy = median(copies), build = median(builds);
  state.counters["copy_s"] = copy;
  state.counters["build_s"] = build;
  state.counters["build_vs_copy"] = build / copy;
  state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
}

}  // namespace

BENCHMARK(BM_BuildBigPackage)->Arg(1)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
