// Any bytes as a movie file: the reader accepts or refuses them with a status,
// and never reads out of bounds. Compressed input is inflated as well.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "flash/SwfReader.h"

static std::string scratchFolder() {
  static const std::string folder = "/tmp/fuzz_swf." + std::to_string(getpid()) + ".";
  return folder;
}

static int32_t makeScratchFolder(std::string &folder) {
  folder = scratchFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string moviePath = scratchFolder() + "movie.swf";
  FILE *movie = std::fopen(moviePath.c_str(), "wb");
  if (!movie) return 0;
  std::fwrite(data, 1, size, movie);
  std::fclose(movie);

  SwfMovieInfo info;
  std::string scratch;
  if (readSWFFileFormatType(moviePath, info) == 0) {
    if (info.formatSignature == "CWS" &&
        inflateSWFFileToTempFile(moviePath, scratch, makeScratchFolder) == 0)
      readSWFFile_FWS_Format(scratch + UNCOMPRESSED_SWF_NAME, info);
    else
      readSWFFile_FWS_Format(moviePath, info);
  }
  for (const char *name : {"movie.swf", COMPRESSED_SWF_SEGMENT_NAME, UNCOMPRESSED_SWF_NAME})
    std::remove((scratchFolder() + name).c_str());
  return 0;
}
