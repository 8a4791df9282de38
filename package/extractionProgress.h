// Progress of the extraction as the installer window shows it. The package
// operations only call these hooks; the window sets them, and until then (or
// in quiet mode) they do nothing. The hooks find the window themselves.
#ifndef SAVER_PACKAGE_EXTRACTION_PROGRESS_H
#define SAVER_PACKAGE_EXTRACTION_PROGRESS_H

#include <string>

struct ExtractionProgress {
  void (*showStatus)(const std::string &text);
  void (*stepProgress)();
};

void setExtractionProgress(const ExtractionProgress &progress);
void showExtractionStatus(const std::string &text);
void stepExtractionProgress();

#endif
