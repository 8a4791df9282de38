#include "package/crcBeside.h"

#include "package/integrityRecord.h"

CrcBeside::CrcBeside(bool beside) {
  if (!beside) return;
  ready_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  idle_ = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  if (ready_ != nullptr && idle_ != nullptr) thread_ = CreateThread(nullptr, 0, work, this, 0, nullptr);
}

CrcBeside::~CrcBeside() {
  if (thread_ != nullptr) {
    waitIdle();
    ending_ = true;
    SetEvent(ready_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (ready_ != nullptr) CloseHandle(ready_);
  if (idle_ != nullptr) CloseHandle(idle_);
}

// The event hands the block over and back, and with it the fields.
DWORD WINAPI CrcBeside::work(void *self) {
  CrcBeside &beside = *static_cast<CrcBeside *>(self);
  for (;;) {
    WaitForSingleObject(beside.ready_, INFINITE);
    if (beside.ending_) return 0;
    beside.crc_ = crc32Update(beside.crc_, beside.block_, beside.count_);
    SetEvent(beside.idle_);
  }
}

// Leaves idle_ set again, so that the next wait for it does not block.
void CrcBeside::waitIdle() {
  WaitForSingleObject(idle_, INFINITE);
  SetEvent(idle_);
}

void CrcBeside::add(const char *block, uint32_t count) {
  if (thread_ == nullptr) {
    crc_ = crc32Update(crc_, block, count);
    return;
  }
  WaitForSingleObject(idle_, INFINITE);
  block_ = block;
  count_ = count;
  SetEvent(ready_);
}

uint32_t CrcBeside::result() {
  if (thread_ != nullptr) waitIdle();
  return crc_;
}
