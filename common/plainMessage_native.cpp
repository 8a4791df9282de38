#include <cstdio>

#include "common/plainMessage.h"

void showPlainMessage(const std::string &text) { std::fprintf(stderr, "%s\n", text.c_str()); }
