// The decompression library "impborl.dll" through its exports, and
// TCompressor loading it, under Wine.
#include "chunkedStreams.h"
#include "codec/dcl.h"
#include "common/statusCodes.h"
#include "package/integrityRecord.h"
#include "package/pk_stuff.h"
#include "sampleData.h"
#include "testDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string programFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A fresh folder below the temporary folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (unsigned n = GetCurrentProcessId();; ++n) {
      path = std::string(temp) + "codec-test-" + std::to_string(n) + "\\";
      if (CreateDirectoryA(path.c_str(), nullptr)) break;
    }
  }
  ~ScratchFolder() {
    for (const std::string &file : files) DeleteFileA(file.c_str());
    RemoveDirectoryA(path.c_str());
  }
  std::string file(const std::string &name) {
    files.push_back(path + name);
    return path + name;
  }
  std::string path;

 private:
  std::vector<std::string> files;
};

Bytes readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool libraryIsLoaded() { return GetModuleHandleA("impborl.dll") != nullptr; }

class Library {
 public:
  Library() : module(LoadLibraryA((programFolder() + "impborl.dll").c_str())) {}
  ~Library() {
    if (module != nullptr) FreeLibrary(module);
  }
  void *entry(const char *name) const { return reinterpret_cast<void *>(GetProcAddress(module, name)); }
  HMODULE module;
};

TEST(ImpborlLibrary, ExportsTheThreeEntryPointsUndecorated) {
  Library library;
  ASSERT_NE(library.module, nullptr);
  EXPECT_NE(library.entry("_implode"), nullptr);
  EXPECT_NE(library.entry("_explode"), nullptr);
  EXPECT_NE(library.entry("_crc32"), nullptr);
  EXPECT_EQ(library.entry("implode"), nullptr);
  EXPECT_EQ(library.entry("_impborlExplode"), nullptr);
}

TEST(ImpborlLibrary, RoundTripsInEveryModeAndDictionarySize) {
  Library library;
  ASSERT_NE(library.module, nullptr);
  const auto implodeEntry = reinterpret_cast<ImplodeEntry>(library.entry("_implode"));
  const auto explodeEntry = reinterpret_cast<ExplodeEntry>(library.entry("_explode"));
  const std::vector<Bytes> corpus = {Bytes{},
                                     Bytes{'a'},
                                     Bytes(518, 'r'),
                                     sample::text(30000),
                                     sample::executableLike(30000),
                                     sample::random(9000)};
  std::vector<char> implodeWork(dcl::IMPLODE_WORK_SIZE), explodeWork(dcl::EXPLODE_WORK_SIZE);
  for (unsigned type : {dcl::CMP_BINARY, dcl::CMP_ASCII}) {
    for (unsigned dictSize : {1024u, 2048u, 4096u}) {
      for (const Bytes &data : corpus) {
        ChunkedStreams compress = streamsOver(data);
        unsigned typeArgument = type, dictArgument = dictSize;
        ASSERT_EQ(
            implodeEntry(readChunk, writeAll, implodeWork.data(), &compress, &typeArgument, &dictArgument),
            dcl::CMP_NO_ERROR);
        ChunkedStreams expand = streamsOver(compress.output, 777);
        ASSERT_EQ(explodeEntry(readChunk, writeAll, explodeWork.data(), &expand), dcl::CMP_NO_ERROR);
        EXPECT_TRUE(expand.output == data) << type << " " << dictSize << " " << data.size();
      }
    }
  }
}

TEST(ImpborlLibrary, Crc32HasTheClassicInterface) {
  Library library;
  const auto crc32Entry = reinterpret_cast<Crc32Entry>(library.entry("_crc32"));
  ASSERT_NE(crc32Entry, nullptr);
  char text[] = "123456789";
  unsigned size = 9;
  unsigned long seed = 0xFFFFFFFFul;
  EXPECT_EQ(~crc32Entry(text, &size, &seed), 0xCBF43926ul);
}

Bytes implodeWithLibrary(const Bytes &data) {
  Library library;
  const auto implodeEntry = reinterpret_cast<ImplodeEntry>(library.entry("_implode"));
  std::vector<char> work(dcl::IMPLODE_WORK_SIZE);
  ChunkedStreams streams = streamsOver(data);
  unsigned type = dcl::CMP_BINARY, dictSize = 4096;
  implodeEntry(readChunk, writeAll, work.data(), &streams, &type, &dictSize);
  return streams.output;
}

TEST(Compressor, LoadsFromTheWorkFolderAndFreesTheLibraryEachTime) {
  ScratchFolder folder;
  ASSERT_TRUE(
      CopyFileA((programFolder() + "impborl.dll").c_str(), folder.file("impborl.dll").c_str(), FALSE));
  const Bytes data = sample::executableLike(40000);
  const Bytes stream = implodeWithLibrary(data);
  for (const char *name : {"first.bin", "second.bin"}) {
    ASSERT_FALSE(libraryIsLoaded());
    {
      TCompressor compressor(folder.path);
      ASSERT_TRUE(compressor.loaded());
      EXPECT_TRUE(libraryIsLoaded());
      EXPECT_EQ(compressor.Expand(folder.file(name), stream.data(), static_cast<uint32_t>(stream.size())),
                0);
    }
    EXPECT_FALSE(libraryIsLoaded());
    EXPECT_TRUE(readFile(folder.path + name) == data) << name;
  }
}

TEST(Compressor, ReplacesAnExistingFileAndWritesWhatABadStreamYields) {
  ScratchFolder folder;
  ASSERT_TRUE(
      CopyFileA((programFolder() + "impborl.dll").c_str(), folder.file("impborl.dll").c_str(), FALSE));
  const std::string target = folder.file("out.bin");
  std::ofstream(target, std::ios::binary) << std::string(100000, 'z');
  const Bytes data = sample::text(20000);
  Bytes stream = implodeWithLibrary(data);
  stream.resize(stream.size() / 2);
  TCompressor compressor(folder.path);
  ASSERT_TRUE(compressor.loaded());
  EXPECT_EQ(compressor.Expand(target, stream.data(), static_cast<uint32_t>(stream.size())), 0);
  const Bytes written = readFile(target);
  EXPECT_LT(written.size(), data.size());
  EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin()));
  // An empty buffer gives an empty file; the caller's size check decides.
  EXPECT_EQ(compressor.Expand(target, nullptr, 0), 0);
  EXPECT_TRUE(readFile(target).empty());
}

// The stream is read in blocks from where it lies in a bigger source, as a
// member in its package; one longer than a block must come out whole, and a
// source that ends early is told as such.
TEST(Compressor, ExpandsAStreamOfManyInputBlocksFromASliceOfItsSource) {
  ScratchFolder folder;
  ASSERT_TRUE(
      CopyFileA((programFolder() + "impborl.dll").c_str(), folder.file("impborl.dll").c_str(), FALSE));
  // Random bytes grow the stream past a block quickly.
  Bytes data = sample::executableLike(1 << 20);
  const Bytes noise = sample::random(3 << 19);
  data.insert(data.end(), noise.begin(), noise.end());
  const Bytes stream = implodeWithLibrary(data);
  ASSERT_GT(stream.size(), 1u << 20) << "the stream must span more than one input block";
  Bytes package(777, 0xA5);
  package.insert(package.end(), stream.begin(), stream.end());
  TCompressor compressor(folder.path);
  ASSERT_TRUE(compressor.loaded());
  const std::string target = folder.file("out.bin");

  MemorySource whole(package.data(), package.size());
  SliceSource member(whole, 777, static_cast<int64_t>(stream.size()));
  EXPECT_EQ(compressor.Expand(target, member), 0);
  EXPECT_EQ(compressor.inputStatus(), STATUS_OK);
  EXPECT_EQ(compressor.expandedCrc(), crc32Of(data.data(), data.size()));
  EXPECT_TRUE(readFile(target) == data);

  MemorySource cut(package.data(), package.size() / 2);
  SliceSource cutMember(cut, 777, static_cast<int64_t>(stream.size()));
  EXPECT_EQ(compressor.Expand(target, cutMember), 0);
  EXPECT_EQ(compressor.inputStatus(), STATUS_SHORT_ENTRY);
  EXPECT_LT(readFile(target).size(), data.size());
}

TEST(Compressor, WithoutTheLibraryInTheFolderIsNotLoaded) {
  ScratchFolder folder;
  TCompressor compressor(folder.path);
  EXPECT_FALSE(compressor.loaded());
  EXPECT_FALSE(libraryIsLoaded());
}

TEST(Compressor, AFileThatIsNoLibraryIsNotLoaded) {
  ScratchFolder folder;
  std::ofstream(folder.file("impborl.dll"), std::ios::binary) << "MZ but nothing else";
  TCompressor compressor(folder.path);
  EXPECT_FALSE(compressor.loaded());
  EXPECT_FALSE(libraryIsLoaded());
}

TEST(Compressor, WithoutAFullFolderPathNothingIsSearchedFor) {
  // The test program's own folder, which a search would try, holds the library.
  TCompressor compressor("");
  EXPECT_FALSE(compressor.loaded());
  EXPECT_FALSE(libraryIsLoaded());
}

TEST(Compressor, ALibraryLackingAnEntryPointIsFreedAgain) {
  ScratchFolder folder;
  ASSERT_TRUE(CopyFileA((programFolder() + "impborl_lacking_crc32.dll").c_str(),
                        folder.file("impborl.dll").c_str(), FALSE));
  TCompressor compressor(folder.path);
  EXPECT_FALSE(compressor.loaded());
  EXPECT_FALSE(libraryIsLoaded());
}

TEST(Compressor, AnUnwritableTargetReturnsTheSystemCodeAndShowsNothing) {
  ScratchFolder folder;
  ASSERT_TRUE(
      CopyFileA((programFolder() + "impborl.dll").c_str(), folder.file("impborl.dll").c_str(), FALSE));
  const Bytes stream = implodeWithLibrary(sample::text(100));
  TCompressor compressor(folder.path);
  ASSERT_TRUE(compressor.loaded());
  driver::DialogAnswerer answerer;
  const int32_t status = compressor.Expand(folder.path + "missing\\out.bin", stream.data(),
                                           static_cast<uint32_t>(stream.size()));
  EXPECT_EQ(status, ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(answerer.take().empty()) << "the caller tells it";
}

}  // namespace
