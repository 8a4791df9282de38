// The caller's work area is a plain byte array; coder state is placed at
// its first suitably aligned address.
#ifndef SAVER_CODEC_WORK_AREA_H
#define SAVER_CODEC_WORK_AREA_H

#include <stdint.h>

#include <new>

namespace dcl {

const unsigned WORK_AREA_ALIGNMENT = alignof(void *) > alignof(uint32_t) ? alignof(void *)
                                                                         : alignof(uint32_t);

inline void *alignWorkArea(char *workBuf) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(workBuf);
  return workBuf + ((WORK_AREA_ALIGNMENT - address % WORK_AREA_ALIGNMENT) % WORK_AREA_ALIGNMENT);
}

}  // namespace dcl

#endif
