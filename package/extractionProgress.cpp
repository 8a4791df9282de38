#include "package/extractionProgress.h"

#include "package/installerRun.h"

void setExtractionProgress(const ExtractionProgress &progress) { installerRun.progress = progress; }

void showExtractionStatus(const std::string &text) {
  if (installerRun.progress.showStatus != nullptr) installerRun.progress.showStatus(text);
}

void stepExtractionProgress() {
  if (installerRun.progress.stepProgress != nullptr) installerRun.progress.stepProgress();
}
