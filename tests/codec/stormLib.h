// StormLib's implode and explode, which it exports without declaring them.
// Linked into native tests and the benchmark only, as a reference.
#ifndef SAVER_TESTS_CODEC_STORM_LIB_H
#define SAVER_TESTS_CODEC_STORM_LIB_H

// Its work structures hold pointers, so on 64-bit hosts they outgrow the
// classic 36312 and 12596 bytes; this is ample for both.
const unsigned STORM_WORK_SIZE = 65536;

extern "C" {
unsigned int implode(unsigned int (*readBuf)(char *, unsigned int *, void *),
                     void (*writeBuf)(char *, unsigned int *, void *), char *workBuf, void *param,
                     unsigned int *type, unsigned int *dictSize);
unsigned int explode(unsigned int (*readBuf)(char *, unsigned int *, void *),
                     void (*writeBuf)(char *, unsigned int *, void *), char *workBuf, void *param);
}

#endif
