// The layers of an installer file on disk, for signing: where they lie,
// copied out in blocks and stripped of an earlier signature, so that a
// package of any size is signed in bounded memory.
#ifndef SAVER_TOOLS_SAVERPACK_LAYER_FILES_H
#define SAVER_TOOLS_SAVERPACK_LAYER_FILES_H

#include <cstdint>
#include <string>
#include <vector>

// The installer layer (program and package, with its own signature) runs
// from launcherSize to installerEnd; the launcher image, if any, lies in
// front of it.
struct LayerSpans {
  int64_t launcherSize = 0;
  int64_t installerEnd = 0;
};

// The spans of a file of fileSize bytes from its front (at least its
// programs). False, with the reason, for a file that is no installer.
bool findSpans(const std::vector<uint8_t> &front, int64_t fileSize, LayerSpans &spans, std::string &error);
// The same, read from the file at path.
bool readSpans(const std::string &path, LayerSpans &spans, std::string &error);

// Appends count bytes of source from offset to target, created if need be.
bool appendRange(const std::string &source, int64_t offset, int64_t count, const std::string &target,
                 std::string &error);
bool appendWhole(const std::string &source, const std::string &target, std::string &error);

// Cuts the layer file's certificate table when it lies inside the file and
// clears its entry: the layer as it was before it was signed. An unsigned
// layer stays as it is.
bool stripSignature(const std::string &path, std::string &error);

// Work files beside an output, named after it and ending in ".exe" like the
// programs they hold, as a signing tool may go by the name; removed when
// done with.
class ScratchFiles {
 public:
  explicit ScratchFiles(std::string stem) : stem_(std::move(stem)) {}
  ~ScratchFiles();
  ScratchFiles(const ScratchFiles &) = delete;
  ScratchFiles &operator=(const ScratchFiles &) = delete;

  std::string make(const std::string &what);

 private:
  std::string stem_;
  std::vector<std::string> made_;
};

#endif
