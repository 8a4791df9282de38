// Implode/explode codec for the DCL stream format, with the classic
// callback interface: the caller supplies a reader, a writer and a work
// area; all coder state lives in the work area.
#ifndef SAVER_CODEC_DCL_H
#define SAVER_CODEC_DCL_H

namespace dcl {

// Both callbacks use the C calling convention. The reader copies up to
// *size bytes into buf and returns the count, 0 at the end of the input.
using ReadBuffer = unsigned (*)(char *buf, unsigned *size, void *param);
using WriteBuffer = void (*)(char *buf, unsigned *size, void *param);

const unsigned EXPLODE_WORK_SIZE = 12596;
const unsigned IMPLODE_WORK_SIZE = 36312;

// Literal modes (header byte 0).
const unsigned CMP_BINARY = 0;
const unsigned CMP_ASCII = 1;

// Results.
const unsigned CMP_NO_ERROR = 0;
const unsigned CMP_INVALID_DICTSIZE = 1;
const unsigned CMP_INVALID_MODE = 2;
const unsigned CMP_BAD_DATA = 3;
const unsigned CMP_ABORT = 4;

// Expands the stream delivered by read into write. Any malformed stream,
// including one without the end code, gives CMP_BAD_DATA.
unsigned explode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param);

// Compresses everything read delivers. *type is CMP_BINARY or CMP_ASCII,
// *dictSize is 1024, 2048 or 4096.
unsigned implode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param,
                 unsigned *type, unsigned *dictSize);

// Reflected CRC-32 update without inversion: the caller seeds with
// 0xFFFFFFFF and complements the final value.
unsigned long crc32(const char *buffer, const unsigned *size, const unsigned long *oldCrc);

}  // namespace dcl

#endif
