#include "tools/saverpack/layerFiles.h"

#include "common/signatureFields.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/fileLayers.h"
#include "tools/saverpack/storedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The launcher and the installer program of any file this packer makes lie
// well within this many leading bytes; the package behind them is not read.
const int64_t PROGRAMS_REACH = int64_t{8} << 20;

std::string failure(const char *what, const std::string &path) {
  return std::string("cannot ") + what + " \"" + path + "\": " + std::strerror(errno);
}

}  // namespace

bool findSpans(const std::vector<uint8_t> &front, int64_t fileSize, LayerSpans &spans, std::string &error) {
  FileLayers layers;
  if (findLayers(front, layers, error) != FileKind::Installer || !error.empty()) {
    if (error.empty()) error = "not an installer or launcher file";
    return false;
  }
  spans.launcherSize = static_cast<int64_t>(layers.launcherSize);
  SignatureFields fields;
  const bool read =
      readSignatureFields(front.data(), std::min(front.size(), SIGNATURE_HEADER_BYTES), fields);
  spans.installerEnd = spans.launcherSize == 0
                           ? fileSize
                           : appendedDataEnd(read ? &fields : nullptr, spans.launcherSize, fileSize);
  return true;
}

bool readSpans(const std::string &path, LayerSpans &spans, std::string &error) {
  std::error_code fault;
  const int64_t size = static_cast<int64_t>(fs::file_size(pathOfUtf8(path), fault));
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (fault || file == nullptr) {
    if (file != nullptr) std::fclose(file);
    error = failure("open", path);
    return false;
  }
  std::vector<uint8_t> front(static_cast<size_t>(std::min(size, PROGRAMS_REACH)));
  const bool read = std::fread(front.data(), 1, front.size(), file) == front.size();
  std::fclose(file);
  if (!read) {
    error = failure("read", path);
    return false;
  }
  return findSpans(front, size, spans, error);
}

bool appendRange(const std::string &source, int64_t offset, int64_t count, const std::string &target,
                 std::string &error) {
  std::FILE *from = std::fopen(source.c_str(), "rb");
  std::FILE *to = std::fopen(target.c_str(), "ab");
  bool copied = from != nullptr && to != nullptr && seekTo(from, offset) && copyBytes(from, to, count);
  if (!copied) error = failure("copy", source) + " into \"" + target + "\"";
  if (from != nullptr) std::fclose(from);
  if (to != nullptr && std::fclose(to) != 0 && copied) {
    error = failure("write", target);
    copied = false;
  }
  return copied;
}

bool appendWhole(const std::string &source, const std::string &target, std::string &error) {
  std::error_code fault;
  const int64_t size = static_cast<int64_t>(fs::file_size(pathOfUtf8(source), fault));
  if (!fault) return appendRange(source, 0, size, target, error);
  error = "cannot read \"" + source + "\": " + fault.message();
  return false;
}

bool stripSignature(const std::string &path, std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) {
    error = failure("open", path);
    return false;
  }
  uint8_t header[SIGNATURE_HEADER_BYTES];
  const size_t got = std::fread(header, 1, sizeof header, file);
  SignatureFields fields;
  const bool signable = readSignatureFields(header, got, fields);
  const uint8_t cleared[CERTIFICATE_ENTRY_SIZE] = {};
  bool done = !signable || (seekTo(file, fields.certificateEntryOffset) &&
                            std::fwrite(cleared, 1, sizeof cleared, file) == sizeof cleared);
  done = std::fclose(file) == 0 && done;
  std::error_code fault;
  const uintmax_t size = fs::file_size(pathOfUtf8(path), fault);
  if (done && !fault && signable && fields.certificateTableOffset != 0 &&
      fields.certificateTableOffset <= size)
    fs::resize_file(pathOfUtf8(path), fields.certificateTableOffset, fault);
  if (done && !fault) return true;
  error = "cannot clear the signature of \"" + path + "\"";
  return false;
}

ScratchFiles::~ScratchFiles() {
  for (const std::string &path : made_) std::remove(path.c_str());
}

std::string ScratchFiles::make(const std::string &what) {
  made_.push_back(stem_ + "." + what + ".partial.exe");
  std::remove(made_.back().c_str());  // a left-over of an earlier run
  return made_.back();
}
