#include "package/extractionProgress.h"

static ExtractionProgress hooks = {nullptr, nullptr};

void setExtractionProgress(const ExtractionProgress &progress) { hooks = progress; }

void showExtractionStatus(const std::string &text) {
  if (hooks.showStatus != nullptr) hooks.showStatus(text);
}

void stepExtractionProgress() {
  if (hooks.stepProgress != nullptr) hooks.stepProgress();
}
