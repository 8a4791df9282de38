// Deletes the folder tree named on the command line and prints the status,
// for treeLinks.sh.
#include <cstdio>

#include "common/QRX_FileUtils.h"

int main(int argc, char **argv) {
  if (argc != 2) return 2;
  std::printf("%d\n", static_cast<int>(deleteFolderTree(argv[1])));
  return 0;
}
