// Implode/explode codec for the DCL stream format, with the classic
// callback interface: the caller supplies a reader, a writer and a work
// area; all coder state lives in the work area. explode.cpp describes the
// stream format.
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
const unsigned CMP_BINARY = 0;  // a literal is sent as its 8 bits
const unsigned CMP_ASCII = 1;   // a literal is sent in a fixed code that favours text

// Results of implode and explode.
const unsigned CMP_NO_ERROR = 0;  // done: all input compressed, or the stream expanded to its end code
const unsigned CMP_INVALID_DICTSIZE = 1;  // implode: the dictionary size is not 1024, 2048 or 4096
const unsigned CMP_INVALID_MODE = 2;      // implode: the literal mode is neither CMP_BINARY nor CMP_ASCII
const unsigned CMP_BAD_DATA = 3;          // explode: the stream is malformed or ends before its end code

// Expands the stream delivered by read into write; an ASCII-mode stream
// takes 32 KiB of stack besides, for its decoding table. Any malformed stream,
// including one without the end code, gives CMP_BAD_DATA.
unsigned explode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param);

// Compresses everything read delivers. *type is CMP_BINARY or CMP_ASCII,
// *dictSize is 1024, 2048 or 4096.
unsigned implode(ReadBuffer read, WriteBuffer write, char *workBuf, void *param, unsigned *type,
                 unsigned *dictSize);

// Reflected CRC-32 update without inversion: the caller seeds with
// 0xFFFFFFFF and complements the final value.
unsigned long crc32(const char *buffer, const unsigned *size, const unsigned long *oldCrc);

}  // namespace dcl

#endif
