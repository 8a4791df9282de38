// Extracting a package whose data file holds 1000 members, 64 MB in all,
// stored and compressed, against copying the installed tree (the same 1000
// files) from one folder to another. The steps follow the installer: entry
// 8, stored plain, is read in the package, and each member is read and
// written (or exploded straight into its file). peak_rss_MB is the process's high-water mark; the
// packages are made in a child process so that it counts extraction only.
#include "codec/dcl.h"
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"
#include "packFixture.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/packageBuilder.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const int MEMBER_COUNT = 1000;
const size_t TOTAL_BYTES = 64u << 20;
const uint32_t PROGRAM_SIZE = 100000;

class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string &path) : file_(std::fopen(path.c_str(), "rb")) {
    if (file_ != nullptr && fseeko(file_, 0, SEEK_END) == 0) size_ = ftello(file_);
  }
  ~FileSource() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  int64_t size() const override { return size_; }
  int32_t readAt(int64_t offset, void *buffer, uint32_t count, uint32_t &got) override {
    got = 0;
    if (file_ == nullptr || fseeko(file_, offset, SEEK_SET) != 0) return 5;
    got = static_cast<uint32_t>(std::fread(buffer, 1, count, file_));
    return 0;
  }

 private:
  std::FILE *file_;
  int64_t size_ = 0;
};

struct Expansion {
  const std::vector<uint8_t> *input;
  size_t position;
  std::FILE *output;
};

unsigned readStored(char *buffer, unsigned *size, void *param) {
  Expansion &expansion = *static_cast<Expansion *>(param);
  const size_t left = expansion.input->size() - expansion.position;
  const unsigned count = left < *size ? static_cast<unsigned>(left) : *size;
  std::memcpy(buffer, expansion.input->data() + expansion.position, count);
  expansion.position += count;
  return count;
}

void writeExpanded(char *buffer, unsigned *size, void *param) {
  std::fwrite(buffer, 1, *size, static_cast<Expansion *>(param)->output);
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes, bool compressed) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  if (compressed) {
    static char workArea[dcl::EXPLODE_WORK_SIZE];
    Expansion expansion = {&bytes, 0, file};
    dcl::explode(readStored, writeExpanded, workArea, &expansion);
  } else {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
  }
  return std::fclose(file) == 0;
}

bool extractMembers(ByteSource &dataFile, const fs::path &target) {
  SaverSettings settings;
  static DataMemberRecord table[MEMBER_TABLE_SIZE];
  if (readMemberTable(dataFile, settings, table) != 0) return false;
  for (int i = 1; i <= settings.memberCount; ++i) {
    DataMemberHeader header;
    std::vector<uint8_t> stored;
    if (readMemberHeader(dataFile, table[i], header) != 0 ||
        readMemberBytes(dataFile, table[i], header, stored) != 0)
      return false;
    fs::path memberPath = target / memberPathOf(table[i]);
    std::string generic = memberPath.string();
    std::replace(generic.begin(), generic.end(), '\\', '/');
    fs::create_directories(fs::path(generic).parent_path());
    if (!writeFile(generic, stored, header.compressed != 0)) return false;
  }
  return true;
}

// A data file stored plain is read where it lies in the package; an
// imploded one would be expanded into the work folder first.
bool extractPackage(const std::string &packagePath, const fs::path &target) {
  FileSource package(packagePath);
  InstallerHeader header;
  uint32_t length = 0;
  if (readInstallerHeader(package, PROGRAM_SIZE, header) != 0) return false;
  const PackageEntry &entry = header.entries[ENTRY_DATA_FILE];
  if (entry.compressed != 0 || entryStoredLength(entry, package.size(), length) != 0) return false;
  SliceSource dataFile(package, entry.start, length);
  return extractMembers(dataFile, target);
}

// Members of differing sizes, partly text-like and partly noise, in ten folders.
std::vector<DataMember> sampleMembers(bool compressed) {
  std::vector<DataMember> members(MEMBER_COUNT);
  const size_t average = TOTAL_BYTES / MEMBER_COUNT;
  size_t total = 0;
  for (int i = 0; i < MEMBER_COUNT; ++i) {
    const size_t size = i + 1 < MEMBER_COUNT ? average / 2 + (i * 7919u) % average : TOTAL_BYTES - total;
    members[i].path = "folder" + std::to_string(i % 10) + "\\member" + std::to_string(i) + ".bin";
    members[i].bytes = i % 3 == 0 ? randomBytes(size, i) : compressibleBytes(size);
    members[i].compressed = compressed;
    total += size;
  }
  return members;
}

void writeSamplePackage(const std::string &path, bool compressed) {
  std::vector<uint8_t> dataFile, package;
  std::string error;
  if (!buildDataFile({}, sampleMembers(compressed), dataFile, error)) std::abort();
  CarriedFile entry;
  entry.index = ENTRY_DATA_FILE;
  entry.name = "saver.qrd";
  entry.destKind = DEST_WORK_FOLDER;
  entry.bytes.swap(dataFile);
  if (!buildPackage(PackageFlags(), {entry}, PROGRAM_SIZE, package, error)) std::abort();
  std::vector<uint8_t> file = standInProgram(PROGRAM_SIZE);
  file.insert(file.end(), package.begin(), package.end());
  writeBytes(path, file);
}

struct Samples {
  ScratchFolder folder;
  std::string stored, compressed;
  Samples() {
    stored = (folder.path() / "stored.exe").string();
    compressed = (folder.path() / "compressed.exe").string();
    const pid_t child = fork();
    if (child == 0) {
      writeSamplePackage(stored, false);
      writeSamplePackage(compressed, true);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
};

Samples &samples() {
  static Samples made;
  return made;
}

void reportFigures(benchmark::State &state, const std::string &package) {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
  state.counters["package_MB"] = fs::file_size(package) / 1048576.0;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * TOTAL_BYTES);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * MEMBER_COUNT);
}

void extractBenchmark(benchmark::State &state, bool compressed) {
  const std::string package = compressed ? samples().compressed : samples().stored;
  const fs::path target = samples().folder.path() / "installed";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(target);
    fs::create_directories(target);
    state.ResumeTiming();
    if (!extractPackage(package, target)) state.SkipWithError("extraction failed");
  }
  reportFigures(state, package);
}

void BM_ExtractStored(benchmark::State &state) { extractBenchmark(state, false); }
void BM_ExtractCompressed(benchmark::State &state) { extractBenchmark(state, true); }

// The baseline: the tree an extraction leaves, copied file by file.
void BM_CopyInstalledTree(benchmark::State &state) {
  const fs::path tree = samples().folder.path() / "tree";
  const fs::path copy = samples().folder.path() / "copy";
  fs::remove_all(tree);
  fs::create_directories(tree);
  if (!extractPackage(samples().stored, tree)) state.SkipWithError("extraction failed");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(copy);
    state.ResumeTiming();
    fs::copy(tree, copy, fs::copy_options::recursive);
  }
  reportFigures(state, samples().stored);
}

BENCHMARK(BM_CopyInstalledTree)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExtractStored)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExtractCompressed)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
