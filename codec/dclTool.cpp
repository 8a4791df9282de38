// dcltool: implodes or explodes a file.
//   dcltool implode [--ascii] [--dict 1024|2048|4096] INPUT OUTPUT
//   dcltool explode INPUT OUTPUT
// Binary mode and a 4096-byte dictionary are the defaults.
#include "codec/dcl.h"
#include "codec/memoryCodec.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

int usage() {
  fprintf(stderr,
          "usage: dcltool implode [--ascii] [--dict 1024|2048|4096] INPUT OUTPUT\n"
          "       dcltool explode INPUT OUTPUT\n");
  return 2;
}

bool readFile(const char *path, std::vector<uint8_t> &content) {
  FILE *file = fopen(path, "rb");
  if (file == nullptr) return false;
  uint8_t block[65536];
  size_t count;
  while ((count = fread(block, 1, sizeof block, file)) != 0)
    content.insert(content.end(), block, block + count);
  const bool complete = !ferror(file);
  fclose(file);
  return complete;
}

bool writeFile(const char *path, const std::vector<uint8_t> &content) {
  FILE *file = fopen(path, "wb");
  if (file == nullptr) return false;
  // An empty vector may hold no buffer at all, and fwrite takes none.
  const bool written = content.empty() || fwrite(content.data(), 1, content.size(), file) == content.size();
  return fclose(file) == 0 && written;
}

const char *resultText(unsigned result) {
  switch (result) {
    case dcl::CMP_INVALID_DICTSIZE:
      return "bad dictionary size";
    case dcl::CMP_INVALID_MODE:
      return "bad mode";
    default:
      return "bad data";
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 4) return usage();
  const std::string command = argv[1];
  unsigned type = dcl::CMP_BINARY;
  unsigned dictSize = 4096;
  int arg = 2;
  for (; command == "implode" && arg < argc - 2; ++arg) {
    if (strcmp(argv[arg], "--ascii") == 0) {
      type = dcl::CMP_ASCII;
    } else if (strcmp(argv[arg], "--dict") == 0 && arg + 1 < argc - 2) {
      dictSize = static_cast<unsigned>(strtoul(argv[++arg], nullptr, 10));
    } else {
      return usage();
    }
  }
  if (arg != argc - 2 || (command != "implode" && command != "explode")) return usage();
  const char *inputPath = argv[arg];
  const char *outputPath = argv[arg + 1];

  std::vector<uint8_t> input, output;
  if (!readFile(inputPath, input)) {
    fprintf(stderr, "dcltool: cannot read %s\n", inputPath);
    return 1;
  }
  const unsigned result = command == "implode"
                              ? dcl::implodeBuffer(input.data(), input.size(), type, dictSize, output)
                              : dcl::explodeBuffer(input.data(), input.size(), output);
  if (result != dcl::CMP_NO_ERROR) {
    // A bad stream's partial expansion is not written: nothing half-done.
    fprintf(stderr, "dcltool: %s: %s\n", inputPath, resultText(result));
    return 1;
  }
  if (!writeFile(outputPath, output)) {
    fprintf(stderr, "dcltool: cannot write %s\n", outputPath);
    return 1;
  }
  return 0;
}
