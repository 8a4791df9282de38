// The CRC of a long copy, taken on a second thread while the copy goes on:
// the copy reads and writes one block while the thread takes the CRC of the
// block before, so that on a machine with a core to spare the check costs
// the copy no time. Where no thread can be started, the CRC is taken in line.
#ifndef SAVER_PACKAGE_CRC_BESIDE_H
#define SAVER_PACKAGE_CRC_BESIDE_H

#include <windows.h>

#include <cstdint>

class CrcBeside {
 public:
  // Without beside (a short copy, not worth a thread) the CRC is taken in line.
  explicit CrcBeside(bool beside);
  ~CrcBeside();
  CrcBeside(const CrcBeside &) = delete;
  CrcBeside &operator=(const CrcBeside &) = delete;

  // Adds count bytes at block to the CRC. The bytes must stay as they are
  // until the next call of add or result: the caller so alternates between
  // two blocks.
  void add(const char *block, uint32_t count);
  // The CRC of every byte added.
  uint32_t result();

 private:
  static DWORD WINAPI work(void *self);
  void waitIdle();

  HANDLE thread_ = nullptr;
  HANDLE ready_ = nullptr;  // a block was handed over, or the end
  HANDLE idle_ = nullptr;   // the thread has no block
  const char *block_ = nullptr;
  uint32_t count_ = 0;
  bool ending_ = false;
  uint32_t crc_ = 0;
};

#endif
