// Reads the facts the movie panel needs from an SWF movie file: the container
// kind, the SWF version and the header up to the first SetBackgroundColor tag.
// A compressed ("CWS") movie is first inflated into an uncompressed copy.
//
// Refusals are status codes; a read past the end, a file that cannot be
// opened or written, an unusable tag length or corrupt compressed data give
// SWF_UNREADABLE (the trace keeps which).
#ifndef SAVER_FLASH_SWF_READER_H
#define SAVER_FLASH_SWF_READER_H

#include "common/statusCodes.h"

#include <cstdint>
#include <string>

const int SWF_BACKGROUND_COLOR_TAG = 9;
const int SWF_END_TAG = 0;
// The versions the reader takes; others are refused.
const uint8_t SWF_OLDEST_VERSION = 3;
const uint8_t SWF_NEWEST_VERSION = 11;

// Names of the two files in the panel's scratch folder.
extern const char *const COMPRESSED_SWF_SEGMENT_NAME;  // "compressedSWFSegment.swf"
extern const char *const UNCOMPRESSED_SWF_NAME;        // "unCompressedSWF.swf"

// Facts read from the movie last examined; each read overwrites them.
struct SwfMovieInfo {
  std::string formatSignature;  // first three bytes, empty before any read
  uint8_t swfVersion = 0;
  int32_t fileLength = 0;        // total length stated in the header
  bool backgroundFound = false;  // a SetBackgroundColor tag came before End
};

// Creates the panel's scratch folder and returns it with a trailing path
// separator; the result is 0 or the system's error code.
using ScratchFolderMaker = int32_t (*)(std::string &folder);

// Reads the signature of the movie at path into info.formatSignature.
// A missing file gives 0 and leaves the signature as it was; a signature
// other than "FWS" or "CWS" gives SWF_BAD_SIGNATURE.
int32_t readSWFFileFormatType(const std::string &path, SwfMovieInfo &info);

// Reads the header of the uncompressed movie at path and walks its tags up to
// SetBackgroundColor (then requires the window of up to 2000 bytes after it)
// or End. A missing file gives 0.
int32_t readSWFFile_FWS_Format(const std::string &path, SwfMovieInfo &info);

// Writes the uncompressed copy of the compressed movie at swfFilename to
// scratchFolder + UNCOMPRESSED_SWF_NAME, making the scratch folder first when
// scratchFolder is empty. A missing movie gives 0 and writes nothing. The
// copy is never longer than the length the header states, which may be at
// most 256 MiB: a movie that states more, or inflates past it, gives
// SWF_INFLATES_TOO_FAR and leaves no copy.
int32_t inflateSWFFileToTempFile(const std::string &swfFilename, std::string &scratchFolder,
                                 ScratchFolderMaker makeScratchFolder);

// Decodes a tag header as stored (low byte first). True for SetBackgroundColor.
bool isBackgroundColorTag(const uint8_t header[2], int32_t &length, int32_t &code);

// Little-endian unsigned value of the first count bytes (count 1 to 31),
// accumulated modulo 2^64.
uint64_t convertBytesToDecimal(const uint8_t *bytes, int count);

#endif
