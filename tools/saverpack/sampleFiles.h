// The sample files that "saverpack init" writes, made here so that a new
// package source builds at once: pictures, licence, read-me and the small
// texts that fill the entries every package must carry.
#ifndef SAVER_TOOLS_SAVERPACK_SAMPLE_FILES_H
#define SAVER_TOOLS_SAVERPACK_SAMPLE_FILES_H

#include <cstdint>
#include <string>
#include <vector>

// A 24-bit bitmap file of width x height: soft bands of blue and green.
std::vector<uint8_t> sampleBitmap(int width, int height, uint8_t tint);

std::string sampleLicence(const std::string &saverName);
std::string sampleReadMe(const std::string &saverName);

// Stands in for the screen saver program until the maker puts theirs there;
// it says so in its text and does not run.
std::string placeholderSaverProgram(const std::string &saverName);

// A short text for one of the other carried files (about, credits, history).
std::string sampleNote(const std::string &title, const std::string &saverName);

#endif
