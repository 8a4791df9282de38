// Entry points of the decompression library "impborl.dll". impborl.def
// exports them undecorated as "_implode", "_explode" and "_crc32", with the
// C calling convention of the classic interface.
#include <windows.h>

#include "codec/dcl.h"

extern "C" {

// The library is linked without the C runtime's start-up code: it constructs
// no globals and keeps no thread-local data or exit handlers, so its entry
// point has nothing to do but accept every call.
BOOL WINAPI impborlEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

unsigned impborlImplode(dcl::ReadBuffer read, dcl::WriteBuffer write, char *workBuf, void *param,
                        unsigned *type, unsigned *dictSize) {
  return dcl::implode(read, write, workBuf, param, type, dictSize);
}

unsigned impborlExplode(dcl::ReadBuffer read, dcl::WriteBuffer write, char *workBuf, void *param) {
  return dcl::explode(read, write, workBuf, param);
}

unsigned long impborlCrc32(char *buffer, unsigned *size, unsigned long *oldCrc) {
  return dcl::crc32(buffer, size, oldCrc);
}
}
