// The SWF reader on movies built by the tests: refusals, the tag walk, the
// window after the background colour, inflation of compressed movies and
// truncated or hostile files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "flash/SwfReader.h"
#include "swfBuilder.h"

namespace fs = std::filesystem;

namespace {

class SwfReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / (std::string("swf-") + test->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string write(const std::string &name, const Bytes &bytes) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  static Bytes contents(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  int32_t readMovie(const Bytes &bytes) { return readSWFFile_FWS_Format(write("movie.swf", bytes), info); }

  fs::path folder;
  SwfMovieInfo info;
};

TEST_F(SwfReaderTest, BackgroundColorFirstWithFullOrShortWindow) {
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(2500)})), 0);
  EXPECT_EQ(info.swfVersion, 8);
  EXPECT_EQ(info.fileLength, 8 + 9 + 4 + 5 + 2500);
  // Fewer than 2000 bytes after the tag, up to the stated length.
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(10)})), 0);
  // The stated length promises bytes the file does not hold.
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(10)}, 15, 26 + 500)), SWF_UNREADABLE);
  // Only the first 2000 bytes after the tag must be there.
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(2000)}, 15, 26 + 90000)), 0);
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(1999)}, 15, 26 + 90000)), SWF_UNREADABLE);
}

TEST_F(SwfReaderTest, BackgroundColorNeedsItsBodyAndAByteAfterIt) {
  EXPECT_EQ(readMovie(fwsMovie(8, {shortTag(9, {1, 2}), padding(100)})), SWF_UNREADABLE);
  EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag()})), SWF_UNREADABLE);
}

TEST_F(SwfReaderTest, EndBeforeBackgroundColorReadsNoWindow) {
  // The stated length is far beyond the file, but no window is read.
  EXPECT_EQ(readMovie(fwsMovie(9, {shortTag(1, {}), endTag()}, 15, 1 << 20)), 0);
  EXPECT_EQ(info.swfVersion, 9);
}

TEST_F(SwfReaderTest, SkipsShortAndLongTagsBeforeBackgroundColor) {
  EXPECT_EQ(readMovie(fwsMovie(
                8, {shortTag(2, {1, 2, 3, 4, 5}), longTag(6, 70000), backgroundColorTag(), padding(2000)})),
            0);
  // The long tag's body stops short.
  Bytes cut = fwsMovie(8, {longTag(6, 70000)});
  cut.resize(cut.size() - 1);
  EXPECT_EQ(readMovie(cut), SWF_UNREADABLE);
}

TEST_F(SwfReaderTest, RefusesLongTagLengthBeyondSigned32Bits) {
  Bytes movie = fwsMovie(8, {});
  appendLittleEndian(movie, 6 << 6 | 63, 2);
  appendLittleEndian(movie, 0x80000000u, 4);
  EXPECT_EQ(readMovie(movie), SWF_UNREADABLE);
  // The largest signed length passes and is skipped until the file ends.
  movie.resize(movie.size() - 4);
  appendLittleEndian(movie, 0x7FFFFFFFu, 4);
  EXPECT_EQ(readMovie(movie), SWF_UNREADABLE);
}

TEST_F(SwfReaderTest, AcceptsVersionsThreeToEleven) {
  EXPECT_EQ(readMovie(fwsMovie(2, {backgroundColorTag(), padding(5)})), SWF_VERSION_TOO_OLD);
  EXPECT_EQ(info.swfVersion, 2);
  EXPECT_EQ(readMovie(fwsMovie(3, {backgroundColorTag(), padding(5)})), 0);
  EXPECT_EQ(readMovie(fwsMovie(11, {backgroundColorTag(), padding(5)})), 0);
  EXPECT_EQ(readMovie(fwsMovie(12, {backgroundColorTag(), padding(5)})), SWF_VERSION_TOO_NEW);
  EXPECT_EQ(info.swfVersion, 12);
}

TEST_F(SwfReaderTest, SkipsRectanglesOfEveryFieldWidth) {
  // ceil((5 + 4N) / 8) bytes: 65 bits make 9 bytes for N = 15, 129 bits 17
  // for N = 31. The filled rectangle bits make a misjudged size fail.
  EXPECT_EQ(frameRectangle(15).size(), 9u);
  EXPECT_EQ(frameRectangle(31).size(), 17u);
  for (int fieldWidth = 0; fieldWidth <= 31; ++fieldWidth)
    EXPECT_EQ(readMovie(fwsMovie(8, {backgroundColorTag(), padding(3)}, fieldWidth)), 0) << fieldWidth;
}

TEST_F(SwfReaderTest, FormatTypeReadsSignature) {
  EXPECT_EQ(readSWFFileFormatType(write("a.swf", fwsMovie(8, {})), info), 0);
  EXPECT_EQ(info.formatSignature, "FWS");
  EXPECT_EQ(readSWFFileFormatType(write("b.swf", cwsMovie(fwsMovie(8, {}))), info), 0);
  EXPECT_EQ(info.formatSignature, "CWS");
  EXPECT_EQ(readSWFFileFormatType(write("c.swf", {'f', 'w', 's', 8}), info), SWF_BAD_SIGNATURE);
  EXPECT_EQ(info.formatSignature, "fws");
  // A missing file is no refusal and keeps the last signature.
  EXPECT_EQ(readSWFFileFormatType((folder / "missing.swf").string(), info), 0);
  EXPECT_EQ(info.formatSignature, "fws");
}

TEST_F(SwfReaderTest, UncompressedReaderRefusesOtherSignatures) {
  EXPECT_EQ(readMovie(cwsMovie(fwsMovie(8, {backgroundColorTag(), padding(5)}))), SWF_BAD_SIGNATURE);
  EXPECT_EQ(info.swfVersion, 0);
  info.swfVersion = 7;
  EXPECT_EQ(readSWFFile_FWS_Format((folder / "missing.swf").string(), info), 0);
  EXPECT_EQ(info.swfVersion, 0);
}

TEST_F(SwfReaderTest, TruncatedHeadersAreUnreadable) {
  const Bytes movie = fwsMovie(8, {longTag(2, 100), backgroundColorTag(), padding(20)}, 31);
  for (size_t length = 0; length < movie.size(); ++length) {
    const Bytes cut(movie.begin(), movie.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(readMovie(cut), SWF_UNREADABLE) << length;
    if (length < 3) {
      EXPECT_EQ(readSWFFileFormatType(write("movie.swf", cut), info), SWF_UNREADABLE);
    }
  }
  EXPECT_EQ(readMovie(movie), 0);
}

int32_t makeFolderNamedScratch(std::string &folder) {
  folder = (fs::temp_directory_path() / "swf-scratch").string() + "/";
  fs::create_directories(folder);
  return 0;
}

int32_t refuseFolder(std::string &) { return 5; }

TEST_F(SwfReaderTest, InflatesCompressedMovieIntoScratchFolder) {
  // Several 2048-byte blocks, with a long tag before the background colour.
  const Bytes fws = fwsMovie(10, {longTag(7, 9000), backgroundColorTag(), padding(3000)});
  const Bytes cws = cwsMovie(fws);
  std::string scratch;
  ASSERT_EQ(inflateSWFFileToTempFile(write("movie.swf", cws), scratch, makeFolderNamedScratch), 0);
  ASSERT_FALSE(scratch.empty());
  EXPECT_EQ(contents(scratch + COMPRESSED_SWF_SEGMENT_NAME), Bytes(cws.begin() + 8, cws.end()));
  const Bytes copy = contents(scratch + UNCOMPRESSED_SWF_NAME);
  EXPECT_EQ(copy, fws);
  EXPECT_EQ(copy.size(), static_cast<size_t>(fws[4] | fws[5] << 8 | fws[6] << 16));
  EXPECT_EQ(readSWFFile_FWS_Format(scratch + UNCOMPRESSED_SWF_NAME, info), 0);
  EXPECT_EQ(info.swfVersion, 10);
  fs::remove_all(scratch);
}

TEST_F(SwfReaderTest, InflateUsesGivenFolderAndReportsFolderFailure) {
  std::string scratch = (folder / "own").string() + "/";
  fs::create_directories(scratch);
  EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", cwsMovie(fwsMovie(8, {}))), scratch, refuseFolder),
            0);
  EXPECT_TRUE(fs::exists(scratch + UNCOMPRESSED_SWF_NAME));

  std::string none;
  EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", cwsMovie(fwsMovie(8, {}))), none, refuseFolder), 5);
  // A missing movie writes nothing.
  EXPECT_EQ(inflateSWFFileToTempFile((folder / "missing.swf").string(), scratch, refuseFolder), 0);
}

TEST_F(SwfReaderTest, CorruptOrTruncatedCompressedDataIsUnreadable) {
  const Bytes cws = cwsMovie(fwsMovie(8, {backgroundColorTag(), padding(3000)}));
  std::string scratch = folder.string() + "/";
  Bytes corrupt = cws;
  corrupt[8] ^= 0xFF;
  EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", corrupt), scratch, refuseFolder), SWF_UNREADABLE);
  const Bytes truncated(cws.begin(), cws.end() - 6);
  EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", truncated), scratch, refuseFolder), SWF_UNREADABLE);
  const Bytes headerOnly(cws.begin(), cws.begin() + 5);
  EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", headerOnly), scratch, refuseFolder),
            SWF_UNREADABLE);
}

// A megabyte of filler squeezes into about a kilobyte; the header states far
// less, or more than the reader ever writes out.
TEST_F(SwfReaderTest, CompressedMovieIsInflatedNoFurtherThanItsStatedLength) {
  std::string scratch = folder.string() + "/";
  const Bytes filler = padding(1 << 20);
  const int64_t statedLengths[] = {100, (1 << 20) - 1, (256 << 20) + 1};
  for (const int64_t stated : statedLengths) {
    const Bytes cws = cwsMovie(fwsMovie(8, {filler}, 15, stated));
    ASSERT_LT(cws.size(), 4096u);
    EXPECT_EQ(inflateSWFFileToTempFile(write("movie.swf", cws), scratch, refuseFolder),
              SWF_INFLATES_TOO_FAR)
        << stated;
    EXPECT_FALSE(fs::exists(scratch + UNCOMPRESSED_SWF_NAME)) << stated;
  }
}

TEST(SwfTagHeader, DecodesCodeAndLength) {
  int32_t length = -1, code = -1;
  const uint8_t background[2] = {0x43, 0x02};  // 9 << 6 | 3
  EXPECT_TRUE(isBackgroundColorTag(background, length, code));
  EXPECT_EQ(code, 9);
  EXPECT_EQ(length, 3);
  const uint8_t longShowFrame[2] = {0x7F, 0x00};
  EXPECT_FALSE(isBackgroundColorTag(longShowFrame, length, code));
  EXPECT_EQ(code, 1);
  EXPECT_EQ(length, 63);
}

TEST(SwfTagHeader, ConvertsLittleEndianBytes) {
  const uint8_t bytes[10] = {0x70, 0x11, 0x01, 0x00, 0, 0, 0, 0x80, 0xFF, 0xFF};
  EXPECT_EQ(convertBytesToDecimal(bytes, 4), 70000u);
  EXPECT_EQ(convertBytesToDecimal(bytes, 1), 0x70u);
  EXPECT_EQ(convertBytesToDecimal(bytes, 8), 0x8000000000011170u);
  // Bytes beyond the eighth weigh 2^64 and more, which wraps to nothing.
  EXPECT_EQ(convertBytesToDecimal(bytes, 10), 0x8000000000011170u);
}

}  // namespace
