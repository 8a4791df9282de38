// The shortest implode stream (memoryCodec.h's implodeOptimal), read and
// written through the classic callbacks for inputs of any size.
#ifndef SAVER_CODEC_OPTIMAL_IMPLODE_H
#define SAVER_CODEC_OPTIMAL_IMPLODE_H

#include "codec/dcl.h"

namespace dcl {

// Compresses everything read delivers into write, both called with param.
// The input is read in blocks and only a window of it kept, so the memory
// does not grow with the input; a reader that reports the end early ends
// the stream there.
unsigned implodeOptimalStream(ReadBuffer read, WriteBuffer write, void *param, unsigned type,
                              unsigned dictSize);

}  // namespace dcl

#endif
